#include "sim/StatusFeature.h"

#include "link/MessageIds.h"
#include "sim/SimController.h"

namespace halcyra::sim {

void CStatusFeature::Register(CSimController& sim)
{
    // Status: a running controller answers state 1, no sub-state.
    sim.On(wire::kControllerMsg, wire::controller::kSub, wire::controller::kStatusOp, [](CSimController&, const Request& r) -> std::optional<Bytes> {
        return ReplyBuilder(r).U8(1).U8(0).Build();
    });
    // Reset: no answer; the controller restarts and is silent meanwhile.
    sim.On(wire::kControllerMsg, wire::controller::kSub, wire::controller::kResetOp, [this](CSimController& s, const Request&) -> std::optional<Bytes> {
        s.BeginRestart();
        runningSince_ = s.RestartEnds();
        return std::nullopt;
    });
}

void CStatusFeature::Tick(Clock::time_point now)
{
    if (!runningSince_)
        runningSince_ = now;
    lastTick_ = now;
}

Clock::duration CStatusFeature::Uptime() const
{
    if (!runningSince_ || lastTick_ < *runningSince_)
        return Clock::duration::zero();
    return lastTick_ - *runningSince_;
}

} // namespace halcyra::sim
