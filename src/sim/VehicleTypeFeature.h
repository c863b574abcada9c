#pragma once
// Which vehicle the simulated controller steers and how the controller is
// mounted: the options set the built-in setup's vehicle type (vtt, vlt, vms
// and what that vehicle's calibrations start from) and the mounting angles
// (iay, iap, iar), so each vehicle's calibration pages can be seen. --set
// and --setup come after them.

#include "sim/SimFeature.h"

#include <string>

namespace halcyra::sim {

// The "mounting" option: yaw, pitch and roll in degrees.
struct MountingAngles {
    double yaw = 0, pitch = 0, roll = 0;
};
bool ParseOptionValue(std::string_view text, MountingAngles& value, std::string& why);

class CVehicleTypeFeature final : public CSimFeature {
public:
    static std::vector<const CSimOption*> Options();
    explicit CVehicleTypeFeature(const SimSettings& settings);
    void Register(CSimController& sim) override;

    // The vehicle names the option takes, in order.
    static const std::vector<std::string>& VehicleNames();

private:
    std::string vehicle_;
    MountingAngles mounting_;
};

} // namespace halcyra::sim
