// The steering gain test against the simulated controller, with the page's
// ticks on a manual clock.

#include "CalRig.h"
#include "calibration/CalibrationMessages.h"
#include "calibration/PGainCal.h"
#include "link/Format.h"
#include "link/MessageIds.h"
#include "pages/PageLogic.h"
#include "sim/GainTestFeature.h"

#include <gtest/gtest.h>

using namespace halcyra;
using namespace halcyra::test;
using namespace std::chrono_literals;

namespace {

namespace cal = wire::calibration;

struct GainRig : CalRig {
    explicit GainRig(sim::SimSettings settings = Options({{"gain-turn-ms", "500"}}))
        : CalRig(std::move(settings)), cal(context, logic.params)
    {
        logic.FetchAll(ipc.link);
        cal.Init();
    }
    void ToTheTest()
    {
        for (int press = 0; press < 3; ++press)
            cal.Next();
    }
    // The gain test operations sent, in order.
    std::vector<int> GainOperations() const
    {
        std::vector<int> ops;
        for (const sim::Request& r : sent)
            if (r.messageId == wire::kCalibrationMsg && r.SubCode() == cal::kGainTestSub)
                ops.push_back(r.Operation());
        return ops;
    }
    sim::CGainTestFeature& Test() { return ipc.controller.Feature<sim::CGainTestFeature>(); }

    CPageLogic logic;
    CPGainCal cal;
};

} // namespace

TEST(PGainCal, TheTestBeginsAtOnceAndTurnsWithTheTestGainFromTheLastInstruction)
{
    GainRig rig;
    CPGainCal& cal = rig.cal;
    EXPECT_EQ((std::vector<int>{cal::kGainBeginOp, cal::kGainStatusOp}), rig.GainOperations());
    EXPECT_TRUE(rig.Test().Active());
    EXPECT_EQ("12", cal.Shown().gain);
    EXPECT_EQ("12", cal.Shown().savedGain);
    EXPECT_EQ("1. Only proceed if the steering sensor calibration has been performed. Press Next.",
              std::string(cal.Instruction()));
    EXPECT_FALSE(cal.GainEnabled() || cal.TurnShown());

    cal.Next();
    cal.Next();
    EXPECT_EQ("3. Caution - the wheels will move abruptly during this test! Press Next.", std::string(cal.Instruction()));
    EXPECT_FALSE(cal.IsPolling());
    cal.Next();
    EXPECT_EQ(3, cal.Step());
    EXPECT_FALSE(cal.NextShown());
    EXPECT_TRUE(cal.TurnShown() && cal.GainEnabled() && cal.IsPolling());

    rig.sent.clear();
    cal.EnterGain("8", true);
    cal.Turn(true);
    EXPECT_EQ((std::vector<int>{cal::kGainStatusOp, cal::kGainSetupOp, cal::kTurnLeftOp}), rig.GainOperations());
    EXPECT_FLOAT_EQ(8.0f, rig.Test().Gain());
    rig.Advance(750ms);
    EXPECT_EQ(1, rig.Test().Turns());
    EXPECT_EQ(Format("%.0f ms", static_cast<double>(sim::CGainTestFeature::SlewMs(8))), cal.Shown().slew);
    EXPECT_EQ(Format("%.0f %%", static_cast<double>(sim::CGainTestFeature::OvershootPercent(8))), cal.Shown().overshoot);
    EXPECT_EQ("4 %", cal.Shown().overshoot);

    // Without a status no turn is asked for.
    rig.sent.clear();
    rig.withhold = [](const sim::Request& r) { return r.messageId == wire::kCalibrationMsg; };
    cal.Turn(false);
    EXPECT_EQ(std::vector<int>(3, cal::kGainStatusOp), rig.GainOperations()) << "three tries of the status only";
}

TEST(PGainCal, TurnButtonsFollowTheTurnStateAndStateZeroLeavesThemAsTheyWere)
{
    GainRig rig;
    CPGainCal& cal = rig.cal;
    rig.ToTheTest();
    const auto turnState = [&](std::uint8_t expected) {
        rig.Advance(250ms);
        EXPECT_EQ(expected, rig.Test().TurnState());
        return cal.TurnEnabled();
    };
    EXPECT_TRUE(turnState(cal::kTurnReady));
    cal.Turn(false);
    EXPECT_FALSE(turnState(cal::kTurningRight));
    CGainTestCommandMsg end(cal::kGainEndOp);
    ASSERT_TRUE(rig.ipc.link.Transact(end));
    EXPECT_FALSE(turnState(cal::kTurnNoState));
    CGainTestCommandMsg begin(cal::kGainBeginOp);
    ASSERT_TRUE(rig.ipc.link.Transact(begin));
    EXPECT_TRUE(turnState(cal::kTurnReady));
    cal.Turn(true);
    EXPECT_FALSE(turnState(cal::kTurningLeft));
    rig.Advance(250ms);
    EXPECT_TRUE(turnState(cal::kTurnDone));
}

TEST(PGainCal, ANewRunOfTheSheetEnablesTheTurnButtonsASheetClosedMidTurnLeftDisabled)
{
    GainRig rig(Options({{"gain-turn-ms", "60000"}}));
    CPGainCal& cal = rig.cal;
    rig.ToTheTest();
    cal.Turn(false);
    rig.Advance(250ms);
    ASSERT_FALSE(cal.TurnEnabled());
    cal.StopPolling(); // the sheet closes mid-turn, the page not left
    rig.logic.FetchAll(rig.ipc.link);
    cal.Init();
    EXPECT_TRUE(cal.TurnEnabled());
    EXPECT_EQ(0, cal.Step());
}

TEST(PGainCal, TheSpinStepsByHalvesWithinTheFieldsRange)
{
    GainRig rig;
    CPGainCal& cal = rig.cal;
    rig.ToTheTest();
    ASSERT_FALSE(cal.EnterGain("10", true));
    for (int press = 0; press < 3; ++press)
        cal.Spin(1);
    EXPECT_FLOAT_EQ(11.5f, cal.TestGain());
    EXPECT_EQ("11.5", cal.Shown().gain);
    cal.Spin(-2);
    EXPECT_FLOAT_EQ(10.5f, cal.TestGain());

    cal.EnterGain("0.5", true);
    cal.Spin(-3);
    EXPECT_FLOAT_EQ(0.0f, cal.TestGain());
    cal.EnterGain("9999", true);
    cal.Spin(1);
    EXPECT_FLOAT_EQ(9999.0f, cal.TestGain());
}

TEST(PGainCal, AGainOutsideTheRangeIsRefusedAndTheTestGainKept)
{
    GainRig rig;
    rig.ToTheTest();
    EXPECT_FALSE(rig.cal.EnterGain("14.5", true));
    for (const char* text : {"10000", "-1", "abc", ""}) {
        EXPECT_EQ("Please enter a number between 0 and 9999.", rig.cal.EnterGain(text, true)) << text;
        EXPECT_FLOAT_EQ(14.5f, rig.cal.TestGain());
        EXPECT_EQ("14.5", rig.cal.Shown().gain);
    }
}

TEST(PGainCal, WhileTheUserTypesTheFieldsKeepTheirTextsAndCatchUpWhenTheFieldIsLeft)
{
    GainRig rig;
    CPGainCal& cal = rig.cal;
    rig.ToTheTest();
    cal.Turn(false);
    cal.BeginEditing();
    cal.EnterGain("1", false);
    rig.Advance(750ms); // the turn ends: a new slew time and overshoot
    EXPECT_EQ("", cal.Shown().slew);
    EXPECT_EQ("12", cal.Shown().gain);
    EXPECT_FLOAT_EQ(1.0f, cal.TestGain());

    cal.EnterGain("15", true);
    EXPECT_FALSE(cal.Editing());
    EXPECT_EQ("15", cal.Shown().gain);
    EXPECT_EQ(Format("%.0f ms", static_cast<double>(sim::CGainTestFeature::SlewMs(12))), cal.Shown().slew);
}

TEST(PGainCal, LeavingMakesTheTestGainPgrAndAsksToSaveOnlyWhenItChanged)
{
    GainRig rig;
    CPGainCal& cal = rig.cal;
    rig.ToTheTest();
    rig.sent.clear();
    cal.Leave();
    rig.logic.OnLeave(rig.ipc.link);
    EXPECT_TRUE(rig.Boxes().empty()) << "the test gain is the saved one";
    EXPECT_EQ(std::vector<int>{cal::kGainEndOp}, rig.GainOperations());
    EXPECT_FALSE(cal.IsPolling());
    EXPECT_FALSE(rig.Test().Active());

    // Coming back begins the test again at the first instruction.
    rig.sent.clear();
    cal.Show();
    rig.logic.FetchAll(rig.ipc.link);
    EXPECT_EQ((std::vector<int>{cal::kGainBeginOp, cal::kGainStatusOp}), rig.GainOperations());
    EXPECT_EQ(0, cal.Step());
    EXPECT_TRUE(cal.NextShown());
    EXPECT_EQ(" ", cal.Shown().slew);
    rig.ToTheTest();
    cal.Spin(1);
    cal.Leave();
    rig.logic.OnLeave(rig.ipc.link);
    EXPECT_EQ(std::vector<std::string>{"Save Changes?"}, rig.Boxes());
    EXPECT_EQ("12.500000", rig.Param("pgr"));

    // Cancel ends the test without touching pgr.
    cal.Show();
    rig.sent.clear();
    cal.Cancel();
    EXPECT_EQ(std::vector<int>{cal::kGainEndOp}, rig.GainOperations());
}

TEST(PGainCal, ATestThatDoesNotBeginIsReportedOnlyWhenThePageIsCreated)
{
    CalRig rig;
    rig.withhold = [](const sim::Request& r) {
        return r.messageId == wire::kCalibrationMsg && r.Operation() == cal::kGainBeginOp;
    };
    CPageLogic logic;
    CPGainCal cal(rig.context, logic.params);
    cal.Init();
    EXPECT_EQ((std::vector<std::string>{"Communication Error Occured", "Error"}), rig.Boxes());
    EXPECT_EQ("Start msg failure error", rig.ipc.notifier.shown[1].caption);
    cal.Leave();
    rig.ipc.notifier.shown.clear();
    cal.Show();
    EXPECT_EQ(std::vector<std::string>{"Communication Error Occured"}, rig.Boxes());
}
