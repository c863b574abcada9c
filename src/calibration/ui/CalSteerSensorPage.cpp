#include "calibration/ui/CalSteerSensorPage.h"

#include "calibration/CalibrationFields.h"
#include "calibration/CalibrationPages.h"
#include "calibration/ui/CalPageParts.h"
#include "pages/ui/UiContext.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace halcyra {

namespace {

PageFields SensorFields(const std::string& volts, const std::string& angle, std::function<bool()> angleShown)
{
    return SteerSensorFields(CFieldValue::ComputedText([&volts] { return volts; }),
                             CFieldValue::ComputedText([&angle] { return angle; }), std::move(angleShown));
}

} // namespace

// ---------------------------------------------------------------- steering sensor

CCalSteerSensorPage::CCalSteerSensorPage(CUiContext& context, QWidget* parent)
    : CHCPropertyPage(context, TitleOf(CalPage::SteerSensor), HeadingOf(CalPage::SteerSensor), parent), cal_(context)
{
    instruction_ = MakeInstructionLabel(this, "instruction", 2);
    Body()->addWidget(instruction_);
    auto* row = new QHBoxLayout;
    button_ = AddButton(QString(), "stepButton", [this] { cal_.Press(); });
    row->addWidget(button_);
    row->addStretch(1);
    Body()->addLayout(row);
    DescribeFields(SensorFields(cal_.VoltsText(), cal_.AngleText(), [this] { return cal_.AngleShown(); }));
    NarrowFieldForm(Body());
    warning_ = MakeInstructionLabel(this, "warning", 2);
    warning_->setText(QString::fromLatin1(kSensorRangeWarning));
    KeepRoomWhenHidden(warning_);
    Body()->addWidget(warning_);
    Body()->addStretch(1);
    cal_.onChanged = [this] { ShowState(); };
    ShowState();
}

void CCalSteerSensorPage::ShowState()
{
    instruction_->setText(QString::fromLatin1(cal_.Instruction()));
    button_->setText(QString::fromLatin1(cal_.ButtonText()));
    warning_->setVisible(cal_.WarningShown());
    UpdateControls();
}

bool CCalSteerSensorPage::OnInitDialog()
{
    CHCPropertyPage::OnInitDialog();
    cal_.Init();
    return true;
}

bool CCalSteerSensorPage::OnSetActive()
{
    cal_.Show();
    return CHCPropertyPage::OnSetActive();
}

bool CCalSteerSensorPage::OnKillActive()
{
    cal_.Leave();
    return CHCPropertyPage::OnKillActive();
}

// ---------------------------------------------------------------- implement steering sensor

CCalImplSteerSensorPage::CCalImplSteerSensorPage(CUiContext& context, QWidget* parent)
    : CHCPropertyPage(context, TitleOf(CalPage::ImplSteerSensor), HeadingOf(CalPage::ImplSteerSensor), parent),
      cal_(context)
{
    setWindowTitle(QStringLiteral("Implement Steering Sensor"));
    status_ = MakeInstructionLabel(this, "status", 2);
    Body()->addWidget(status_);
    auto* row = new QHBoxLayout;
    start_ = AddButton(QStringLiteral("&Start"), "start", [this] { cal_.Start(); });
    stop_ = AddButton(QStringLiteral("&Stop"), "stop", [this] { cal_.Stop(); });
    row->addWidget(start_);
    row->addWidget(stop_);
    row->addStretch(1);
    Body()->addLayout(row);
    DescribeFields(SensorFields(cal_.VoltsText(), cal_.AngleText(), {}));
    NarrowFieldForm(Body());
    Body()->addStretch(1);
    cal_.onChanged = [this] { ShowState(); };
    ShowState();
}

void CCalImplSteerSensorPage::ShowState()
{
    status_->setText(Q(cal_.StatusText()));
    start_->setEnabled(cal_.StartEnabled());
    stop_->setEnabled(cal_.StopEnabled());
    UpdateControls();
}

bool CCalImplSteerSensorPage::OnInitDialog()
{
    CHCPropertyPage::OnInitDialog();
    cal_.Init();
    return true;
}

bool CCalImplSteerSensorPage::OnSetActive()
{
    cal_.Show();
    return CHCPropertyPage::OnSetActive();
}

bool CCalImplSteerSensorPage::OnKillActive()
{
    cal_.Leave();
    return CHCPropertyPage::OnKillActive();
}

bool CCalImplSteerSensorPage::OnQueryCancel()
{
    cal_.Cancel();
    return CHCPropertyPage::OnQueryCancel();
}

} // namespace halcyra
