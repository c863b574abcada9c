#include "diagnostics/ui/DiagPages.h"

namespace halcyra {

CHCDiagnosticsPropertyPage* MakeDiagPage(DiagPage page, CUiContext& context, QWidget* parent)
{
    switch (page) {
    case DiagPage::EngineSpeed:
        return new CDiagEngineSpeedPage(context, parent);
    case DiagPage::GearLeverAnalog:
        return new CDiagGearLeverIndicationAnalogPage(context, parent);
    case DiagPage::GearLeverDigital:
        return new CDiagGearLeverIndicationDigitalPage(context, parent);
    case DiagPage::LeftPumpPressure:
        return new CDiagLeftPumpPressureTransducerPage(context, parent);
    case DiagPage::RightPumpPressure:
        return new CDiagRightPumpPressureTransducerPage(context, parent);
    case DiagPage::ManualOverride:
        return new CDiagManualOverridePressureTransducerPage(context, parent);
    case DiagPage::SteeringAngle:
        return new CDiagSteeringAnglePage(context, parent);
    case DiagPage::SteeringAngleCan:
        return new CDiagSteeringAngleCANPage(context, parent);
    case DiagPage::WheelTransmissionSpeed:
        return new CDiagWheelTransmissionSpeedPage(context, parent);
    case DiagPage::NeutralSenseDigital:
        return new CDiagNeutralSenseDigitalPage(context, parent);
    case DiagPage::OutputBalanceVoltage:
        return new CDiagOutputBalanceVoltagePage(context, parent);
    case DiagPage::SteeringModuleFault:
        return new CDiagSteeringModuleFaultPage(context, parent);
    case DiagPage::VehicleDirectionCan:
        return new CDiagVehicleDirectionIndicationCANPage(context, parent);
    case DiagPage::OperatorPresentSwitch:
        return new CDiagOperatorPresentSwitchPage(context, parent);
    case DiagPage::RemoteEngageSwitch:
        return new CDiagRemoteEngageSwitchPage(context, parent);
    case DiagPage::VehicleDirection:
        return new CDiagVehicleDirectionIndicationPage(context, parent);
    }
    return nullptr;
}

} // namespace halcyra
