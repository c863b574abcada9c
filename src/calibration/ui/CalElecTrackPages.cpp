#include "calibration/ui/CalElecTrackPages.h"

#include "calibration/CalibrationFields.h"
#include "calibration/CalibrationPages.h"
#include "calibration/ui/CalPageParts.h"
#include "calibration/ui/TrackSteeringDialogs.h"
#include "pages/ui/UiContext.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace halcyra {

namespace {

QHBoxLayout* LeftRow(std::initializer_list<QWidget*> widgets)
{
    auto* row = new QHBoxLayout;
    for (QWidget* widget : widgets)
        row->addWidget(widget);
    row->addStretch(1);
    return row;
}

} // namespace

// ---------------------------------------------------------------- steering calibration

CCalElecTrackContentsPage::CCalElecTrackContentsPage(CUiContext& context, CalPage page, TrackVariant variant,
                                                     QWidget* parent)
    : CHCPropertyPage(context, TitleOf(page), HeadingOf(page), parent), chain_(context, variant)
{
    begin_ = AddButton(QStringLiteral("Begin  >>"), "begin", [this] {
        chain_.Run([this](TrackDialog dialog) { return RunTrackDialog(Context(), chain_, dialog, this); });
    });
    Body()->addLayout(LeftRow({begin_}));
    Body()->addStretch(1);
}

bool CCalElecTrackContentsPage::OnInitDialog()
{
    CHCPropertyPage::OnInitDialog();
    chain_.BeginCalibration();
    return true;
}

bool CCalElecTrackContentsPage::OnKillActive()
{
    chain_.EndCalibration();
    return CHCPropertyPage::OnKillActive();
}

// Cancelling the sheet ends the controller's steering calibration as well.
bool CCalElecTrackContentsPage::OnQueryCancel()
{
    chain_.EndCalibration();
    return CHCPropertyPage::OnQueryCancel();
}

CCalJDElecTrackContentsPage::CCalJDElecTrackContentsPage(CUiContext& context, QWidget* parent)
    : CCalElecTrackContentsPage(context, CalPage::JDElecTrackContents, TrackVariant::JD, parent)
{
}

CCalMTElecTrackContentsPage::CCalMTElecTrackContentsPage(CUiContext& context, QWidget* parent)
    : CCalElecTrackContentsPage(context, CalPage::MTElecTrackContents, TrackVariant::MT, parent)
{
}

// ---------------------------------------------------------------- manual override

CCalJDElecManualOverride::CCalJDElecManualOverride(CUiContext& context, QWidget* parent)
    : CHCPropertyPage(context, TitleOf(CalPage::JDElecManualOverride), HeadingOf(CalPage::JDElecManualOverride),
                      parent),
      cal_(context, Params())
{
    for (int i = 0; i < kOverrideLines; ++i) {
        lines_[i] = MakeInstructionLabel(this, "line", 1);
        lines_[i]->setObjectName(QStringLiteral("line%1").arg(i + 1));
        lines_[i]->setText(QString::fromLatin1(OverrideLine(i)));
        Body()->addWidget(lines_[i]);
    }
    DescribeFields({
        field::ReadOnly("testBias", "Test Bias:", CFieldValue::ComputedText([this] { return cal_.TestBiasText(); })),
        SavedBiasField(CFieldValue::ComputedText([this] { return cal_.SavedBiasText(); })),
    });
    NarrowFieldForm(Body());
    completed_ = new QLabel(QString::fromLatin1(kOverrideCompletedText), this);
    completed_->setObjectName(QStringLiteral("completed"));
    KeepRoomWhenHidden(completed_);
    Body()->addWidget(completed_);
    button_ = AddButton(QString(), "stepButton", [this] { cal_.Press(); });
    Body()->addLayout(LeftRow({button_}));
    Body()->addStretch(1);
    cal_.onChanged = [this] { ShowState(); };
    ShowState();
}

void CCalJDElecManualOverride::ShowState()
{
    for (int i = 0; i < kOverrideLines; ++i)
        lines_[i]->setEnabled(cal_.LineEnabled(i));
    completed_->setVisible(cal_.CompletedShown());
    button_->setText(QString::fromLatin1(cal_.ButtonText()));
    button_->setEnabled(cal_.ButtonEnabled());
    UpdateControls();
}

bool CCalJDElecManualOverride::OnInitDialog()
{
    CHCPropertyPage::OnInitDialog();
    cal_.Init();
    return true;
}

bool CCalJDElecManualOverride::OnSetActive()
{
    CHCPropertyPage::OnSetActive();
    cal_.Show();
    return true;
}

bool CCalJDElecManualOverride::OnKillActive()
{
    cal_.Leave();
    return CHCPropertyPage::OnKillActive();
}

bool CCalJDElecManualOverride::OnQueryCancel()
{
    cal_.Cancel();
    return CHCPropertyPage::OnQueryCancel();
}

// ---------------------------------------------------------------- JD interface

CCalJDx30TElecTrackContentsPage::CCalJDx30TElecTrackContentsPage(CUiContext& context, QWidget* parent)
    : CHCPropertyPage(context, TitleOf(CalPage::JDx30TElecTrackContents), HeadingOf(CalPage::JDx30TElecTrackContents),
                      parent),
      cal_(context)
{
    status_ = MakeInstructionLabel(this, "status", 2);
    Body()->addWidget(status_);
    button_ = AddButton(QString(), "runButton", [this] { cal_.Press(); });
    Body()->addLayout(LeftRow({button_}));
    Body()->addStretch(1);
    cal_.onChanged = [this] { ShowState(); };
    ShowState();
}

void CCalJDx30TElecTrackContentsPage::ShowState()
{
    status_->setText(Q(cal_.StatusText()));
    button_->setText(Q(cal_.ButtonText()));
}

bool CCalJDx30TElecTrackContentsPage::OnSetActive()
{
    cal_.Show();
    return CHCPropertyPage::OnSetActive();
}

bool CCalJDx30TElecTrackContentsPage::OnKillActive()
{
    cal_.Leave();
    return CHCPropertyPage::OnKillActive();
}

bool CCalJDx30TElecTrackContentsPage::OnQueryCancel()
{
    cal_.Cancel();
    return CHCPropertyPage::OnQueryCancel();
}

} // namespace halcyra
