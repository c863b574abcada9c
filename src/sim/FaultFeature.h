#pragma once
// The fault table (message 71, sub-code 5): slot count, records,
// descriptions and clearing.

#include "sim/SimFeature.h"

#include <cstdint>
#include <string>
#include <vector>

namespace halcyra::sim {

struct FaultSlot {
    bool active = false;
    std::uint16_t count = 0;
    float data[3] = {};
    std::string description;
};
using FaultTable = std::vector<FaultSlot>;

// The "faults" option: the number of slots, then for each active slot
// ";SLOT,COUNT,DATA1,DATA2,DATA3,DESCRIPTION" (the description is the rest
// of the entry and may hold commas). "0" is an empty table.
bool ParseOptionValue(std::string_view text, FaultTable& table, std::string& why);

class CFaultFeature final : public CSimFeature {
public:
    static std::vector<const CSimOption*> Options();
    explicit CFaultFeature(const SimSettings& settings);
    void Register(CSimController& sim) override;

    FaultTable& Slots() { return slots_; }

private:
    FaultTable slots_;
};

} // namespace halcyra::sim
