#pragma once
// The electric track steering calibrations (JD and MT): a chain of dialogs
// started from one page. The gyro bias is measured with the tractor parked;
// then, driving slowly, the user moves the steering potentiometer's centre
// point (the bias) until test turns left and right turn equally fast, and
// saves it in k0e. The MT chain adds the deadband (dk0, dk1) and the track
// spacing (trw). Each dialog's rules live here; the dialogs bind controls.

#include "calibration/CalProcedure.h"
#include "params/Param.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace halcyra {

enum class TrackVariant { JD, MT };

// What a dialog of the chain ends with: Next, and the track spacing
// dialog's "<< Back ". Cancelling or closing a dialog ends it with neither.
inline constexpr int kTrackDialogNext = 2;
inline constexpr int kTrackDialogBack = 3;

inline constexpr const char* kLinkDownText = "Communication Link Down!";
inline constexpr const char* kLinkDownCaption = "Error";
inline constexpr const char* kSaveBiasText = "Do you want to save the new steering bias value?";
inline constexpr const char* kSaveBiasCaption = "Save Bias";
inline constexpr const char* kSaveDeadbandText = "Do you want to save the new deadband compensation value?";
inline constexpr const char* kSaveDeadbandCaption = "Save Deadband";
inline constexpr const char* kSaveSpacingText = "Do you want to save the new track spacing value?";
inline constexpr const char* kSaveSpacingCaption = "Save Track Spacing";

// Sends a track steering message without waiting for a reply.
void SendTrackCommand(CControllerLink& link, std::uint8_t operation);

// ---------------------------------------------------------------- gyro bias

inline constexpr int kGyroBiasLines = 3;
const char* GyroBiasLine(int index);

// Parked, the controller measures the gyro's bias; then the user drives to
// open ground. One button moves through three stages.
class CGyroBiasCal final : public CCalProcedure {
public:
    explicit CGyroBiasCal(CPageContext& context) : CCalProcedure(context) {}

    // The button: true when the dialog ends with Next.
    bool Press();

    int Stage() const { return stage_; }
    // The instruction line of the stage is enabled, the others greyed.
    bool LineEnabled(int index) const { return index == stage_; }
    const char* ButtonText() const { return stage_ == 1 ? "Wait..." : "Next >>"; }
    bool ButtonEnabled() const { return stage_ != 1; }
    bool ButtonDown() const { return stage_ == 1; }

private:
    bool Poll() override;

    int stage_ = 0;
};

// ---------------------------------------------------------------- turn-rate tests

// Which indicator picture the balance of the turn rates calls for.
enum class TurnRateIndicator { Centred, Low, High };

// The live part of the bias and track spacing dialogs: the turn rates and
// their bars, the indicator, and test turns left and right.
class CTurnRateTest : public CCalProcedure {
public:
    explicit CTurnRateTest(CPageContext& context);

    void Turn(bool left);

    const std::string& LeftRateText() const { return leftRate_; }
    const std::string& RightRateText() const { return rightRate_; }
    int LeftBar() const { return leftBar_; }
    int RightBar() const { return rightBar_; }
    int BarMinimum() const { return barMinimum_; }
    int BarMaximum() const { return barMaximum_; }
    TurnRateIndicator Indicator() const { return indicator_; }
    bool TurnEnabled() const { return turnEnabled_; }
    // The button of the turn that was asked for is drawn down.
    bool TurnDown(bool left) const { return turnEnabled_ ? false : left == lastTurnLeft_; }

protected:
    // Starts the ticks with a fresh idea of the controller's state.
    void StartTest();
    // Sent before the turn itself.
    virtual void BeforeTurn() {}
    bool Poll() override;

private:
    std::uint8_t lastState_ = 0;
    std::string leftRate_ = "0.00";
    std::string rightRate_ = "0.00";
    int leftBar_ = 0;
    int rightBar_ = 0;
    int barMinimum_ = 0;
    int barMaximum_ = 100;
    TurnRateIndicator indicator_ = TurnRateIndicator::Centred;
    bool turnEnabled_ = true;
    bool lastTurnLeft_ = false;
};

// The bias slider of each variant: its range and how it maps to the bias.
struct BiasSlider {
    int minimum;
    int maximum;
};
BiasSlider BiasSliderOf(TrackVariant variant);
// (5 - bias) x 100, truncated (before any range applies).
int BiasSliderPosition(float bias);
float BiasAtSliderPosition(int position);
std::string BiasText(float bias);

// "Steering Pot Centerpoint (Bias):".
class CTrackBiasCal final : public CTurnRateTest {
public:
    CTrackBiasCal(CPageContext& context, TrackVariant variant);

    // The dialog opens: reads k0e and the controller's current bias.
    void Init();
    // The slider moved to position (kept within its range).
    void MoveSlider(int position);
    // The spin control: one position per step.
    void Spin(int stepsUp) { MoveSlider(position_ + stepsUp); }
    // "Restore Saved": back to k0e as read when the dialog opened.
    void RestoreSaved();
    // Makes the bias the value of k0e and, when that changes it, offers to
    // save it ("Save Bias").
    void Store();
    // "Change Deadband" has run: the controller's bias test starts again.
    void RestartBiasTest();

    TrackVariant Variant() const { return variant_; }
    const BiasSlider& Slider() const { return slider_; }
    int SliderPosition() const { return position_; }
    float Bias() const { return bias_; }
    std::string BiasText() const { return halcyra::BiasText(bias_); }
    bool BiasChanged() const { return biasChanged_; }

private:
    void BeforeTurn() override;

    TrackVariant variant_;
    BiasSlider slider_;
    CFloatParam k0e_{"k0e"};
    float savedBias_ = 0;
    float bias_ = 0;
    int position_ = 0;
    bool biasChanged_ = false;
};

// The deadband dialog's slider: 0 to 40, in steps of 2; a position is 1/200.
inline constexpr int kDeadbandSliderMaximum = 40;
inline constexpr int kDeadbandSliderStep = 2;
int DeadbandSliderPosition(float deadband);
float DeadbandAtSliderPosition(int position);
// A deadband as the dialog shows it: "%1.3f".
std::string DeadbandText(float deadband);

// "Deadband Compensation:", run from the MT bias dialog.
class CDeadbandCal {
public:
    explicit CDeadbandCal(CPageContext& context) : context_(context) {}

    // The dialog opens: reads dk1 and dk0.
    void Init();
    void MoveSlider(int position);
    void Spin(int stepsUp) { MoveSlider(position_ + stepsUp); }
    // "OK": makes the value dk0's and, when that changes it, offers to save
    // it in dk0 and dk1 ("Save Deadband").
    void Store();

    int SliderPosition() const { return position_; }
    float Value() const { return value_; }
    std::string ValueText() const;

private:
    CPageContext& context_;
    CFloatParam dk0_{"dk0"};
    CFloatParam dk1_{"dk1"};
    float value_ = 0;
    int position_ = 0;
};

// The MT track spacing test: the spacing that fills the bars half way.
class CTrackSpacingCal final : public CTurnRateTest {
public:
    // Reads trw: the chain makes this when it begins.
    explicit CTrackSpacingCal(CPageContext& context);

    void Init();
    // Typing in the field stops the ticks; leaving it reads the field (the
    // reason a text is refused comes back) and starts them again.
    void BeginEditing();
    std::optional<std::string> EndEditing(const std::string& text);
    // "Set": offers to save a changed track spacing, then reads it back.
    void Set();

    CLengthParam& TrackSpacing() { return trw_; }
    std::string SpacingText() const;
    std::string UnitName() const { return trw_.Units().HasFactor() ? trw_.Units().UnitName() : std::string(); }

private:
    CLengthParam trw_{"trw"};
};

// ---------------------------------------------------------------- the chains

enum class TrackDialog {
    GyroBias,
    JDSpeed,
    JDBias,
    MTSpeed,
    MTDeadbandInstructions,
    MTBias,
    MTSpacingInstructions,
    TrackSpacing,
};

// The lines of an instruction dialog (the speed, deadband and track spacing
// instructions); empty for the others.
const std::vector<const char*>& TrackInstructionLines(TrackDialog dialog);

class CTrackSteeringChain {
public:
    CTrackSteeringChain(CPageContext& context, TrackVariant variant) : context_(context), variant_(variant) {}

    // The page brackets the chains with the controller's steering calibration.
    void BeginCalibration();
    void EndCalibration();

    // Runs the dialogs from the first (the gyro bias) until one ends the
    // chain; run shows a dialog and returns how it ended.
    using Runner = std::function<int(TrackDialog)>;
    void Run(const Runner& run);

    TrackVariant Variant() const { return variant_; }
    // The rules of the chain's dialogs, made when the chain begins.
    CGyroBiasCal& GyroBias() { return *gyroBias_; }
    CTrackBiasCal& Bias() { return *bias_; }
    CTrackSpacingCal& Spacing() { return *spacing_; }

private:
    void RunJD(const Runner& run);
    void RunMT(const Runner& run);

    CPageContext& context_;
    TrackVariant variant_;
    std::unique_ptr<CGyroBiasCal> gyroBias_;
    std::unique_ptr<CTrackBiasCal> bias_;
    std::unique_ptr<CTrackSpacingCal> spacing_;
};

} // namespace halcyra
