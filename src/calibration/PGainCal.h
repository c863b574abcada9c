#pragma once
// Finding the steering loop's proportional gain by trial: the user sets a
// test gain, commands test turns left and right and reads the step response
// the controller measured (slew time and overshoot). Leaving makes the test
// gain the value of pgr, which the page then offers to save.

#include "calibration/CalProcedure.h"
#include "params/Param.h"

#include <cstdint>
#include <string>

namespace halcyra {

class CParamSet;

inline constexpr int kGainInstructions = 4;
const char* GainInstruction(int step);

inline constexpr float kMinGain = 0;
inline constexpr float kMaxGain = 9999;
inline constexpr float kGainSpinStep = 0.5f;
inline constexpr const char* kGainStartErrorText = "Error";
inline constexpr const char* kGainStartErrorCaption = "Start msg failure error";

class CPGainCal final : public CCalProcedure {
public:
    // Adds pgr to the page's parameters.
    CPGainCal(CPageContext& context, CParamSet& pageParams);

    // The page's life cycle: Init after the base page's initialisation,
    // Show before its activation, Leave and Cancel before its leaving and
    // cancelling.
    void Init();
    void Show();
    void Leave();
    void Cancel();

    void Next();
    void Turn(bool left);
    // The spin control: each step up adds 0.5, each step down takes 0.5 off.
    void Spin(int stepsUp);
    // The gain field: focus or typing sets the editing mark, which keeps the
    // fields from being refreshed under the user's hands.
    void BeginEditing();
    // Reads the field's text into the test gain; a text that is no number
    // from 0 to 9999 is refused (with the reason) and the gain kept. finished
    // (the field lost its focus) clears the editing mark and refreshes.
    std::optional<std::string> EnterGain(const std::string& text, bool finished);

    // The fields as last moved into the controls.
    struct Fields {
        std::string gain;
        std::string savedGain;
        std::string slew;
        std::string overshoot;
    };
    const Fields& Shown() const { return shown_; }
    // Counts the moves of the values into the fields.
    int FieldsMoved() const { return fieldsMoved_; }

    int Step() const { return step_; }
    const char* Instruction() const { return GainInstruction(step_); }
    bool NextShown() const { return step_ < 3; }
    bool TurnShown() const { return step_ == 3; }
    bool TurnEnabled() const { return turnEnabled_; }
    bool GainEnabled() const { return step_ == 3; }
    bool Editing() const { return editing_; }
    float TestGain() const { return testGain_; }
    CFloatParam& SavedGainParam() { return pgr_; }

private:
    bool Poll() override;
    bool ReadStatus();
    void Begin(bool reportFailure);
    void MoveValuesToFields();

    CFloatParam pgr_;
    int step_ = 0;
    float testGain_ = 0;
    float savedGain_ = 0;
    float loopValue2_ = 0;
    float loopValue3_ = 0;
    std::string slewText_;
    std::string overshootText_;
    bool turnEnabled_ = true;
    bool editing_ = false;
    bool reArm_ = false;
    Fields shown_;
    int fieldsMoved_ = 0;
};

} // namespace halcyra
