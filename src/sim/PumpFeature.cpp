#include "sim/PumpFeature.h"

#include "link/MessageIds.h"
#include "sim/SimController.h"

#include <algorithm>
#include <cmath>

namespace halcyra::sim {

using namespace wire::calibration;

namespace {

constexpr float kRatePerKnee = 1.5f; // deg/s per knee above the true one
constexpr std::chrono::milliseconds kTurnBuildUp{1000};

} // namespace

std::uint32_t CPumpFeature::RiseMs(float gain, bool left)
{
    const float ms = 40.0f + 700.0f / (std::max(gain, 0.0f) + 2.0f);
    return static_cast<std::uint32_t>(left ? ms * 1.08f : ms);
}

float CPumpFeature::OvershootPercent(float gain, bool left)
{
    return std::max(0.0f, (gain - 5.0f) * 1.6f) + (left ? 0.5f : 0.0f);
}

float CPumpFeature::TurnRate(float knee, bool left)
{
    return std::max(0.0f, knee - (left ? kTrueLeftKnee : kTrueRightKnee)) * kRatePerKnee;
}

void CPumpFeature::Register(CSimController& sim)
{
    sim_ = &sim;
    auto knee = [&sim](std::uint8_t operation, Handler handler) {
        sim.On(wire::kCalibrationMsg, kPumpKneeSub, operation, std::move(handler));
    };
    auto response = [&sim](std::uint8_t operation, Handler handler) {
        sim.On(wire::kCalibrationMsg, kPumpResponseSub, operation, std::move(handler));
    };
    auto done = [](const Request& r) -> std::optional<Bytes> { return ReplyBuilder(r).Build(); };

    knee(kKneeBeginOp, [this, done](CSimController& s, const Request& r) {
        kneeActive_ = true;
        leftKnee_ = s.Params().Decimal("dk1");
        rightKnee_ = s.Params().Decimal("dk0");
        turn_.reset();
        return done(r);
    });
    knee(kKneeEndOp, [this, done](CSimController&, const Request& r) {
        kneeActive_ = false;
        turn_.reset();
        gyroEnds_.reset();
        return done(r);
    });
    knee(kKneeGyroBiasOp, [this, done](CSimController&, const Request& r) {
        gyroEnds_ = now_ + kGyroTime;
        return done(r);
    });
    knee(kKneeSetOp, [this](CSimController&, const Request& r) -> std::optional<Bytes> {
        if (r.Payload().size() != 8)
            return std::nullopt;
        leftKnee_ = r.PayloadF32(0);
        rightKnee_ = r.PayloadF32(4);
        return ReplyBuilder(r).Build();
    });
    knee(kKneeStatusOp, [this](CSimController&, const Request& r) -> std::optional<Bytes> {
        return ReplyBuilder(r).U8(KneeState()).F32(0).F32(LiveTurnRate()).F32(0).Build();
    });
    knee(kKneeTurnRightOp, [this, done](CSimController&, const Request& r) {
        KneeTurn(false);
        return done(r);
    });
    knee(kKneeTurnLeftOp, [this, done](CSimController&, const Request& r) {
        KneeTurn(true);
        return done(r);
    });

    response(kResponseBeginOp, [this, done](CSimController& s, const Request& r) {
        responseActive_ = true;
        leftGain_ = s.Params().Decimal("igl", 1);
        rightGain_ = s.Params().Decimal("igr", 1);
        responseState_ = kResponseReady;
        return done(r);
    });
    response(kResponseEndOp, [this, done](CSimController&, const Request& r) {
        responseActive_ = false;
        responseStarted_.reset();
        responseState_ = 0;
        return done(r);
    });
    response(kResponseSetGainsOp, [this](CSimController&, const Request& r) -> std::optional<Bytes> {
        if (r.Payload().size() != 8)
            return std::nullopt;
        rightGain_ = r.PayloadF32(0);
        leftGain_ = r.PayloadF32(4);
        return ReplyBuilder(r).F32(rightGain_).F32(leftGain_).Build();
    });
    response(kResponseTestOp, [this, done](CSimController&, const Request& r) {
        // Only a begun calibration tests, and one test at a time.
        if (responseActive_ && !responseStarted_) {
            responseStarted_ = now_;
            responseState_ = kResponseRising;
            riseMs_[0] = riseMs_[1] = 0;
            overshoot_[0] = overshoot_[1] = 0;
        }
        return done(r);
    });
    response(kResponseStatusOp, [this](CSimController&, const Request& r) -> std::optional<Bytes> {
        return ReplyBuilder(r)
            .U8(responseState_)
            .U32(riseMs_[0])
            .F32(overshoot_[0])
            .F32(0)
            .U32(riseMs_[1])
            .F32(overshoot_[1])
            .F32(0)
            .Build();
    });
}

std::uint8_t CPumpFeature::KneeState() const
{
    if (gyroEnds_)
        return kKneeGyroComputing;
    if (turn_)
        return turn_->left ? kKneeTurningLeft : kKneeTurningRight;
    return kneeActive_ ? kKneeReady : 0;
}

void CPumpFeature::KneeTurn(bool left)
{
    if (turn_) {
        // A turn's own message stops it; the other side's waits.
        if (turn_->left == left)
            turn_.reset();
        return;
    }
    if (kneeActive_ && !gyroEnds_)
        turn_ = Turn{left, now_};
}

float CPumpFeature::LiveTurnRate() const
{
    if (!turn_)
        return 0;
    const double built = std::min(1.0, std::chrono::duration<double>(now_ - turn_->started) / kTurnBuildUp);
    const float rate = TurnRate(turn_->left ? leftKnee_ : rightKnee_, turn_->left);
    return (turn_->left ? -rate : rate) * static_cast<float>(built);
}

void CPumpFeature::Tick(Clock::time_point now)
{
    now_ = now;
    if (gyroEnds_ && now >= *gyroEnds_)
        gyroEnds_.reset();
    if (!responseStarted_)
        return;
    const auto running = now - *responseStarted_;
    if (running < kResponseTime / 2) {
        responseState_ = kResponseRising;
    } else if (running < kResponseTime) {
        responseState_ = kResponseSettling;
    } else {
        responseStarted_.reset();
        ++responseTests_;
        responseState_ = kResponseReady;
        riseMs_[0] = RiseMs(rightGain_, false);
        riseMs_[1] = RiseMs(leftGain_, true);
        overshoot_[0] = OvershootPercent(rightGain_, false);
        overshoot_[1] = OvershootPercent(leftGain_, true);
    }
}

} // namespace halcyra::sim
