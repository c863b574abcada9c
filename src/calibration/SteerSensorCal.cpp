#include "calibration/SteerSensorCal.h"

#include "calibration/CalibrationMessages.h"
#include "link/ControllerLink.h"
#include "link/Format.h"
#include "link/MessageIds.h"

#include <array>

namespace halcyra {

using namespace wire::calibration;

namespace {

constexpr std::array<SensorStep, 5> kSensorSteps = {{
    {"1. Move Tractor Forward Slowly and Press Next", std::nullopt, "Next >>", true, 2},
    {"2. Steer Full Left and Press Next", kRecordFullLeft, "Next >>", false, 0},
    {"3. Steer Full Right and Press Next", kRecordFullRight, "Next >>", false, 0},
    {"4. Steer Straight and Press Next", kRecordStraight, "Next >>", false, 0},
    {"5. Press Restart to Repeat the Test", std::nullopt, "Restart", true, 1},
}};
constexpr int kLastSensorStep = 5;

} // namespace

const SensorStep& SensorStepAt(int step) { return kSensorSteps.at(static_cast<std::size_t>(step - 1)); }

bool ReadSensor(CControllerLink& link, std::string& voltsText, std::string& angleText)
{
    CSensorReadingMsg reading;
    if (!link.Transact(reading)) {
        voltsText = angleText = kSensorWaitText;
        return false;
    }
    voltsText = Format("%.2f", static_cast<double>(reading.voltage));
    angleText = Format("%.2f", static_cast<double>(reading.angle));
    return true;
}

// ---------------------------------------------------------------- steering sensor

void CSteerSensorCal::Init()
{
    // A new run of the sheet starts as a new window would: no warning.
    step_ = 1;
    warningShown_ = false;
    voltsText_ = angleText_ = "0.0";
    reArm_ = false;
    StartPolling();
    Changed();
}

void CSteerSensorCal::Leave()
{
    StopPolling();
    reArm_ = true;
}

void CSteerSensorCal::Show()
{
    if (!reArm_)
        return;
    reArm_ = false;
    step_ = 1;
    warningShown_ = false;
    StartPolling();
    Changed();
}

void CSteerSensorCal::Press()
{
    warningShown_ = false;
    const SensorStep& current = SensorStepAt(step_);
    if (!current.command) {
        step_ = current.nextStep;
        Changed();
        return;
    }
    CSensorCalCommandMsg point(*current.command);
    // A failed exchange has shown its box; the user stays at the step.
    if (Link().Transact(point)) {
        if (point.status != kSensorPointAccepted) {
            warningShown_ = true;
        } else {
            if (step_ + 1 == kLastSensorStep) {
                CSensorCalCommandMsg store(kStoreSensorPoints);
                Link().Transact(store);
            }
            ++step_;
        }
    }
    Changed();
}

// ---------------------------------------------------------------- implement steering sensor

bool CImplSteerSensorCal::Command(std::uint8_t command)
{
    command_.value = command;
    return command_.Set(Link());
}

void CImplSteerSensorCal::Init()
{
    voltsText_ = angleText_ = "0.0";
    reArm_ = false;
    Command(kImplSensorPrepare);
    startEnabled_ = true;
    stopEnabled_ = false;
    statusText_.clear();
    StartPolling();
    Changed();
}

void CImplSteerSensorCal::Leave()
{
    StopPolling();
    reArm_ = true;
}

void CImplSteerSensorCal::Show()
{
    if (!reArm_)
        return;
    reArm_ = false;
    StartPolling();
    Changed();
}

void CImplSteerSensorCal::OnOK() { Command(kImplSensorStop); }

void CImplSteerSensorCal::Cancel() { Leave(); }

void CImplSteerSensorCal::Start()
{
    // Only a command the controller took changes what the page says.
    if (!Command(kImplSensorStart))
        return;
    startEnabled_ = false;
    stopEnabled_ = true;
    statusText_ = kImplSensorRunningText;
    Changed();
}

void CImplSteerSensorCal::Stop()
{
    if (!Command(kImplSensorStop))
        return;
    startEnabled_ = true;
    stopEnabled_ = false;
    statusText_ = kImplSensorAbortedText;
    Changed();
}

bool CImplSteerSensorCal::Poll()
{
    const bool read = ReadSensor(Link(), voltsText_, angleText_);
    if (!calState_.Get(Link()))
        return false;
    if (calState_.value == kImplSensorCompleted) {
        startEnabled_ = true;
        statusText_ = kImplSensorCompletedText;
    } else if (calState_.value == kImplSensorFailed) {
        startEnabled_ = true;
        statusText_ = kImplSensorFailedText;
    }
    return read;
}

} // namespace halcyra
