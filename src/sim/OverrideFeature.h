#pragma once
// The manual override test (message 0x4A, sub-code 0x0A): a run waits for
// the wheel to be released, measures for a while and finishes with a test
// bias a little different each time; the saved bias is ovb.

#include "sim/SimFeature.h"

#include <cstdint>
#include <optional>

namespace halcyra::sim {

class COverrideFeature final : public CSimFeature {
public:
    static constexpr std::chrono::milliseconds kReleaseTime{1000};
    static constexpr std::chrono::milliseconds kMeasureTime{2000};

    static std::vector<const CSimOption*> Options() { return {}; }
    explicit COverrideFeature(const SimSettings&) {}
    void Register(CSimController& sim) override;
    void Tick(Clock::time_point now) override;

    bool Active() const { return active_; }
    std::uint32_t State() const { return state_; }
    float TestBias() const { return testBias_; }
    int Runs() const { return runs_; }

private:
    Clock::time_point now_{};
    bool active_ = false;
    std::optional<Clock::time_point> runStarted_;
    std::uint32_t state_ = 0;
    float testBias_ = 0;
    int runs_ = 0;
};

} // namespace halcyra::sim
