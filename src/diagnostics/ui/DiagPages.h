#pragma once
// The sixteen diagnostics pages. Each is its row of data over the one
// diagnostics page class; the classes only give the rows their names.

#include "diagnostics/ui/HCDiagnosticsPropertyPage.h"

namespace halcyra {

template <DiagPage Page> class TDiagPage : public CHCDiagnosticsPropertyPage {
public:
    explicit TDiagPage(CUiContext& context, QWidget* parent = nullptr)
        : CHCDiagnosticsPropertyPage(context, Page, parent)
    {
    }
};

// clang-format off
class CDiagEngineSpeedPage final : public TDiagPage<DiagPage::EngineSpeed> { using TDiagPage::TDiagPage; };
class CDiagGearLeverIndicationAnalogPage final : public TDiagPage<DiagPage::GearLeverAnalog> { using TDiagPage::TDiagPage; };
class CDiagGearLeverIndicationDigitalPage final : public TDiagPage<DiagPage::GearLeverDigital> { using TDiagPage::TDiagPage; };
class CDiagLeftPumpPressureTransducerPage final : public TDiagPage<DiagPage::LeftPumpPressure> { using TDiagPage::TDiagPage; };
class CDiagRightPumpPressureTransducerPage final : public TDiagPage<DiagPage::RightPumpPressure> { using TDiagPage::TDiagPage; };
class CDiagManualOverridePressureTransducerPage final : public TDiagPage<DiagPage::ManualOverride> { using TDiagPage::TDiagPage; };
class CDiagSteeringAnglePage final : public TDiagPage<DiagPage::SteeringAngle> { using TDiagPage::TDiagPage; };
class CDiagSteeringAngleCANPage final : public TDiagPage<DiagPage::SteeringAngleCan> { using TDiagPage::TDiagPage; };
class CDiagWheelTransmissionSpeedPage final : public TDiagPage<DiagPage::WheelTransmissionSpeed> { using TDiagPage::TDiagPage; };
class CDiagNeutralSenseDigitalPage final : public TDiagPage<DiagPage::NeutralSenseDigital> { using TDiagPage::TDiagPage; };
class CDiagOutputBalanceVoltagePage final : public TDiagPage<DiagPage::OutputBalanceVoltage> { using TDiagPage::TDiagPage; };
class CDiagSteeringModuleFaultPage final : public TDiagPage<DiagPage::SteeringModuleFault> { using TDiagPage::TDiagPage; };
class CDiagVehicleDirectionIndicationCANPage final : public TDiagPage<DiagPage::VehicleDirectionCan> { using TDiagPage::TDiagPage; };
class CDiagOperatorPresentSwitchPage final : public TDiagPage<DiagPage::OperatorPresentSwitch> { using TDiagPage::TDiagPage; };
class CDiagRemoteEngageSwitchPage final : public TDiagPage<DiagPage::RemoteEngageSwitch> { using TDiagPage::TDiagPage; };
class CDiagVehicleDirectionIndicationPage final : public TDiagPage<DiagPage::VehicleDirection> { using TDiagPage::TDiagPage; };
// clang-format on

// A new page of the class that shows that row.
CHCDiagnosticsPropertyPage* MakeDiagPage(DiagPage page, CUiContext& context, QWidget* parent = nullptr);

} // namespace halcyra
