// Controller status and restart.

#include "link/MessageIds.h"
#include "sim/SimController.h"

namespace halcyra::sim {

void RegisterStatusHandlers(CSimController& sim)
{
    // Status: a running controller answers state 1, no sub-state.
    sim.On(wire::kControllerMsg, wire::controller::kSub, wire::controller::kStatusOp, [](CSimController&, const Request& r) -> std::optional<Bytes> {
        return ReplyBuilder(r).U8(1).U8(0).Build();
    });
    // Reset: no answer; the controller restarts and is silent meanwhile.
    sim.On(wire::kControllerMsg, wire::controller::kSub, wire::controller::kResetOp, [](CSimController& s, const Request&) -> std::optional<Bytes> {
        s.BeginRestart();
        return std::nullopt;
    });
}

} // namespace halcyra::sim
