#pragma once
// The RTK radio as the controller reports it: its status travels in the
// network parameter ("rnie" with newer firmware, "rni" with older). A radio
// that is slow to answer reads "cannot connect" for a number of gets.

#include "sim/SimFeature.h"

#include <cstdint>

namespace halcyra::sim {

class CRadioFeature final : public CSimFeature {
public:
    static std::vector<const CSimOption*> Options();
    explicit CRadioFeature(const SimSettings& settings);
    void Register(CSimController& sim) override;

    std::uint32_t BusyGetsLeft() const { return busyGetsLeft_; }

private:
    std::uint32_t busyGetsLeft_;
};

} // namespace halcyra::sim
