#include "sim/GainTestFeature.h"

#include "link/MessageIds.h"
#include "sim/SimController.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace halcyra::sim {

using namespace wire::calibration;

namespace {

const TSimOption<std::uint32_t> kTurnMs{"gain-turn-ms", "MS", "1500", "time a steering gain test turn takes"};

} // namespace

std::vector<const CSimOption*> CGainTestFeature::Options() { return {&kTurnMs}; }

CGainTestFeature::CGainTestFeature(const SimSettings& settings) : turnTime_(kTurnMs.From(settings)) {}

float CGainTestFeature::SlewMs(float gain) { return 250.0f + 9000.0f / (std::max(gain, 0.0f) + 1.5f); }

float CGainTestFeature::OvershootPercent(float gain) { return std::max(0.0f, (gain - 6.0f) * 1.8f); }

void CGainTestFeature::Register(CSimController& sim)
{
    auto on = [&sim](std::uint8_t operation, Handler handler) {
        sim.On(wire::kCalibrationMsg, kGainTestSub, operation, std::move(handler));
    };
    on(kGainStatusOp, [this](CSimController&, const Request& r) { return Status(r); });
    on(kGainSetupOp, [this](CSimController&, const Request& r) { return Setup(r); });
    on(kGainBeginOp, [this](CSimController& s, const Request& r) -> std::optional<Bytes> {
        active_ = true;
        // The test starts from the gain the controller steers with.
        const std::string pgr = s.Params().Get("pgr").value_or("10");
        gain_ = 10;
        std::from_chars(pgr.data(), pgr.data() + pgr.size(), gain_);
        turnState_ = kTurnReady;
        turnEnds_.reset();
        return ReplyBuilder(r).Build();
    });
    on(kGainEndOp, [this](CSimController&, const Request& r) -> std::optional<Bytes> {
        active_ = false;
        turnState_ = kTurnNoState;
        turnEnds_.reset();
        return ReplyBuilder(r).Build();
    });
    on(kTurnLeftOp, [this](CSimController&, const Request& r) -> std::optional<Bytes> {
        Turn(kTurningLeft);
        return ReplyBuilder(r).Build();
    });
    on(kTurnRightOp, [this](CSimController&, const Request& r) -> std::optional<Bytes> {
        Turn(kTurningRight);
        return ReplyBuilder(r).Build();
    });
    on(kTurnStateOp, [this](CSimController&, const Request& r) -> std::optional<Bytes> {
        return ReplyBuilder(r).U8(turnState_).Build();
    });
}

std::optional<Bytes> CGainTestFeature::Status(const Request& r) const
{
    return ReplyBuilder(r).F32(gain_).F32(loopValue2_).F32(loopValue3_).F32(0).F32(0).F32(slewMs_).F32(overshoot_).Build();
}

std::optional<Bytes> CGainTestFeature::Setup(const Request& r)
{
    const Bytes payload = r.Payload();
    if (payload.size() != 12)
        return std::nullopt;
    gain_ = r.PayloadF32(0);
    loopValue2_ = r.PayloadF32(4);
    loopValue3_ = r.PayloadF32(8);
    return ReplyBuilder(r).Build();
}

void CGainTestFeature::Turn(std::uint8_t turning)
{
    // Only a begun test turns, and one turn at a time.
    if (!active_ || turnEnds_)
        return;
    turnState_ = turning;
    turnEnds_ = now_ + turnTime_;
}

void CGainTestFeature::Tick(Clock::time_point now)
{
    now_ = now;
    if (!turnEnds_ || now < *turnEnds_)
        return;
    turnEnds_.reset();
    ++turns_;
    slewMs_ = SlewMs(gain_);
    overshoot_ = OvershootPercent(gain_);
    turnState_ = kTurnDone;
}

} // namespace halcyra::sim
