#pragma once
// The hydraulic pumps of a tracked vehicle, one calibration each.
//
// CPumpKneeCal: for each side, the pump knee, the pump pressure just below
// the one that makes the tractor turn. After the gyro bias is computed the
// user steps the test knees and turns left and right, watching the turn
// rate. Leaving makes the knees the values of dk1 (left) and dk0 (right).
//
// CPumpResponseCal: a response test of both pumps with the gains the user
// sets, showing each side's rise time and overshoot. Leaving makes the gains
// the values of igl and igr.
//
// Either page then offers to save the parameters; the test messages only
// drive the controller's test.

#include "calibration/CalProcedure.h"
#include "params/Param.h"

#include <cstdint>
#include <optional>
#include <string>

namespace halcyra {

class CParamSet;

inline constexpr int kKneeInstructions = 4;
const char* KneeInstruction(int step);
inline constexpr float kKneeSpinStep = 0.5f;
inline constexpr float kMaxKnee = 9999;

// A knee after stepping it: 0.5 a step, never below 0.
float SteppedKnee(float knee, int stepsUp);

// How a knee, gain or bias shows in its field.
std::string ValueText(float value);

class CPumpKneeCal final : public CCalProcedure {
public:
    // Adds dk1 and dk0 to the page's parameters.
    CPumpKneeCal(CPageContext& context, CParamSet& pageParams);

    // The page's life cycle: Init after the base page's initialisation; Show
    // on every activation once the base page has read the parameters; Leave
    // and Cancel before the base page's leaving and cancelling.
    void Init();
    void Show();
    void Leave();
    void Cancel();

    void Next();
    void Turn(bool left);
    // The spin control of one side: each step up adds 0.5 (from the last
    // instruction on), then the test knees go to the controller.
    void Spin(bool left, int stepsUp);
    // Typing in a knee field: the knee follows a valid number; the reason a
    // text is refused comes back (the page shows it when the field is left).
    std::optional<std::string> EnterKnee(bool left, const std::string& text);

    int Step() const { return step_; }
    const char* Instruction() const { return KneeInstruction(step_); }
    const char* NextText() const { return step_ == 1 ? "Wait" : "Next >>"; }
    bool NextEnabled() const { return step_ != 1; }
    bool NextShown() const { return step_ < 3; }
    bool TurnShown() const { return step_ == 3; }
    const char* TurnText(bool left) const { return left ? leftTurnText_ : rightTurnText_; }
    bool TurnEnabled(bool left) const { return left ? leftTurnEnabled_ : rightTurnEnabled_; }
    // Counts the times the turn buttons were set: once per change of state.
    int TurnButtonsSet() const { return turnButtonsSet_; }
    const std::string& TurnRateText() const { return turnRateText_; }

    float Knee(bool left) const { return left ? leftKnee_ : rightKnee_; }
    float SavedKnee(bool left) const { return left ? savedLeft_ : savedRight_; }
    // Counts the moves of the knees into their fields.
    int KneesMoved() const { return kneesMoved_; }

private:
    bool Poll() override;
    void Begin();
    void SendTestKnees();
    void MoveKnees() { ++kneesMoved_; }
    void SetTurnButtons(std::uint8_t state);

    CFloatParam dk1_; // left knee
    CFloatParam dk0_; // right knee
    int step_ = 0;
    float leftKnee_ = 0;
    float rightKnee_ = 0;
    float savedLeft_ = 0;
    float savedRight_ = 0;
    float testLeft_ = 0; // the knees the controller's test has
    float testRight_ = 0;
    std::uint8_t lastState_ = 0;
    std::string turnRateText_;
    const char* leftTurnText_ = "Turn Left";
    const char* rightTurnText_ = "Turn Right";
    bool leftTurnEnabled_ = true;
    bool rightTurnEnabled_ = true;
    int turnButtonsSet_ = 0;
    bool reArm_ = false;
    int kneesMoved_ = 0;
};

inline constexpr int kResponseInstructions = 3;
const char* ResponseInstruction(int step);

class CPumpResponseCal final : public CCalProcedure {
public:
    // Adds igl and igr to the page's parameters.
    CPumpResponseCal(CPageContext& context, CParamSet& pageParams);

    // Init after the base page's initialisation, Show before its activation,
    // Leave and Cancel before its leaving and cancelling.
    void Init();
    void Show();
    void Leave();
    void Cancel();

    void Next();
    void PerformTest();
    std::optional<std::string> EnterGain(bool left, const std::string& text);

    int Step() const { return step_; }
    const char* Instruction() const { return ResponseInstruction(step_); }
    bool NextShown() const { return step_ < 2; }
    bool TestShown() const { return step_ == 2; }
    bool TestEnabled() const { return testEnabled_; }
    bool GainsEnabled() const { return gainsEnabled_; }

    float Gain(bool left) const { return left ? leftGain_ : rightGain_; }
    float SavedGain(bool left) const { return left ? savedLeft_ : savedRight_; }
    const std::string& RiseTimeText(bool left) const { return left ? leftRise_ : rightRise_; }
    const std::string& OvershootText(bool left) const { return left ? leftOvershoot_ : rightOvershoot_; }
    int GainsMoved() const { return gainsMoved_; }

private:
    bool Poll() override;
    void Begin();

    CFloatParam igl_;
    CFloatParam igr_;
    int step_ = 0;
    float leftGain_ = 0;
    float rightGain_ = 0;
    float savedLeft_ = 0;
    float savedRight_ = 0;
    std::uint8_t lastState_ = 0;
    bool testEnabled_ = true;
    bool gainsEnabled_ = true;
    std::string leftRise_, rightRise_, leftOvershoot_, rightOvershoot_;
    bool reArm_ = false;
    int gainsMoved_ = 0;
};

} // namespace halcyra
