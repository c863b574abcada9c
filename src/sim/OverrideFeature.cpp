#include "sim/OverrideFeature.h"

#include "link/MessageIds.h"
#include "sim/SimController.h"

#include <cmath>

namespace halcyra::sim {

using namespace wire::calibration;

void COverrideFeature::Register(CSimController& sim)
{
    auto on = [&sim](std::uint8_t operation, Handler handler) {
        sim.On(wire::kCalibrationMsg, kOverrideSub, operation, std::move(handler));
    };
    on(kOverrideBeginOp, [this](CSimController&, const Request& r) -> std::optional<Bytes> {
        active_ = true;
        return ReplyBuilder(r).Build();
    });
    on(kOverrideEndOp, [this](CSimController&, const Request& r) -> std::optional<Bytes> {
        active_ = false;
        runStarted_.reset();
        if (state_ != kOverrideFinished)
            state_ = 0;
        return ReplyBuilder(r).Build();
    });
    on(kOverrideRunOp, [this](CSimController&, const Request& r) -> std::optional<Bytes> {
        if (active_ && !runStarted_) {
            runStarted_ = now_;
            state_ = kOverrideReleasing;
        }
        return ReplyBuilder(r).Build();
    });
    on(kOverrideStatusOp, [this](CSimController& s, const Request& r) -> std::optional<Bytes> {
        return ReplyBuilder(r).F32(s.Params().Decimal("ovb")).F32(testBias_).U32(state_).Build();
    });
}

void COverrideFeature::Tick(Clock::time_point now)
{
    now_ = now;
    if (!runStarted_)
        return;
    const auto running = now - *runStarted_;
    if (running < kReleaseTime) {
        state_ = kOverrideReleasing;
    } else if (running < kReleaseTime + kMeasureTime) {
        state_ = kOverrideMeasuring;
    } else {
        runStarted_.reset();
        ++runs_;
        // Each run measures a little differently.
        testBias_ = 0.47f + 0.04f * static_cast<float>(std::fmod(runs_ * 0.618034, 1.0) - 0.5);
        state_ = kOverrideFinished;
    }
}

} // namespace halcyra::sim
