#include "calibration/PGainCal.h"

#include "calibration/CalibrationMessages.h"
#include "link/ControllerLink.h"
#include "link/Format.h"
#include "link/MessageIds.h"
#include "link/Notifier.h"
#include "pages/PageFields.h"

#include <algorithm>
#include <array>

namespace halcyra {

using namespace wire::calibration;

namespace {

constexpr std::array<const char*, kGainInstructions> kInstructions = {
    "1. Only proceed if the steering sensor calibration has been performed. Press Next.",
    "2. Make sure the tractor is slowly moving forward. Press Next.",
    "3. Caution - the wheels will move abruptly during this test! Press Next.",
    "4. By pressing Turn Left and Right and adjusting the Gain, determine the value that minimizes both the slew "
    "time and overshoot percentage. Press Ok when completed.",
};

std::string GainText(float gain) { return Format("%g", static_cast<double>(gain)); }

} // namespace

const char* GainInstruction(int step) { return kInstructions.at(static_cast<std::size_t>(step)); }

CPGainCal::CPGainCal(CPageContext& context, CParamSet& pageParams) : CCalProcedure(context), pgr_("pgr", &pageParams)
{
}

bool CPGainCal::ReadStatus()
{
    CGainTestStatusMsg status;
    if (!Link().Transact(status))
        return false;
    loopValue2_ = status.values[1];
    loopValue3_ = status.values[2];
    return true;
}

void CPGainCal::Begin(bool reportFailure)
{
    CGainTestCommandMsg begin(kGainBeginOp);
    if (!Link().Transact(begin) && reportFailure)
        context_.notifier.Notify(kGainStartErrorText, kGainStartErrorCaption, MsgButtons::Ok, MsgIcon::None);
    CGainTestStatusMsg status;
    if (Link().Transact(status)) {
        testGain_ = status.Gain();
        savedGain_ = pgr_.value;
        loopValue2_ = status.values[1];
        loopValue3_ = status.values[2];
    }
}

void CPGainCal::MoveValuesToFields()
{
    shown_ = {GainText(testGain_), GainText(savedGain_), slewText_, overshootText_};
    ++fieldsMoved_;
}

void CPGainCal::Init()
{
    // A new run of the sheet starts as a new window would: the turn buttons
    // enabled, whatever turn a run closed in the middle of left them in.
    step_ = 0;
    turnEnabled_ = true;
    Begin(true);
    editing_ = false;
    reArm_ = false;
    MoveValuesToFields();
    Changed();
}

void CPGainCal::Show()
{
    if (!reArm_)
        return;
    reArm_ = false;
    step_ = 0;
    Begin(false);
    slewText_ = overshootText_ = " ";
    MoveValuesToFields();
    Changed();
}

void CPGainCal::Leave()
{
    StopPolling();
    pgr_.value = testGain_;
    CGainTestCommandMsg end(kGainEndOp);
    Link().Transact(end);
    reArm_ = true;
}

void CPGainCal::Cancel()
{
    StopPolling();
    CGainTestCommandMsg end(kGainEndOp);
    Link().Transact(end);
}

void CPGainCal::Next()
{
    if (step_ < 2) {
        ++step_;
    } else if (step_ == 2) {
        step_ = 3;
        StartPolling();
    }
    Changed();
}

void CPGainCal::Turn(bool left)
{
    // The test setup carries the loop values of a fresh status.
    if (!ReadStatus())
        return;
    CGainTestSetupMsg setup(testGain_, loopValue2_, loopValue3_);
    Link().Transact(setup);
    CGainTestCommandMsg turn(left ? kTurnLeftOp : kTurnRightOp);
    Link().Transact(turn);
}

void CPGainCal::Spin(int stepsUp)
{
    // The steps stay within the gains the field accepts.
    testGain_ = std::clamp(testGain_ + kGainSpinStep * static_cast<float>(stepsUp), kMinGain, kMaxGain);
    MoveValuesToFields();
    Changed();
}

void CPGainCal::BeginEditing() { editing_ = true; }

std::optional<std::string> CPGainCal::EnterGain(const std::string& text, bool finished)
{
    editing_ = true;
    const FieldSpec gain = field::Edit("gain", "Gain:", CFieldValue::Number(testGain_)).Range(kMinGain, kMaxGain);
    std::optional<std::string> refused = StoreFieldText(gain, text, nullptr);
    if (finished) {
        editing_ = false;
        MoveValuesToFields();
        Changed();
    }
    return refused;
}

bool CPGainCal::Poll()
{
    CGainTestStatusMsg status;
    const bool statusRead = Link().Transact(status);
    if (statusRead) {
        slewText_ = Format("%.0f ms", static_cast<double>(status.SlewMs()));
        overshootText_ = Format("%.0f %%", static_cast<double>(status.OvershootPercent()));
    }
    CTurnStateMsg turn;
    const bool turnRead = Link().Transact(turn);
    if (turnRead && turn.state != kTurnNoState)
        turnEnabled_ = turn.state != kTurningLeft && turn.state != kTurningRight;
    if (!editing_)
        MoveValuesToFields();
    return statusRead && turnRead;
}

} // namespace halcyra
