#pragma once
// Controller status and restart (message 70).

#include "sim/SimFeature.h"

#include <optional>

namespace halcyra::sim {

class CStatusFeature final : public CSimFeature {
public:
    static std::vector<const CSimOption*> Options() { return {}; }
    explicit CStatusFeature(const SimSettings&) {}
    void Register(CSimController& sim) override;
    void Tick(Clock::time_point now) override;

    // Time running since power-up (the first tick) or since the last
    // restart ended, as of the last tick; zero while restarting.
    Clock::duration Uptime() const;

private:
    std::optional<Clock::time_point> runningSince_;
    Clock::time_point lastTick_{};
};

} // namespace halcyra::sim
