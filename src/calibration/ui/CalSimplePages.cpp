#include "calibration/ui/CalSimplePages.h"

#include "calibration/CalibrationFields.h"
#include "calibration/CalibrationPages.h"
#include "calibration/ui/CalPageParts.h"
#include "pages/ui/UiContext.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

namespace halcyra {

namespace {

void SetSlider(QSlider* slider, int minimum, int maximum, int position)
{
    const QSignalBlocker quiet(slider);
    slider->setRange(minimum, maximum);
    slider->setValue(position);
}

} // namespace

// ---------------------------------------------------------------- aggressiveness

CCalAggressivenessPage::CCalAggressivenessPage(CUiContext& context, QWidget* parent)
    : CHCPropertyPage(context, TitleOf(CalPage::Aggressiveness), HeadingOf(CalPage::Aggressiveness), parent),
      cal_(Params())
{
    slider_ = AddLowHighSlider(Body(), this, "aggressiveness");
    SetSlider(slider_, kAggressivenessLow, kAggressivenessHigh, cal_.Position());
    percent_ = new QLabel(this);
    percent_->setObjectName(QStringLiteral("percent"));
    percent_->setAlignment(Qt::AlignHCenter);
    Body()->addWidget(percent_);
    stability_ = MakeInstructionLabel(this, "stability", 2);
    Body()->addWidget(stability_);
    Body()->addStretch(1);
    connect(slider_, &QSlider::valueChanged, this, [this](int position) {
        cal_.MoveSlider(position);
        ShowState();
    });
    ShowState();
}

void CCalAggressivenessPage::OnBeforeRefresh()
{
    cal_.FromParams();
    ShowState();
}

void CCalAggressivenessPage::ShowState()
{
    SetSlider(slider_, kAggressivenessLow, kAggressivenessHigh, cal_.Position());
    percent_->setText(Q(cal_.PercentText()));
    stability_->setText(Q(cal_.StabilityText(Logic().units)));
}

// ---------------------------------------------------------------- antenna

CCalAntennaPosCorrPage::CCalAntennaPosCorrPage(CUiContext& context, QWidget* parent)
    : CHCPropertyPage(context, TitleOf(CalPage::AntennaPosCorr), HeadingOf(CalPage::AntennaPosCorr), parent),
      height_(&Params()), alx_("alx", &Params())
{
    setWindowTitle(QStringLiteral("Antenna Pos. Compensation"));
    DescribeFields(AntennaFields(height_, alx_));
    NarrowFieldForm(Body());
    Body()->addStretch(1);
}

// ---------------------------------------------------------------- roll

CCalRollCorrPage::CCalRollCorrPage(CUiContext& context, QWidget* parent)
    : CHCPropertyPage(context, TitleOf(CalPage::RollCorr), HeadingOf(CalPage::RollCorr), parent), roll_(Params())
{
    DescribeFields(RollFields(roll_));
    NarrowFieldForm(Body());
    Body()->addStretch(1);
}

bool CCalRollCorrPage::UpdateMembers()
{
    if (!CHCPropertyPage::UpdateMembers())
        return false;
    roll_.ToParams(Context().notifier);
    return true;
}

// ---------------------------------------------------------------- track spacing

CCalTrackSpacingPage::CCalTrackSpacingPage(CUiContext& context, QWidget* parent)
    : CHCPropertyPage(context, TitleOf(CalPage::TrackSpacing), HeadingOf(CalPage::TrackSpacing), parent),
      trw_("trw", &Params())
{
    DescribeFields(TrackSpacingFields(trw_));
    NarrowFieldForm(Body());
    Body()->addStretch(1);
}

// ---------------------------------------------------------------- manual override sensitivity

CCalManOverridePage::CCalManOverridePage(CUiContext& context, QWidget* parent)
    : CHCPropertyPage(context, TitleOf(CalPage::ManOverride), HeadingOf(CalPage::ManOverride), parent),
      sensitivity_(Params())
{
    slider_ = AddLowHighSlider(Body(), this, "sensitivity");
    value_ = new QLabel(this);
    value_->setObjectName(QStringLiteral("value"));
    value_->setAlignment(Qt::AlignHCenter);
    Body()->addWidget(value_);
    QLabel* warning = MakeInstructionLabel(this, "warning", 3);
    warning->setText(QString::fromLatin1(kOverrideWarningText));
    Body()->addWidget(warning);
    Body()->addStretch(1);
    connect(slider_, &QSlider::valueChanged, this, [this](int position) {
        sensitivity_.MoveSlider(position);
        ShowState();
    });
    ShowState();
}

bool CCalManOverridePage::OnInitDialog()
{
    CHCPropertyPage::OnInitDialog();
    sensitivity_.ReadScale(Link());
    sensitivity_.FromParams();
    ShowState();
    return true;
}

void CCalManOverridePage::OnBeforeRefresh()
{
    sensitivity_.FromParams();
    ShowState();
}

void CCalManOverridePage::ShowState()
{
    SetSlider(slider_, sensitivity_.Minimum(), sensitivity_.Maximum(), sensitivity_.Position());
    value_->setText(Q(sensitivity_.ValueText()));
}

// ---------------------------------------------------------------- orientation angles

CCalOrientationDirect::CCalOrientationDirect(CUiContext& context, QWidget* parent)
    : CHCPropertyPage(context, TitleOf(CalPage::OrientationDirect), HeadingOf(CalPage::OrientationDirect), parent),
      iay_("iay", &Params()), iap_("iap", &Params()), iar_("iar", &Params())
{
    DescribeFields(
        OrientationAngleFields(CFieldValue::Number(iay_), CFieldValue::Number(iap_), CFieldValue::Number(iar_)));
    NarrowFieldForm(Body());
    Body()->addStretch(1);
}

// ---------------------------------------------------------------- RPM sensor

CCalRPMSensor::CCalRPMSensor(CUiContext& context, QWidget* parent)
    : CHCPropertyPage(context, TitleOf(CalPage::RPMSensor), HeadingOf(CalPage::RPMSensor), parent),
      cal_(context, Params())
{
    instruction_ = MakeInstructionLabel(this, "instruction", 3);
    Body()->addWidget(instruction_);
    auto* form = new QFormLayout;
    rpm_ = new QLineEdit(this);
    rpm_->setObjectName(QStringLiteral("engineRpm"));
    rpm_->setMinimumWidth(rpm_->fontMetrics().averageCharWidth() * 10);
    form->addRow(QStringLiteral("Engine RPM:"), rpm_);
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    Body()->addLayout(form);
    button_ = AddButton(QString(), "stepButton", [this] { Press(); });
    auto* row = new QHBoxLayout;
    row->addWidget(button_);
    row->addStretch(1);
    Body()->addLayout(row);
    Body()->addStretch(1);
    cal_.onChanged = [this] { ShowState(); };
    ShowState();
}

void CCalRPMSensor::Press()
{
    if (cal_.RpmEditable()) {
        if (std::optional<std::string> refused = cal_.EnterRpm(rpm_->text().toStdString())) {
            Context().notifier.Notify(*refused, kAppTitle, MsgButtons::Ok, MsgIcon::Exclamation);
            rpm_->setFocus();
            return;
        }
    }
    cal_.Press();
}

void CCalRPMSensor::ShowState()
{
    instruction_->setText(QString::fromLatin1(cal_.Instruction()));
    button_->setText(QString::fromLatin1(cal_.ButtonText()));
    rpm_->setReadOnly(!cal_.RpmEditable());
    if (rpmShown_ != cal_.RpmMoved()) {
        rpmShown_ = cal_.RpmMoved();
        rpm_->setText(Q(cal_.RpmText()));
    }
}

bool CCalRPMSensor::OnInitDialog()
{
    CHCPropertyPage::OnInitDialog();
    cal_.Init();
    return true;
}

bool CCalRPMSensor::OnSetActive()
{
    cal_.Show();
    return CHCPropertyPage::OnSetActive();
}

bool CCalRPMSensor::OnKillActive()
{
    cal_.Leave();
    return CHCPropertyPage::OnKillActive();
}

} // namespace halcyra
