#pragma once
// Teaching the controller the range of its steering angle sensor, with the
// sensor's voltage and angle read four times a second.
//
// CSteerSensorCal: a five-step wizard driven by one button while the user
// steers to the stops; the controller records a point at each step.
// CImplSteerSensorCal: for implement steering, the controller calibrates by
// itself between Start and Stop and reports how it ended.

#include "calibration/CalProcedure.h"
#include "params/Param.h"

#include <cstdint>
#include <optional>
#include <string>

namespace halcyra {

inline constexpr const char* kSensorRangeWarning =
    "Warning: sensor voltage range not large enough. Either try again or adjust sensor.";
// What the value fields show when the sensor could not be read.
inline constexpr const char* kSensorWaitText = "Wait";

struct SensorStep {
    const char* instruction;
    std::optional<std::uint8_t> command; // the point a press records; none: the press only moves on
    const char* buttonText;
    bool angleShown;
    int nextStep; // after a press without a command
};

// The wizard's steps, 1 to 5.
const SensorStep& SensorStepAt(int step);

// Reads the sensor: true with both texts formatted "%.2f", else both "Wait".
bool ReadSensor(CControllerLink& link, std::string& voltsText, std::string& angleText);

class CSteerSensorCal final : public CCalProcedure {
public:
    explicit CSteerSensorCal(CPageContext& context) : CCalProcedure(context) {}

    // The page's life cycle, each after the base page's own steps.
    void Init();
    void Leave();
    void Show();

    // The one button: moves on, or records the step's point.
    void Press();

    int Step() const { return step_; }
    const char* Instruction() const { return SensorStepAt(step_).instruction; }
    const char* ButtonText() const { return SensorStepAt(step_).buttonText; }
    bool AngleShown() const { return SensorStepAt(step_).angleShown; }
    bool WarningShown() const { return warningShown_; }
    const std::string& VoltsText() const { return voltsText_; }
    const std::string& AngleText() const { return angleText_; }

private:
    bool Poll() override { return ReadSensor(Link(), voltsText_, angleText_); }

    int step_ = 1;
    bool warningShown_ = false;
    bool reArm_ = false;
    std::string voltsText_ = "0.0";
    std::string angleText_ = "0.0";
};

inline constexpr const char* kImplSensorRunningText = "Steering Calibration is in Progress. \nPlease Wait.";
inline constexpr const char* kImplSensorAbortedText = "Steering Calibration Aborted. ";
inline constexpr const char* kImplSensorCompletedText = "Steering Calibration is Completed.\n ";
inline constexpr const char* kImplSensorFailedText = "Steering Calibration Failed.\n ";

class CImplSteerSensorCal final : public CCalProcedure {
public:
    explicit CImplSteerSensorCal(CPageContext& context) : CCalProcedure(context) {}

    void Init();
    void Leave();
    void Show();
    // The sheet's OK: the controller's calibration is stopped.
    void OnOK();
    void Cancel();

    void Start();
    void Stop();

    bool StartEnabled() const { return startEnabled_; }
    bool StopEnabled() const { return stopEnabled_; }
    const std::string& StatusText() const { return statusText_; }
    const std::string& VoltsText() const { return voltsText_; }
    const std::string& AngleText() const { return angleText_; }

private:
    bool Poll() override;
    bool Command(std::uint8_t command);

    CByteParam command_{"ISSteeringSensorCalCmd"};
    CByteParam calState_{"ROCalState"};
    bool startEnabled_ = true;
    bool stopEnabled_ = false;
    bool reArm_ = false;
    std::string statusText_;
    std::string voltsText_ = "0.0";
    std::string angleText_ = "0.0";
};

} // namespace halcyra
