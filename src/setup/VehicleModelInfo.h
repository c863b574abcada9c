#pragma once
// The vehicle the controller is set up for: type, list index and model name.

#include <cstdint>
#include <string>

namespace halcyra {

class CControllerLink;

class CVehicleModelInfo {
public:
    // Gets "vtt", "vti" and "vms" in that order; stops at the first failure
    // and then changes nothing.
    bool Read(CControllerLink& link);

    std::uint32_t vehicleIndex = 0;
    std::uint32_t vehicleType = 0;
    std::string modelName = "Not Initialized";
};

} // namespace halcyra
