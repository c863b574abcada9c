#include "calibration/ui/CalAutoDeadZonePage.h"

#include "calibration/CalibrationFields.h"
#include "calibration/CalibrationPages.h"
#include "calibration/ui/CalPageParts.h"
#include "pages/ui/UiContext.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace halcyra {

CCalAutoDeadZonePage::CCalAutoDeadZonePage(CUiContext& context, QWidget* parent)
    : CHCPropertyPage(context, QString::fromLatin1(CalPageInfoOf(CalPage::AutoDeadZone).title),
                      QString::fromLatin1(CalPageInfoOf(CalPage::AutoDeadZone).heading), parent),
      cal_(context, Params())
{
    text_ = MakeInstructionLabel(this, "instruction", 2);
    Body()->addWidget(text_);

    auto* buttons = new QHBoxLayout;
    main_ = AddButton(QString(), "mainButton", [this] { cal_.PressMain(); });
    fine_ = AddButton(QStringLiteral("Start"), "fineButton", [this] { cal_.PressFine(); });
    buttons->addWidget(main_);
    buttons->addWidget(fine_);
    buttons->addStretch(1);
    Body()->addLayout(buttons);

    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("progress"));
    progress_->setRange(0, 100);
    progress_->setMaximumWidth(progress_->fontMetrics().averageCharWidth() * 56);
    // The bar keeps its room while hidden, so the fields below stay put.
    QSizePolicy keepRoom = progress_->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(true);
    progress_->setSizePolicy(keepRoom);
    Body()->addWidget(progress_);

    auto deadZonesShown = [this] { return cal_.Shown().deadZonesShown; };
    auto countShown = [this] { return cal_.Shown().countShown; };
    PageFields fields = DeadZoneFields(CFieldValue::ComputedText([this] { return cal_.DeadZoneLeftText(); }),
                                       CFieldValue::ComputedText([this] { return cal_.DeadZoneRightText(); }));
    for (FieldSpec& f : fields)
        f.VisibleWhen(deadZonesShown);
    fields.push_back(field::ReadOnly("count", "Count", CFieldValue::ComputedText([this] { return cal_.CountText(); }))
                         .VisibleWhen(countShown));
    DescribeFields(std::move(fields));
    NarrowFieldForm(Body());

    auto* reportRow = new QHBoxLayout;
    download_ = AddButton(QStringLiteral("Download Report"), "downloadReport", [this] { cal_.DownloadReport(); });
    reportRow->addWidget(download_);
    reportRow->addStretch(1);
    Body()->addLayout(reportRow);
    Body()->addStretch(1);

    cal_.onChanged = [this] { ShowState(); };
    ShowState();
}

void CCalAutoDeadZonePage::ShowState()
{
    const CAutoDeadZoneCal::View& view = cal_.Shown();
    text_->setText(Q(view.text));
    main_->setText(Q(view.mainText));
    main_->setVisible(view.mainShown);
    fine_->setText(Q(view.fineText));
    fine_->setVisible(view.fineShown);
    progress_->setValue(view.progress);
    progress_->setVisible(view.progressShown);
    download_->setVisible(cal_.DownloadReportShown());
    UpdateControls();
}

bool CCalAutoDeadZonePage::OnInitDialog()
{
    CHCPropertyPage::OnInitDialog();
    cal_.Init();
    return true;
}

bool CCalAutoDeadZonePage::OnSetActive()
{
    cal_.Show();
    return CHCPropertyPage::OnSetActive();
}

bool CCalAutoDeadZonePage::OnKillActive()
{
    cal_.Leave();
    if (!CHCPropertyPage::OnKillActive())
        return false;
    cal_.OfferReport();
    return true;
}

// Cancel does what leaving does: the measured dead zones are offered with
// "Save Changes?", whose Yes keeps them, not "Discard Changes?".
bool CCalAutoDeadZonePage::OnQueryCancel()
{
    cal_.Leave();
    Logic().OnLeave(Link());
    cal_.OfferReport();
    return true;
}

} // namespace halcyra
