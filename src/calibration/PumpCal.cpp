#include "calibration/PumpCal.h"

#include "calibration/CalibrationMessages.h"
#include "link/ControllerLink.h"
#include "link/Format.h"
#include "link/MessageIds.h"

#include <algorithm>
#include <array>

namespace halcyra {

using namespace wire::calibration;

namespace {

constexpr std::array<const char*, kKneeInstructions> kKneeTexts = {
    "1. Make sure the tractor is stopped. Press Next.",
    "2. Please wait while the Gyro Bias is computed.",
    "3. Drive forward in an open field at a speed of 3.0 MPH. Press Next.",
    "4. By adjusting the pump knees and pressing turn left and right determine the pump knees (the pump pressure "
    "just below the value that causes the tractor to slowly turn).",
};

constexpr std::array<const char*, kResponseInstructions> kResponseTexts = {
    "1. Make sure the tractor is moving forward slowly.  Use lowest gear with high engine RPM. Press Next.",
    "2. Caution - the tractor may move abruptly during this test! Press Next.",
    "3. The rise time of both pumps should be between 60 - 150ms and the overshoot less than 5%. Adjust the gain as "
    "required. Repeat several times.",
};

constexpr int kKneeGyroStep = 1;
constexpr int kKneeTestStep = 3;
constexpr int kResponseTestStep = 2;

bool Transact(CControllerLink& link, std::uint8_t subCode, std::uint8_t operation)
{
    CCalCommandMsg command(subCode, operation);
    return link.Transact(command);
}

} // namespace

const char* KneeInstruction(int step) { return kKneeTexts.at(static_cast<std::size_t>(step)); }

const char* ResponseInstruction(int step) { return kResponseTexts.at(static_cast<std::size_t>(step)); }

float SteppedKnee(float knee, int stepsUp) { return std::max(0.0f, knee + kKneeSpinStep * static_cast<float>(stepsUp)); }

std::string ValueText(float value) { return Format("%g", static_cast<double>(value)); }

// ---------------------------------------------------------------- pump knees

CPumpKneeCal::CPumpKneeCal(CPageContext& context, CParamSet& pageParams)
    : CCalProcedure(context), dk1_("dk1", &pageParams), dk0_("dk0", &pageParams)
{
}

void CPumpKneeCal::Begin()
{
    step_ = 0;
    // Each visit judges the buttons by the states it reads itself.
    lastState_ = 0;
    SetTurnButtons(lastState_);
    turnRateText_.clear();
    Transact(Link(), kPumpKneeSub, kKneeBeginOp);
}

void CPumpKneeCal::Init()
{
    leftKnee_ = savedLeft_ = testLeft_ = dk1_.value;
    rightKnee_ = savedRight_ = testRight_ = dk0_.value;
    reArm_ = false;
    Begin();
    MoveKnees();
    Changed();
}

void CPumpKneeCal::Show()
{
    if (!reArm_)
        return;
    reArm_ = false;
    StopPolling();
    Begin();
    // The knees the controller keeps, just read, not those of the last visit.
    savedLeft_ = dk1_.value;
    savedRight_ = dk0_.value;
    MoveKnees();
    Changed();
}

void CPumpKneeCal::Leave()
{
    dk1_.value = leftKnee_;
    dk0_.value = rightKnee_;
    Transact(Link(), kPumpKneeSub, kKneeEndOp);
    reArm_ = true;
    StopPolling();
}

void CPumpKneeCal::Cancel()
{
    Transact(Link(), kPumpKneeSub, kKneeEndOp);
    StopPolling();
}

void CPumpKneeCal::Next()
{
    if (step_ == 0) {
        step_ = kKneeGyroStep;
        Transact(Link(), kPumpKneeSub, kKneeGyroBiasOp);
        StartPolling();
    } else if (step_ == 2) {
        step_ = kKneeTestStep;
        StartPolling();
    }
    Changed();
}

void CPumpKneeCal::SendTestKnees()
{
    CKneeSetMsg knees(leftKnee_, rightKnee_);
    if (Link().Transact(knees)) {
        testLeft_ = leftKnee_;
        testRight_ = rightKnee_;
    }
}

void CPumpKneeCal::Turn(bool left)
{
    if (step_ != kKneeTestStep)
        return;
    // Knees typed rather than stepped reach the controller before the turn.
    if (leftKnee_ != testLeft_ || rightKnee_ != testRight_)
        SendTestKnees();
    Transact(Link(), kPumpKneeSub, left ? kKneeTurnLeftOp : kKneeTurnRightOp);
}

void CPumpKneeCal::Spin(bool left, int stepsUp)
{
    if (step_ == kKneeTestStep) {
        float& knee = left ? leftKnee_ : rightKnee_;
        knee = SteppedKnee(knee, stepsUp);
        MoveKnees();
        Changed();
    }
    SendTestKnees();
}

std::optional<std::string> CPumpKneeCal::EnterKnee(bool left, const std::string& text)
{
    const TypedValue typed = ReadTypedValue(text, kMaxKnee);
    if (!typed.value)
        return typed.refusal;
    (left ? leftKnee_ : rightKnee_) = *typed.value;
    return std::nullopt;
}

void CPumpKneeCal::SetTurnButtons(std::uint8_t state)
{
    // A turn is stopped with its own button; the other side waits for it.
    leftTurnText_ = state == kKneeTurningLeft ? "Stop" : "Turn Left";
    rightTurnText_ = state == kKneeTurningRight ? "Stop" : "Turn Right";
    leftTurnEnabled_ = state != kKneeTurningRight;
    rightTurnEnabled_ = state != kKneeTurningLeft;
    ++turnButtonsSet_;
}

bool CPumpKneeCal::Poll()
{
    CKneeStatusMsg status;
    if (!Link().Transact(status))
        return false;
    if (step_ == kKneeGyroStep) {
        if (status.state != kKneeGyroComputing) {
            StopPolling();
            step_ = 2;
        }
        return true;
    }
    turnRateText_ = Format("%.2f", static_cast<double>(status.turnRate));
    // The buttons follow changes of state only.
    if (status.state != lastState_) {
        lastState_ = status.state;
        SetTurnButtons(status.state);
    }
    return true;
}

// ---------------------------------------------------------------- pump responses

CPumpResponseCal::CPumpResponseCal(CPageContext& context, CParamSet& pageParams)
    : CCalProcedure(context), igl_("igl", &pageParams), igr_("igr", &pageParams)
{
}

void CPumpResponseCal::Begin()
{
    step_ = 0;
    lastState_ = 0;
    testEnabled_ = true;
    gainsEnabled_ = true;
    Transact(Link(), kPumpResponseSub, kResponseBeginOp);
}

void CPumpResponseCal::Init()
{
    leftGain_ = savedLeft_ = igl_.value;
    rightGain_ = savedRight_ = igr_.value;
    Begin();
    reArm_ = false;
    ++gainsMoved_;
    Changed();
}

void CPumpResponseCal::Show()
{
    if (!reArm_)
        return;
    reArm_ = false;
    // Leaving ended the controller's test: begin it again, or a test
    // performed now would wait for ever.
    Begin();
    Changed();
}

void CPumpResponseCal::Leave()
{
    StopPolling();
    Transact(Link(), kPumpResponseSub, kResponseEndOp);
    igl_.value = leftGain_;
    igr_.value = rightGain_;
    reArm_ = true;
}

void CPumpResponseCal::Cancel()
{
    StopPolling();
    Transact(Link(), kPumpResponseSub, kResponseEndOp);
}

void CPumpResponseCal::Next()
{
    if (step_ < kResponseTestStep)
        ++step_;
    Changed();
}

void CPumpResponseCal::PerformTest()
{
    if (step_ != kResponseTestStep || !testEnabled_)
        return;
    CResponseGainsMsg gains(rightGain_, leftGain_);
    Link().Transact(gains);
    Transact(Link(), kPumpResponseSub, kResponseTestOp);
    gainsEnabled_ = false;
    testEnabled_ = false;
    StartPolling();
    Changed();
}

std::optional<std::string> CPumpResponseCal::EnterGain(bool left, const std::string& text)
{
    const TypedValue typed = ReadTypedValue(text, kMaxKnee);
    if (!typed.value)
        return typed.refusal;
    (left ? leftGain_ : rightGain_) = *typed.value;
    return std::nullopt;
}

bool CPumpResponseCal::Poll()
{
    CResponseStatusMsg status;
    if (!Link().Transact(status))
        return false;
    if (status.state != lastState_) {
        lastState_ = status.state;
        testEnabled_ = status.state != kResponseRising && status.state != kResponseSettling;
    }
    // The right pump's rise time says the test is over, whatever the left's.
    if (status.rightRiseMs != 0) {
        gainsEnabled_ = true;
        StopPolling();
    }
    leftOvershoot_ = Format("%.1f %%", static_cast<double>(status.leftOvershoot));
    rightOvershoot_ = Format("%.1f %%", static_cast<double>(status.rightOvershoot));
    leftRise_ = std::to_string(status.leftRiseMs);
    rightRise_ = std::to_string(status.rightRiseMs);
    return true;
}

} // namespace halcyra
