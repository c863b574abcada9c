#include "calibration/TrackSteeringCal.h"

#include "calibration/CalibrationMessages.h"
#include "calibration/CalibrationUnits.h"
#include "link/ControllerLink.h"
#include "link/Format.h"
#include "link/MessageIds.h"
#include "link/Notifier.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>

namespace halcyra {

using namespace wire::calibration;
using namespace std::chrono_literals;

namespace {

constexpr std::array<const char*, kGyroBiasLines> kGyroBiasTexts = {
    "1. Place Tractor in Park and press Next",
    "2. Please wait while the gyro bias is calculated",
    "3. Drive to a straight road or flat open field and press Next",
};

// The gyro bias dialog polls more slowly than the others.
constexpr auto kGyroBiasPeriod = 500ms;
// Before the first state is read, any state other than a turn counts as new.
constexpr std::uint8_t kUnknownTrackState = 5;
constexpr float kMaxTrackSpacing = 9999;

bool Asked(CPageContext& context, const char* text, const char* caption)
{
    return context.notifier.Notify(text, caption, MsgButtons::OkCancel, MsgIcon::None) == MsgAnswer::Ok;
}

} // namespace

void SendTrackCommand(CControllerLink& link, std::uint8_t operation)
{
    link.SendOnly(CCalCommandMsg(kTrackSteeringSub, operation));
}

// ---------------------------------------------------------------- gyro bias

const char* GyroBiasLine(int index) { return kGyroBiasTexts.at(static_cast<std::size_t>(index)); }

bool CGyroBiasCal::Press()
{
    if (stage_ == 0) {
        stage_ = 1;
        SendTrackCommand(Link(), kTrackGyroBiasOp);
        StartPolling(kGyroBiasPeriod);
        Changed();
        return false;
    }
    if (stage_ == 2) {
        stage_ = 0;
        Changed();
        return true;
    }
    return false;
}

bool CGyroBiasCal::Poll()
{
    CTrackStatusMsg status;
    // Only a state read ends the wait: a failed read says nothing of the gyro.
    if (!Link().Transact(status))
        return false;
    if (stage_ == 1 && status.state != kTrackGyroComputing) {
        StopPolling();
        stage_ = 2;
    }
    return true;
}

// ---------------------------------------------------------------- turn-rate tests

CTurnRateTest::CTurnRateTest(CPageContext& context) : CCalProcedure(context)
{
    SetOutageBox(kLinkDownText, kLinkDownCaption);
}

void CTurnRateTest::StartTest()
{
    lastState_ = kUnknownTrackState;
    turnEnabled_ = true;
    StartPolling();
}

void CTurnRateTest::Turn(bool left)
{
    turnEnabled_ = false;
    lastTurnLeft_ = left;
    Changed();
    BeforeTurn();
    CCalCommandMsg turn(kTrackSteeringSub, left ? kTrackTurnLeftOp : kTrackTurnRightOp);
    Link().Transact(turn);
}

bool CTurnRateTest::Poll()
{
    CTrackStatusMsg status;
    if (!Link().Transact(status))
        return false;
    leftRate_ = Format("%.2f", static_cast<double>(status.LeftTurnRate()));
    rightRate_ = Format("%.2f", static_cast<double>(status.RightTurnRate()));
    leftBar_ = static_cast<int>(status.LeftTurnRate() * 100);
    rightBar_ = static_cast<int>(status.RightTurnRate() * 100);

    CTurnRateLimitsMsg limits;
    const bool limitsRead = Link().Transact(limits);
    if (limitsRead) {
        barMinimum_ = static_cast<int>(limits.barMinimum * 100);
        barMaximum_ = static_cast<int>(limits.barMaximum * 100);
        if (status.Balance() < limits.low)
            indicator_ = TurnRateIndicator::Low;
        else if (status.Balance() > limits.high)
            indicator_ = TurnRateIndicator::High;
        else
            indicator_ = TurnRateIndicator::Centred;
    }
    const bool turning = status.state == kTrackTurningLeft || status.state == kTrackTurningRight;
    if (!turning && status.state != lastState_)
        turnEnabled_ = true;
    lastState_ = status.state;
    return limitsRead;
}

// ---------------------------------------------------------------- bias

BiasSlider BiasSliderOf(TrackVariant variant)
{
    return variant == TrackVariant::JD ? BiasSlider{200, 300} : BiasSlider{225, 275};
}

// In single precision throughout: a bias of 2.47 is position 253.
int BiasSliderPosition(float bias) { return static_cast<int>((5.0f - bias) * 100.0f); }

float BiasAtSliderPosition(int position) { return 5.0f - static_cast<float>(position) / 100.0f; }

std::string BiasText(float bias) { return Format("%1.2f", static_cast<double>(bias)); }

CTrackBiasCal::CTrackBiasCal(CPageContext& context, TrackVariant variant)
    : CTurnRateTest(context), variant_(variant), slider_(BiasSliderOf(variant))
{
}

void CTrackBiasCal::Init()
{
    k0e_.Get(Link());
    savedBias_ = k0e_.value;
    biasChanged_ = false;
    CTrackStatusMsg status;
    // Without the controller's current bias, the saved one is the best guess.
    bias_ = Link().Transact(status) ? status.CurrentBias() : savedBias_;
    position_ = std::clamp(BiasSliderPosition(bias_), slider_.minimum, slider_.maximum);
    StartTest();
    Changed();
}

void CTrackBiasCal::MoveSlider(int position)
{
    position = std::clamp(position, slider_.minimum, slider_.maximum);
    if (position == position_)
        return;
    position_ = position;
    bias_ = BiasAtSliderPosition(position);
    biasChanged_ = true;
    Changed();
}

void CTrackBiasCal::RestoreSaved()
{
    bias_ = savedBias_;
    position_ = std::clamp(BiasSliderPosition(bias_), slider_.minimum, slider_.maximum);
    Changed();
}

void CTrackBiasCal::Store()
{
    k0e_.value = bias_;
    if (k0e_.IsModified() && Asked(context_, kSaveBiasText, kSaveBiasCaption))
        k0e_.Set(Link());
}

void CTrackBiasCal::RestartBiasTest() { SendTrackCommand(Link(), kTrackMTBiasTestOp); }

void CTrackBiasCal::BeforeTurn()
{
    CTrackBiasMsg bias(bias_);
    Link().Transact(bias);
}

// ---------------------------------------------------------------- deadband

int DeadbandSliderPosition(float deadband) { return static_cast<int>(deadband * 200.0f + 0.5f); }

float DeadbandAtSliderPosition(int position) { return static_cast<float>(position) / 200.0f; }

void CDeadbandCal::Init()
{
    dk1_.Get(context_.link);
    dk0_.Get(context_.link);
    value_ = dk0_.value;
    position_ = std::clamp(DeadbandSliderPosition(value_), 0, kDeadbandSliderMaximum);
}

void CDeadbandCal::MoveSlider(int position)
{
    position = std::clamp(position, 0, kDeadbandSliderMaximum);
    if (position == position_)
        return;
    position_ = position;
    value_ = DeadbandAtSliderPosition(position);
}

std::string DeadbandText(float deadband) { return Format("%1.3f", static_cast<double>(deadband)); }

std::string CDeadbandCal::ValueText() const { return DeadbandText(value_); }

void CDeadbandCal::Store()
{
    dk0_.value = value_;
    if (!dk0_.IsModified() || !Asked(context_, kSaveDeadbandText, kSaveDeadbandCaption))
        return;
    dk0_.Set(context_.link);
    dk1_.value = value_;
    dk1_.Set(context_.link);
}

// ---------------------------------------------------------------- track spacing

CTrackSpacingCal::CTrackSpacingCal(CPageContext& context) : CTurnRateTest(context) { trw_.Get(Link()); }

void CTrackSpacingCal::Init()
{
    StartTest();
    Changed();
}

void CTrackSpacingCal::BeginEditing() { StopPolling(); }

std::optional<std::string> CTrackSpacingCal::EndEditing(const std::string& text)
{
    const TypedValue typed = ReadTypedValue(text, kMaxTrackSpacing);
    if (typed.value)
        trw_.value = *typed.value;
    StartPolling();
    Changed();
    return typed.value ? std::nullopt : std::optional<std::string>(typed.refusal);
}

void CTrackSpacingCal::Set()
{
    if (!trw_.IsModified() || !Asked(context_, kSaveSpacingText, kSaveSpacingCaption))
        return;
    trw_.Set(Link());
    trw_.Get(Link());
    Changed();
}

std::string CTrackSpacingCal::SpacingText() const { return LengthText(trw_.value, trw_.Units()); }

// ---------------------------------------------------------------- the chains

const std::vector<const char*>& TrackInstructionLines(TrackDialog dialog)
{
    static const std::vector<const char*> none;
    static const std::vector<const char*> jdSpeed = {
        "Make sure your speed is between 2.5 and 3.5 MPH when performing the calibration on the following page.",
        "The objective is to determine the bias point where the left and right turn rates (indicated by the "
        "vertical bars) are as close as possible.",
        "For instance, if the left turn rate is higher than the right, move the bias to the right and retry.",
    };
    static const std::vector<const char*> mtSpeed = {
        "Make sure your speed is between 1.0 and 2.0 MPH when performing the calibration on the following pages.",
        "The objective is to determine the bias point where the left and right turn rates (indicated by the "
        "vertical bars) are as close to the same value as possible.",
        "Adjust the bias value as required to balance the two turn rates. If the left turn rate is higher than the "
        "right, move the bias to the right and retry.",
    };
    static const std::vector<const char*> mtDeadband = {
        "Start by setting the deadband value to 0.06.  Use the center bias adjustment to balance the left and right "
        "turn rates. ",
        "Reduce the deadband value until the turn rate bars are barely filled. Once that value has been determined, "
        "lower the deadband value by one more increment to obtain the final value. ",
    };
    static const std::vector<const char*> mtSpacing = {
        "The objective of the next test is to find the track spacing value which causes the turn rate bars to be "
        "filled half way.",
        "Increase the track spacing value to increase the turn rate (fill the bars).  Decrease the track spacing "
        "value to decrease the turn rate (empty the bars).",
    };
    switch (dialog) {
    case TrackDialog::JDSpeed:
        return jdSpeed;
    case TrackDialog::MTSpeed:
        return mtSpeed;
    case TrackDialog::MTDeadbandInstructions:
        return mtDeadband;
    case TrackDialog::MTSpacingInstructions:
        return mtSpacing;
    default:
        return none;
    }
}

void CTrackSteeringChain::BeginCalibration() { SendTrackCommand(context_.link, kTrackBeginOp); }

void CTrackSteeringChain::EndCalibration() { SendTrackCommand(context_.link, kTrackEndOp); }

void CTrackSteeringChain::Run(const Runner& run)
{
    // Every dialog of the chain is made as it begins; the track spacing
    // dialog reads trw then.
    gyroBias_ = std::make_unique<CGyroBiasCal>(context_);
    bias_ = std::make_unique<CTrackBiasCal>(context_, variant_);
    spacing_.reset();
    if (variant_ == TrackVariant::MT)
        spacing_ = std::make_unique<CTrackSpacingCal>(context_);
    if (variant_ == TrackVariant::JD)
        RunJD(run);
    else
        RunMT(run);
}

void CTrackSteeringChain::RunJD(const Runner& run)
{
    if (run(TrackDialog::GyroBias) != kTrackDialogNext)
        return;
    if (run(TrackDialog::JDSpeed) != kTrackDialogNext)
        return;
    SendTrackCommand(context_.link, kTrackJDBiasTestOp);
    run(TrackDialog::JDBias);
}

void CTrackSteeringChain::RunMT(const Runner& run)
{
    int state = 1;
    while (state != 0) {
        int result = 0;
        switch (state) {
        case 1:
            result = run(TrackDialog::GyroBias);
            break;
        case 2:
            result = run(TrackDialog::MTSpeed);
            break;
        case 3:
            result = run(TrackDialog::MTDeadbandInstructions);
            break;
        case 4:
            SendTrackCommand(context_.link, kTrackMTBiasTestOp);
            result = run(TrackDialog::MTBias);
            break;
        case 5:
            result = run(TrackDialog::MTSpacingInstructions);
            break;
        case 6:
            SendTrackCommand(context_.link, kTrackSpacingTestOp);
            result = run(TrackDialog::TrackSpacing);
            state = result == kTrackDialogBack ? 4 : 0;
            continue;
        default:
            break;
        }
        state = result == kTrackDialogNext ? state + 1 : 0;
    }
}

} // namespace halcyra
