#include "sim/SteerSensorFeature.h"

#include "link/ControllerMsg.h"
#include "link/MessageIds.h"
#include "sim/SimController.h"

#include <cmath>
#include <numbers>

namespace halcyra::sim {

using namespace wire::calibration;

namespace {

constexpr float kStopAngle = 35.0f;           // degrees either way
constexpr double kSwingPeriodSeconds = 12.0;  // stop to stop and back
constexpr float kVoltsPerDegree = 0.06f;
constexpr float kStraightVolts = 2.5f;

const TSimOption<SensorPoints> kSensorReject{
    "sensor-reject", "POINTS", "",
    "steering sensor points (left,right,straight) rejected at their first try in each calibration"};
const TSimOption<std::uint32_t> kImplSensorMs{"impl-sensor-ms", "MS", "5000",
                                              "time the implement steering sensor calibration runs"};
const TSimOption<std::uint8_t> kImplSensorResult{
    "impl-sensor-result", "N", "4", "ROCalState at the end of an implement sensor calibration (4 done, 5 failed)"};

} // namespace

bool ParseOptionValue(std::string_view text, SensorPoints& value, std::string& why)
{
    unsigned long chosen = 0;
    if (!ParseNameList(text, {"left", "right", "straight"}, chosen, why))
        return false;
    value.rejected = std::bitset<3>(chosen);
    return true;
}

std::vector<const CSimOption*> CSteerSensorFeature::Options()
{
    return {&kSensorReject, &kImplSensorMs, &kImplSensorResult};
}

CSteerSensorFeature::CSteerSensorFeature(const SimSettings& settings)
    : rejectOnce_(kSensorReject.From(settings)), implRunTime_(kImplSensorMs.From(settings)),
      implResult_(kImplSensorResult.From(settings))
{
}

float CSteerSensorFeature::WheelAngle(Clock::time_point now)
{
    const double seconds = std::chrono::duration<double>(now.time_since_epoch()).count();
    return kStopAngle * static_cast<float>(std::sin(2 * std::numbers::pi * seconds / kSwingPeriodSeconds));
}

float CSteerSensorFeature::SensorVoltage(Clock::time_point now)
{
    return kStraightVolts + WheelAngle(now) * kVoltsPerDegree;
}

float CSteerSensorFeature::AngleFromVoltage(float volts) const
{
    const Calibration& c = calibrated_;
    const float span = volts >= c.straight ? c.right - c.straight : c.straight - c.left;
    if (std::fabs(span) < 1e-3f)
        return 0;
    return (volts - c.straight) / span * kStopAngle;
}

void CSteerSensorFeature::Register(CSimController& sim)
{
    sim_ = &sim;
    // The sensor messages come with packet code 0xBF; others go unanswered.
    sim.On(wire::kCalibrationMsg, kSteerSensorSub, kSensorReadingOp, [this](CSimController&, const Request& r) -> std::optional<Bytes> {
        if (r.packetCode != kReplyCode)
            return std::nullopt;
        const float volts = SensorVoltage(now_);
        return ReplyBuilder(r).F32(volts).F32(AngleFromVoltage(volts)).Build();
    });
    sim.On(wire::kCalibrationMsg, kSteerSensorSub, kSensorCommandOp, [this](CSimController&, const Request& r) -> std::optional<Bytes> {
        const Bytes payload = r.Payload();
        if (r.packetCode != kReplyCode || payload.size() != 1)
            return std::nullopt;
        return ReplyBuilder(r).U8(RecordPoint(payload[0])).Build();
    });
    sim.Params().OnSet("ISSteeringSensorCalCmd", [this](const std::string& value) { OnImplCommand(*sim_, value); });
}

std::uint8_t CSteerSensorFeature::RecordPoint(std::uint8_t command)
{
    constexpr std::uint8_t kRejected = 0;
    if (command == kStoreSensorPoints) {
        rejectedThisRun_.reset();
        if (!recorded_[0] || !recorded_[1] || !recorded_[2])
            return kRejected;
        calibrated_ = {*recorded_[0], *recorded_[2], *recorded_[1]};
        for (auto& point : recorded_)
            point.reset();
        return kSensorPointAccepted;
    }
    if (command > kRecordStraight)
        return kRejected;
    if (rejectOnce_.rejected.test(command) && !rejectedThisRun_.test(command)) {
        rejectedThisRun_.set(command);
        return kRejected;
    }
    recorded_[command] = SensorVoltage(now_);
    return kSensorPointAccepted;
}

void CSteerSensorFeature::OnImplCommand(CSimController& sim, const std::string& value)
{
    constexpr const char* kIdle = "0";
    constexpr const char* kRunning = "2";
    if (value == std::to_string(kImplSensorStart)) {
        implEnds_ = now_ + implRunTime_;
        sim.Params().Set("ROCalState", kRunning);
    } else if (value == std::to_string(kImplSensorStop) || value == std::to_string(kImplSensorPrepare)) {
        implEnds_.reset();
        sim.Params().Set("ROCalState", kIdle);
    }
}

void CSteerSensorFeature::Tick(Clock::time_point now)
{
    now_ = now;
    if (implEnds_ && now >= *implEnds_) {
        implEnds_.reset();
        sim_->Params().Set("ROCalState", std::to_string(implResult_));
    }
}

} // namespace halcyra::sim
