#include "calibration/CalibrationUnits.h"

#include "link/Format.h"

namespace halcyra {

std::string LengthText(float value, const CUnitsParam& units)
{
    const std::string& format = kLengthFormats[units.HasFactor() ? units.UnitIndex() : 1];
    return Format(format.c_str(), static_cast<double>(value));
}

} // namespace halcyra
