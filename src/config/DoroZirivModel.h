#pragma once
// "DoroZiriv": which steering angle sensor is installed (a potentiometer or
// a DoroZiriv sensor), as far as the vehicle profile supports it, and how a
// DoroZiriv sensor is mounted.

#include "pages/PageFields.h"
#include "pages/PageLogic.h"
#include "params/Param.h"

#include <string>

namespace halcyra {

class CControllerLink;

inline constexpr const char* kDoroZirivInformation =
    "Before performing the Dead Zone and Steering Gain calibration routines, drive the vehicle around (in both "
    "forward and reverse) for about one minute. This will improve calibration accuracy.";

class CDoroZirivModel {
public:
    static constexpr std::uint32_t kPotentiometer = 0;
    static constexpr std::uint32_t kDoroZiriv = 1;

    explicit CDoroZirivModel(CPageLogic& logic);

    PageFields Fields();
    // After the parameters were fetched: what the profile supports ("gss")
    // decides the sensors offered, may force "sge" and sets the note.
    void ApplyProfileSupport();
    // The page base's leave step; then, when the controller has a DoroZiriv
    // sensor, both other inputs are set to ignored and the user is told how
    // to prepare the calibrations.
    void Leave(CControllerLink& link);

    CUIntParam supported;   // "gss": 1 both, 2 DoroZiriv only, else potentiometer only
    CUIntParam sensor;      // "sge"
    CUIntParam wheel;       // "swl": 0 right, 1 left
    CFloatParam wheelSpeed; // "sws"
    CUIntParam upsideDown;  // "gud"
    bool potentiometerAllowed = true;
    bool doroZirivAllowed = true;
    std::string note;

private:
    CPageLogic& logic_;
};

} // namespace halcyra
