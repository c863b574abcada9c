#include "sim/TrackSteeringFeature.h"

#include "link/MessageIds.h"
#include "sim/SimController.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace halcyra::sim {

using namespace wire::calibration;

namespace {

constexpr float kBaseRate = 0.5f;      // deg/s of a balanced test turn
constexpr float kRatePerBias = 4.0f;   // share of the base rate per unit of bias off balance
constexpr float kUsualDeadband = 0.06f;
constexpr float kHalfFillSpacing = 2.1f; // m: the spacing that fills the bars half way
constexpr float kBalanceLimit = 0.05f;
constexpr float kBarMaximum = 1.0f;
// The engine speed sensor's true scale: sfm 1 reads this much low.
constexpr float kTrueEngineFactor = 1.08f;

} // namespace

void CTrackSteeringFeature::Register(CSimController& sim)
{
    sim_ = &sim;
    auto on = [&sim](std::uint8_t operation, Handler handler) {
        sim.On(wire::kCalibrationMsg, kTrackSteeringSub, operation, std::move(handler));
    };
    auto plain = [&on](std::uint8_t operation, auto action) {
        on(operation, [action](CSimController&, const Request& r) -> std::optional<Bytes> {
            action();
            return ReplyBuilder(r).Build();
        });
    };
    plain(kTrackBeginOp, [this] {
        active_ = true;
        test_ = Test::None;
        bias_ = sim_->Params().Decimal("k0e", kBalancedBias);
    });
    plain(kTrackEndOp, [this] {
        active_ = false;
        test_ = Test::None;
        turn_.reset();
    });
    on(kTrackSetBiasOp, [this](CSimController&, const Request& r) -> std::optional<Bytes> {
        if (r.Payload().size() != 4)
            return std::nullopt;
        bias_ = r.PayloadF32(0);
        return ReplyBuilder(r).F32(bias_).Build();
    });
    for (const bool left : {false, true})
        plain(left ? kTrackTurnLeftOp : kTrackTurnRightOp, [this, left] {
            // One test turn at a time, in a calibration begun, once the gyro is known.
            if (active_ && !turn_ && !gyroEnds_)
                turn_ = Turn{left, now_, PeakRate(left)};
        });
    on(kTrackStatusOp, [this](CSimController& s, const Request& r) -> std::optional<Bytes> {
        const float balance = lastPeak_[0] - lastPeak_[1];
        const float rpm = EngineReading(now_, s.Params().Decimal("sfm", 1));
        return ReplyBuilder(r)
            .U8(State())
            .F32(balance)
            .F32(rpm)
            .F32(LiveRate(false))
            .F32(-LiveRate(true))
            .F32(0)
            .F32(0)
            .F32(bias_)
            .Build();
    });
    plain(kTrackGyroBiasOp, [this] { gyroEnds_ = now_ + kGyroTime; });
    plain(kTrackJDBiasTestOp, [this] { StartTest(Test::JDBias); });
    plain(kTrackMTBiasTestOp, [this] { StartTest(Test::MTBias); });
    plain(kTrackSpacingTestOp, [this] { StartTest(Test::TrackSpacing); });
    on(kTrackLimitsOp, [](CSimController&, const Request& r) -> std::optional<Bytes> {
        return ReplyBuilder(r).F32(-kBalanceLimit).F32(kBalanceLimit).F32(0).F32(kBarMaximum).Build();
    });
}

void CTrackSteeringFeature::StartTest(Test test)
{
    test_ = test;
    turn_.reset();
    lastPeak_[0] = lastPeak_[1] = 0;
}

std::uint8_t CTrackSteeringFeature::State() const
{
    if (gyroEnds_)
        return kTrackGyroComputing;
    if (turn_)
        return turn_->left ? kTrackTurningLeft : kTrackTurningRight;
    return kTrackReady;
}

float CTrackSteeringFeature::PeakRate(bool left) const
{
    if (test_ == Test::TrackSpacing)
        return kBaseRate * sim_->Params().Decimal("trw", kHalfFillSpacing) / kHalfFillSpacing;
    // A higher bias turns left faster and right slower.
    const float off = (bias_ - kBalancedBias) * kRatePerBias;
    float rate = kBaseRate * (1 + (left ? off : -off));
    if (test_ == Test::MTBias)
        rate *= sim_->Params().Decimal("dk0", kUsualDeadband) / kUsualDeadband;
    return std::max(0.0f, rate);
}

float CTrackSteeringFeature::LiveRate(bool left) const
{
    if (!turn_ || turn_->left != left)
        return 0;
    const double share = std::chrono::duration<double>(now_ - turn_->started) / kTurnTime;
    return turn_->peak * static_cast<float>(std::sin(std::numbers::pi * std::clamp(share, 0.0, 1.0)));
}

float CTrackSteeringFeature::TrueEngineRpm(Clock::time_point now)
{
    // The throttle goes up and down over 20 s.
    const double seconds = std::chrono::duration<double>(now.time_since_epoch()).count();
    return 1500.0f + 400.0f * static_cast<float>(std::sin(2 * std::numbers::pi * seconds / 20.0));
}

float CTrackSteeringFeature::EngineReading(Clock::time_point now, float sfm)
{
    return TrueEngineRpm(now) / kTrueEngineFactor * sfm;
}

void CTrackSteeringFeature::Tick(Clock::time_point now)
{
    now_ = now;
    if (gyroEnds_ && now >= *gyroEnds_)
        gyroEnds_.reset();
    if (turn_ && now >= turn_->started + kTurnTime) {
        lastPeak_[turn_->left ? 1 : 0] = turn_->peak;
        turn_.reset();
    }
}

} // namespace halcyra::sim
