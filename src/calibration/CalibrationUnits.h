#pragma once
// How the calibration pages show lengths in the display units: thousandths
// of metres and feet, hundredths of centimetres and inches.

#include "params/Param.h"

#include <array>
#include <string>

namespace halcyra {

// One printf format per display unit index (cm, m, in, ft).
inline const std::array<std::string, 4> kLengthFormats = {"%.2f", "%.3f", "%.2f", "%.3f"};

// value, in display units, as the unit index wants it ("%.3f" before units are known).
std::string LengthText(float value, const CUnitsParam& units);

} // namespace halcyra
