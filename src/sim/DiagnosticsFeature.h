#pragma once
// Live readings of the inputs (message 76, six-byte header, the item code in
// selector 1): a steering wheel swept slowly from lock to lock, wheel and
// engine speeds that follow the gear lever, pump pressures that follow the
// steering, and levers and switches that change now and then, each with a
// little noise. The switch and direction readings that the controller keeps
// as parameters move with them. Everything follows the controller's time,
// so a test that sets the time gets the same readings every run.

#include "sim/SimFeature.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace halcyra::sim {

// The "inputs" and "can-signals" options: function codes, comma-separated,
// for inputs 1, 2, ... (at most 20); "none" for no inputs at all; "setup"
// keeps what the setup says.
struct InputCodes {
    bool fromSetup = true;
    std::vector<std::uint8_t> codes;
};
bool ParseOptionValue(std::string_view text, InputCodes& value, std::string& why);

// The readings at one moment.
struct DiagReadings {
    float wheelAngleDeg = 0;
    float steeringVolts = 0, steeringDeg = 0, curvature = 0;
    float wheelHz = 0, wheelSpeed = 0;
    float engineHz = 0, engineRpm = 0;
    float leftVolts = 0, leftPsi = 0, rightVolts = 0, rightPsi = 0;
    float overrideVolts = 0;
    std::uint8_t overrideState = 0;
    std::uint8_t gear = 2; // 1 forward, 2 neutral, 3 reverse
    float gearCode = 0, gearVolts = 0;
    std::uint8_t neutralSense = 0;
    float balanceVolts = 0;
    std::uint8_t balanceState = 1;
    std::uint8_t moduleFaultRaw = 0, moduleFaultState = 0;
    float opsVolts = 0;
    std::uint8_t opsState = 0;
    float engageVolts = 0;
    std::uint8_t engageState = 0;
    std::uint8_t direction = 2; // 1 forward, 2 stopped, 3 reverse
};

class CDiagnosticsFeature final : public CSimFeature {
public:
    static std::vector<const CSimOption*> Options();
    explicit CDiagnosticsFeature(const SimSettings& settings);
    void Register(CSimController& sim) override;
    void Tick(Clock::time_point now) override;

    const DiagReadings& Readings() const { return readings_; }

private:
    void ApplyInputOptions();
    // Steering angle from a CAN signal rather than an analog sensor.
    bool SteeringOverCan() const;

    CSimController* sim_ = nullptr;
    InputCodes inputs_;
    InputCodes canSignals_;
    std::optional<Clock::time_point> origin_;
    Clock::time_point last_{};
    double speed_ = 0; // m/s, following the lever with a lag
    double rpm_ = 850;
    DiagReadings readings_;
};

} // namespace halcyra::sim
