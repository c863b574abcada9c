#pragma once
// The steering angle sensor and its calibrations (message 0x4A, sub-code
// 0x0B): a steering wheel that swings slowly from stop to stop, the sensor
// voltage and angle that follow it, the points of the sensor calibration
// (rejected on request, to show the warning), and the implement sensor
// calibration run through ISSteeringSensorCalCmd and ROCalState.

#include "sim/SimFeature.h"

#include <bitset>
#include <cstdint>
#include <optional>

namespace halcyra::sim {

// The "sensor-reject" option: the points whose first try in each
// calibration is rejected, from left, right and straight.
struct SensorPoints {
    std::bitset<3> rejected;
};
bool ParseOptionValue(std::string_view text, SensorPoints& value, std::string& why);

class CSteerSensorFeature final : public CSimFeature {
public:
    static std::vector<const CSimOption*> Options();
    explicit CSteerSensorFeature(const SimSettings& settings);
    void Register(CSimController& sim) override;
    void Tick(Clock::time_point now) override;

    // The wheel's true angle and the sensor's voltage at a moment.
    static float WheelAngle(Clock::time_point now);
    static float SensorVoltage(Clock::time_point now);
    // The angle the controller reads from a voltage with its calibration.
    float AngleFromVoltage(float volts) const;

    // Voltages of full left, straight ahead and full right, as calibrated.
    struct Calibration {
        float left = 0.4f;
        float straight = 2.5f;
        float right = 4.6f;
    };
    const Calibration& Calibrated() const { return calibrated_; }

private:
    std::uint8_t RecordPoint(std::uint8_t command);
    void OnImplCommand(CSimController& sim, const std::string& value);

    SensorPoints rejectOnce_;
    std::chrono::milliseconds implRunTime_;
    std::uint8_t implResult_;
    Clock::time_point now_{};
    Calibration calibrated_;
    std::optional<float> recorded_[3];  // this calibration's points so far
    std::bitset<3> rejectedThisRun_;
    std::optional<Clock::time_point> implEnds_;
    CSimController* sim_ = nullptr;
};

} // namespace halcyra::sim
