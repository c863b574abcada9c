#pragma once
// The controller's vehicle list (message 71, sub-code 20): its length, its
// entries and the selection of one, which takes effect when the controller
// restarts. A vehicle profile uploaded into the setup block marks the model
// as one from a profile ("xvp" 1).

#include "sim/SimFeature.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace halcyra::sim {

struct VehicleEntry {
    std::uint32_t type = 0; // "vtt" once selected
    std::string name;       // at most 16 characters; empty entries are not vehicles
};
// The "vehicles" option: "TYPE,NAME;TYPE,NAME;..." in list order.
struct VehicleList {
    std::vector<VehicleEntry> entries;
};
bool ParseOptionValue(std::string_view text, VehicleList& value, std::string& why);

class CVehicleFeature final : public CSimFeature {
public:
    static std::vector<const CSimOption*> Options();
    explicit CVehicleFeature(const SimSettings& settings);
    void Register(CSimController& sim) override;
    void Tick(Clock::time_point now) override;

    const std::vector<VehicleEntry>& Entries() const { return list_.entries; }
    // The selection waiting for the restart.
    std::optional<std::uint16_t> PendingSelection() const { return pending_; }

private:
    void ApplySelection(std::uint16_t index);

    VehicleList list_;
    bool keepVehicle_;
    CSimController* sim_ = nullptr;
    std::optional<std::uint16_t> pending_;
    std::uint64_t restartsSeen_ = 0;
    std::uint32_t setupUploadsSeen_ = 0;
};

} // namespace halcyra::sim
