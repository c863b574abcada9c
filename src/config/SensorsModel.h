#pragma once
// "Sensors Configuration": whether the wheel speed / neutral sense input and
// the gear lever input are used. With a DoroZiriv steering angle sensor
// both are ignored.

#include "pages/PageFields.h"
#include "pages/PageLogic.h"
#include "params/Param.h"

#include <string>

namespace halcyra {

class CControllerLink;

inline constexpr const char* kSensorsExplanation =
    "When the box is checked, the corresponding sensor input is used by the system.  If the box is not checked the "
    "sensor input is ignored and other algorithms are used instead.";
inline constexpr const char* kSensorsDoroZirivExplanation =
    "Both the Gear Lever and Wheel Speed/Neutral Sense inputs are disabled when DoroZiriv is selected as the "
    "Steering Angle Sensor. When DoroZiriv is enabled, these inputs are not required.";

class CSensorsModel {
public:
    explicit CSensorsModel(CPageLogic& logic);

    PageFields Fields();
    // Activation, before the parameters are fetched: asks "sge"; with a
    // DoroZiriv sensor the inputs are locked.
    void BeforeActivation(CControllerLink& link);
    // While locked both inputs are ignored (1).
    void Rules();

    CByteParam wheelSpeedIgnored; // "lso": 1 ignored
    CByteParam gearLeverIgnored;  // "vde": 1 ignored
    bool locked = false;
    std::string explanation = kSensorsExplanation;
};

} // namespace halcyra
