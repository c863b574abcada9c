// The pump knee and pump response calibrations against the simulated
// controller, with the page's ticks on a manual clock.

#include "CalRig.h"
#include "calibration/PumpCal.h"
#include "link/MessageIds.h"
#include "pages/PageLogic.h"
#include "sim/PumpFeature.h"

#include <gtest/gtest.h>

using namespace halcyra;
using namespace halcyra::test;
using namespace std::chrono_literals;

namespace {

namespace cal = wire::calibration;

template <typename Cal> struct PumpRig : CalRig {
    PumpRig() : cal(context, logic.params)
    {
        SetParam("dk1", "0.300000");
        SetParam("dk0", "1.500000");
        logic.FetchAll(ipc.link);
        cal.Init();
        sent.clear();
    }
    // The operations of one sub-code sent since the last clear, in order.
    std::vector<int> Operations(std::uint8_t subCode) const
    {
        std::vector<int> ops;
        for (const sim::Request& r : sent)
            if (r.messageId == wire::kCalibrationMsg && r.SubCode() == subCode)
                ops.push_back(r.Operation());
        return ops;
    }
    sim::CPumpFeature& Pumps() { return ipc.controller.Feature<sim::CPumpFeature>(); }

    CPageLogic logic;
    Cal cal;
};

using KneeRig = PumpRig<CPumpKneeCal>;
using ResponseRig = PumpRig<CPumpResponseCal>;

void ToTheKneeTest(KneeRig& rig)
{
    rig.cal.Next();
    rig.Advance(sim::CPumpFeature::kGyroTime + 500ms);
    ASSERT_EQ(2, rig.cal.Step());
    rig.cal.Next();
    ASSERT_EQ(3, rig.cal.Step());
}

} // namespace

TEST(PumpKneeCal, SpinsBeforeTheTestStillSendTheKneesAndSteppingStopsAtZero)
{
    KneeRig rig;
    CPumpKneeCal& cal = rig.cal;
    EXPECT_FLOAT_EQ(0.3f, cal.Knee(true));
    EXPECT_FLOAT_EQ(1.5f, cal.SavedKnee(false));

    // Before the last instruction the knees stay, but the controller is told them.
    cal.Spin(true, -1);
    EXPECT_FLOAT_EQ(0.3f, cal.Knee(true));
    EXPECT_EQ((std::vector<int>{cal::kKneeSetOp}), rig.Operations(cal::kPumpKneeSub));
    EXPECT_FLOAT_EQ(0.3f, rig.Pumps().TestKnee(true));

    ToTheKneeTest(rig);
    cal.Spin(true, -1);
    EXPECT_FLOAT_EQ(0.0f, cal.Knee(true));
    EXPECT_FLOAT_EQ(0.0f, rig.Pumps().TestKnee(true));
    cal.Spin(false, 2);
    EXPECT_FLOAT_EQ(2.5f, cal.Knee(false));

    // Leaving makes the knees the parameters' values: left is dk1, right dk0.
    rig.sent.clear();
    cal.Leave();
    EXPECT_EQ((std::vector<int>{cal::kKneeEndOp}), rig.Operations(cal::kPumpKneeSub));
    EXPECT_EQ(std::vector<std::string>{}, rig.TakeSets());
    EXPECT_TRUE(rig.logic.params.AnyModified());
    rig.logic.params.SetModified(rig.ipc.link);
    EXPECT_EQ("0.000000", rig.Param("dk1"));
    EXPECT_EQ("2.500000", rig.Param("dk0"));
}

TEST(PumpKneeCal, TheGyroWaitEndsOnlyOnAStateReadAndTheButtonsFollowChangesOfState)
{
    KneeRig rig;
    CPumpKneeCal& cal = rig.cal;
    cal.Next();
    EXPECT_EQ("Wait", std::string(cal.NextText()));
    EXPECT_FALSE(cal.NextEnabled());
    rig.Advance(sim::CPumpFeature::kGyroTime - 250ms);
    EXPECT_EQ(1, cal.Step());
    // The cable is pulled as the bias is done (each failed read takes its
    // three tries of a second): the wait goes on past it.
    rig.silent = true;
    rig.Advance(500ms);
    EXPECT_EQ(1, cal.Step());
    EXPECT_EQ(1u, rig.Boxes().size());
    rig.silent = false;
    rig.Advance(250ms);
    EXPECT_EQ(2, cal.Step());
    EXPECT_FALSE(cal.IsPolling());

    cal.Next();
    EXPECT_TRUE(cal.TurnShown() && !cal.NextShown());
    cal.Turn(false);
    const int set = cal.TurnButtonsSet();
    rig.Advance(250ms);
    EXPECT_EQ(set + 1, cal.TurnButtonsSet());
    EXPECT_EQ("Stop", std::string(cal.TurnText(false)));
    EXPECT_FALSE(cal.TurnEnabled(true));
    // The same state again leaves the buttons as they are.
    rig.Advance(250ms);
    EXPECT_EQ(set + 1, cal.TurnButtonsSet());
    EXPECT_NE("", cal.TurnRateText());

    // The same message stops the turn.
    cal.Turn(false);
    rig.Advance(250ms);
    EXPECT_EQ(set + 2, cal.TurnButtonsSet());
    EXPECT_EQ("Turn Right", std::string(cal.TurnText(false)));
    EXPECT_TRUE(cal.TurnEnabled(true) && cal.TurnEnabled(false));
}

TEST(PumpKneeCal, ATurnEitherWayStopsWithItsOwnButtonWhileTheOtherWaits)
{
    for (const bool left : {true, false}) {
        KneeRig rig;
        ToTheKneeTest(rig);
        rig.cal.Turn(left);
        rig.Advance(250ms);
        EXPECT_EQ(left ? 9 : 8, rig.Pumps().KneeState()) << (left ? "left" : "right");
        EXPECT_EQ("Stop", std::string(rig.cal.TurnText(left)));
        EXPECT_EQ(left ? "Turn Right" : "Turn Left", std::string(rig.cal.TurnText(!left)));
        EXPECT_TRUE(rig.cal.TurnEnabled(left));
        EXPECT_FALSE(rig.cal.TurnEnabled(!left));
    }
}

TEST(PumpCal, CancellingEitherPageEndsTheControllersTestAndItsTicks)
{
    KneeRig knee;
    ToTheKneeTest(knee);
    knee.sent.clear();
    knee.cal.Cancel();
    EXPECT_EQ((std::vector<int>{1}), knee.Operations(0x08));
    EXPECT_FALSE(knee.cal.IsPolling());
    EXPECT_FALSE(knee.Pumps().KneeActive());
    EXPECT_TRUE(knee.TakeSets().empty());

    ResponseRig response;
    response.cal.Next();
    response.cal.Next();
    response.cal.PerformTest();
    response.sent.clear();
    response.cal.Cancel();
    EXPECT_EQ((std::vector<int>{1}), response.Operations(0x07));
    EXPECT_FALSE(response.cal.IsPolling());
}

TEST(PumpKneeCal, ComingBackBeginsAgainWithTheKneesJustRead)
{
    KneeRig rig;
    ToTheKneeTest(rig);
    rig.cal.Spin(false, 1);
    rig.cal.Leave();
    rig.logic.params.SetModified(rig.ipc.link);
    rig.sent.clear();
    rig.cal.Show();
    EXPECT_EQ(0, rig.cal.Step());
    EXPECT_FALSE(rig.cal.TurnShown());
    EXPECT_FLOAT_EQ(2.0f, rig.cal.SavedKnee(false));
    EXPECT_EQ((std::vector<int>{cal::kKneeBeginOp}), rig.Operations(cal::kPumpKneeSub));
    EXPECT_TRUE(rig.Pumps().KneeActive());
}

TEST(PumpResponseCal, GainsGoRightBeforeLeftAndTheTestEndsWithTheRightRiseTime)
{
    ResponseRig rig;
    CPumpResponseCal& cal = rig.cal;
    rig.cal.Next();
    EXPECT_FALSE(cal.TestShown());
    rig.cal.Next();
    EXPECT_TRUE(cal.TestShown() && !cal.NextShown());

    cal.EnterGain(true, "2");
    cal.EnterGain(false, "3");
    cal.PerformTest();
    EXPECT_FLOAT_EQ(2.0f, rig.Pumps().TestGain(true));
    EXPECT_FLOAT_EQ(3.0f, rig.Pumps().TestGain(false));
    EXPECT_FALSE(cal.GainsEnabled() || cal.TestEnabled());

    // A status with a right rise time ends the test, though the left has none.
    bool withLeft = false;
    rig.withhold = [&](const sim::Request& r) {
        if (r.SubCode() != cal::kPumpResponseSub || r.Operation() != cal::kResponseStatusOp)
            return false;
        rig.ipc.port.Feed(sim::CSimController::FrameReply(sim::ReplyBuilder(r)
                                                              .U8(cal::kResponseReady)
                                                              .U32(withLeft ? 90 : 0)
                                                              .F32(4.5f)
                                                              .F32(0)
                                                              .U32(0)
                                                              .F32(7.25f)
                                                              .F32(0)
                                                              .Build()));
        return true;
    };
    rig.Advance(250ms);
    EXPECT_TRUE(cal.IsPolling());
    EXPECT_TRUE(cal.TestEnabled());
    EXPECT_FALSE(cal.GainsEnabled());
    withLeft = true;
    rig.Advance(250ms);
    EXPECT_FALSE(cal.IsPolling());
    EXPECT_TRUE(cal.GainsEnabled());
    EXPECT_EQ("90", cal.RiseTimeText(false));
    EXPECT_EQ("0", cal.RiseTimeText(true));
    EXPECT_EQ("4.5 %", cal.OvershootText(false));
    EXPECT_EQ("7.2 %", cal.OvershootText(true));
}

TEST(PumpResponseCal, WhileThePumpsRiseOrSettleTheTestCannotBePerformedAgain)
{
    ResponseRig rig;
    CPumpResponseCal& cal = rig.cal;
    cal.Next();
    cal.Next();
    cal.PerformTest();
    std::uint8_t state = 0;
    rig.withhold = [&](const sim::Request& r) {
        if (r.SubCode() != cal::kPumpResponseSub || r.Operation() != cal::kResponseStatusOp)
            return false;
        rig.ipc.port.Feed(sim::CSimController::FrameReply(
            sim::ReplyBuilder(r).U8(state).U32(0).F32(0).F32(0).U32(0).F32(0).F32(0).Build()));
        return true;
    };
    for (const std::uint8_t busy : {std::uint8_t{2}, std::uint8_t{3}, std::uint8_t{2}}) {
        state = busy;
        rig.Advance(250ms);
        EXPECT_FALSE(cal.TestEnabled()) << "state " << int(busy);
        EXPECT_TRUE(cal.IsPolling());
    }
    state = 1;
    rig.Advance(250ms);
    EXPECT_TRUE(cal.TestEnabled());
    state = 3;
    rig.Advance(250ms);
    EXPECT_FALSE(cal.TestEnabled());
}

TEST(PumpResponseCal, TheSimulatedTestReportsBothPumpsAndLeavingSavesTheGains)
{
    ResponseRig rig;
    CPumpResponseCal& cal = rig.cal;
    cal.Next();
    cal.Next();
    cal.EnterGain(false, "1.5");
    cal.PerformTest();
    rig.Advance(sim::CPumpFeature::kResponseTime + 500ms);
    EXPECT_FALSE(cal.IsPolling());
    EXPECT_EQ(std::to_string(sim::CPumpFeature::RiseMs(1.5f, false)), cal.RiseTimeText(false));
    EXPECT_EQ(std::to_string(sim::CPumpFeature::RiseMs(1.0f, true)), cal.RiseTimeText(true));

    rig.sent.clear();
    cal.Leave();
    EXPECT_EQ((std::vector<int>{cal::kResponseEndOp}), rig.Operations(cal::kPumpResponseSub));
    rig.logic.params.SetModified(rig.ipc.link);
    EXPECT_EQ("1.500000", rig.Param("igr"));
    // Coming back begins the controller's test again, so a test can run.
    rig.sent.clear();
    cal.Show();
    EXPECT_EQ(0, cal.Step());
    EXPECT_EQ((std::vector<int>{cal::kResponseBeginOp}), rig.Operations(cal::kPumpResponseSub));
}
