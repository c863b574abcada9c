// The steering sensor calibrations against the simulated controller, with
// the page's ticks on a manual clock.

#include "CalRig.h"
#include "calibration/SteerSensorCal.h"
#include "link/MessageIds.h"

#include <gtest/gtest.h>

using namespace halcyra;
using namespace halcyra::test;
using namespace std::chrono_literals;

namespace {

namespace cal = wire::calibration;

// The sensor calibration commands sent, in order.
std::vector<int> SensorCommands(const std::vector<sim::Request>& sent)
{
    std::vector<int> commands;
    for (const sim::Request& r : sent)
        if (r.messageId == wire::kCalibrationMsg && r.SubCode() == cal::kSteerSensorSub &&
            r.Operation() == cal::kSensorCommandOp) {
            EXPECT_EQ(0xBF, r.packetCode);
            commands.push_back(r.Payload().at(0));
        }
    return commands;
}

} // namespace

TEST(SteerSensorCal, TheWizardRecordsLeftRightStraightThenStoresAndRestartsWithoutAMessage)
{
    CalRig rig;
    CSteerSensorCal cal(rig.context);
    cal.Init();
    EXPECT_EQ("1. Move Tractor Forward Slowly and Press Next", std::string(cal.Instruction()));
    EXPECT_EQ("0.0", cal.VoltsText());

    const int before = rig.ipc.requests;
    cal.Press(); // step 1 only informs
    EXPECT_EQ(before, rig.ipc.requests);
    EXPECT_EQ(2, cal.Step());
    EXPECT_FALSE(cal.AngleShown());

    cal.Press();
    cal.Press();
    EXPECT_EQ("4. Steer Straight and Press Next", std::string(cal.Instruction()));
    cal.Press();
    EXPECT_EQ(5, cal.Step());
    EXPECT_EQ("5. Press Restart to Repeat the Test", std::string(cal.Instruction()));
    EXPECT_EQ("Restart", std::string(cal.ButtonText()));
    EXPECT_TRUE(cal.AngleShown());
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3}), SensorCommands(rig.sent));

    const int done = rig.ipc.requests;
    cal.Press();
    EXPECT_EQ(done, rig.ipc.requests);
    EXPECT_EQ(1, cal.Step());
    EXPECT_EQ("Next >>", std::string(cal.ButtonText()));
    EXPECT_TRUE(rig.Boxes().empty());
}

TEST(SteerSensorCal, ARejectedPointShowsTheWarningAndKeepsTheStepUntilATryIsAccepted)
{
    CalRig rig(Options({{"sensor-reject", "right"}}));
    CSteerSensorCal cal(rig.context);
    cal.Init();
    cal.Press();
    cal.Press();
    ASSERT_EQ(3, cal.Step());
    cal.Press();
    EXPECT_EQ(3, cal.Step());
    EXPECT_EQ("3. Steer Full Right and Press Next", std::string(cal.Instruction()));
    EXPECT_TRUE(cal.WarningShown());
    cal.Press();
    EXPECT_FALSE(cal.WarningShown());
    EXPECT_EQ(4, cal.Step());
    EXPECT_EQ((std::vector<int>{0, 1, 1}), SensorCommands(rig.sent));
}

TEST(SteerSensorCal, AFailedCommandKeepsItsStepWithTheExchangesBoxAlone)
{
    for (int step = 2; step <= 4; ++step) {
        CalRig rig;
        CSteerSensorCal cal(rig.context);
        cal.Init();
        while (cal.Step() < step)
            cal.Press();
        const std::uint8_t point = static_cast<std::uint8_t>(step - 2); // left, right, straight
        rig.ipc.damaged = [point](const sim::Request& r) {
            return r.messageId == wire::kCalibrationMsg && r.SubCode() == cal::kSteerSensorSub &&
                   r.Operation() == cal::kSensorCommandOp && r.Payload().at(0) == point;
        };
        rig.sent.clear();
        cal.Press();
        EXPECT_EQ(step, cal.Step());
        EXPECT_FALSE(cal.WarningShown()) << step;
        EXPECT_EQ(std::vector<std::string>{"Communication Error Occured"}, rig.Boxes()) << step;
        EXPECT_EQ(std::vector<int>(3, point), SensorCommands(rig.sent)) << "three tries, no store";
    }
}

TEST(SteerSensorCal, ARejectedStraightAheadPointStoresNothing)
{
    CalRig rig(Options({{"sensor-reject", "straight"}}));
    CSteerSensorCal cal(rig.context);
    cal.Init();
    for (int press = 0; press < 4; ++press)
        cal.Press();
    EXPECT_EQ(4, cal.Step());
    EXPECT_TRUE(cal.WarningShown());
    EXPECT_EQ((std::vector<int>{0, 1, 2}), SensorCommands(rig.sent)) << "no command 3";
    cal.Press();
    EXPECT_EQ(5, cal.Step());
    EXPECT_EQ((std::vector<int>{0, 1, 2, 2, 3}), SensorCommands(rig.sent));
}

TEST(SteerSensorCal, ANewRunOfTheSheetShowsNoWarningFromTheLast)
{
    CalRig rig(Options({{"sensor-reject", "left"}}));
    CSteerSensorCal cal(rig.context);
    cal.Init();
    cal.Press();
    cal.Press();
    ASSERT_TRUE(cal.WarningShown());
    cal.StopPolling(); // the sheet closes without the page being left
    cal.Init();
    EXPECT_FALSE(cal.WarningShown());
    EXPECT_EQ(1, cal.Step());
}

TEST(SteerSensorCal, ReadsTheSensorFourTimesASecondAndWaitsWhenItCannot)
{
    CalRig rig;
    CSteerSensorCal cal(rig.context);
    int shown = 0;
    cal.onChanged = [&] { ++shown; };
    cal.Init();
    rig.Advance(3000ms); // a quarter of the wheel's swing: full right
    EXPECT_EQ("4.60", cal.VoltsText());
    EXPECT_EQ("35.00", cal.AngleText());
    EXPECT_GE(shown, 12);

    // Readings go out with packet code 0xBF.
    const std::size_t readings = rig.sent.size();
    rig.Advance(250ms);
    ASSERT_EQ(readings + 1, rig.sent.size());
    EXPECT_EQ(0xBF, rig.sent.back().packetCode);

    rig.withhold = [](const sim::Request& r) { return r.messageId == wire::kCalibrationMsg; };
    rig.Advance(250ms);
    EXPECT_EQ("Wait", cal.VoltsText());
    EXPECT_EQ("Wait", cal.AngleText());
}

TEST(SteerSensorCal, LeavingMidWizardStopsTheReadingsAndComingBackStartsAtInstructionOne)
{
    CalRig rig(Options({{"sensor-reject", "left"}}));
    CSteerSensorCal cal(rig.context);
    cal.Init();
    cal.Press();
    cal.Press(); // rejected: the warning shows
    ASSERT_TRUE(cal.WarningShown());
    cal.Leave();
    const int requests = rig.ipc.requests;
    rig.Advance(1000ms);
    EXPECT_EQ(requests, rig.ipc.requests);

    cal.Show();
    EXPECT_EQ(1, cal.Step());
    EXPECT_TRUE(cal.AngleShown());
    EXPECT_FALSE(cal.WarningShown());
    rig.Advance(250ms);
    EXPECT_EQ(requests + 1, rig.ipc.requests);
    // Showing it again without leaving keeps the step.
    cal.Press();
    cal.Show();
    EXPECT_EQ(2, cal.Step());

    // A completed wizard comes back at instruction 1 with its button to match.
    for (int press = 0; press < 4 && cal.Step() < 5; ++press)
        cal.Press();
    ASSERT_EQ(5, cal.Step());
    cal.Leave();
    cal.Show();
    EXPECT_EQ("Next >>", std::string(cal.ButtonText()));
}

TEST(SteerSensorCal, AnUnpluggedControllerShowsOneBoxAndThePageRecoversWhenItAnswers)
{
    CalRig rig;
    CSteerSensorCal cal(rig.context);
    cal.Init();
    rig.Advance(500ms);
    ASSERT_TRUE(rig.Boxes().empty());

    rig.silent = true; // each failed reading takes its three tries of a second
    rig.Advance(500ms);
    EXPECT_EQ(std::vector<std::string>{"Communication Error Occured"}, rig.Boxes());
    EXPECT_EQ("Wait", cal.VoltsText());
    EXPECT_TRUE(cal.InOutage());
    EXPECT_TRUE(cal.IsPolling());

    rig.silent = false;
    rig.Advance(250ms);
    EXPECT_FALSE(cal.InOutage());
    EXPECT_NE("Wait", cal.VoltsText());
    EXPECT_EQ(1u, rig.Boxes().size());
}

TEST(ImplSteerSensorCal, StartRunsTheControllersCalibrationAndItsEndEnablesStartWhileStopStaysEnabled)
{
    CalRig rig(Options({{"impl-sensor-ms", "1000"}}));
    CImplSteerSensorCal cal(rig.context);
    cal.Init();
    EXPECT_EQ(std::vector<std::string>{"ISSteeringSensorCalCmd: 1"}, rig.TakeSets());
    EXPECT_TRUE(cal.StartEnabled());
    EXPECT_FALSE(cal.StopEnabled());
    EXPECT_EQ("", cal.StatusText());

    cal.Start();
    EXPECT_EQ(std::vector<std::string>{"ISSteeringSensorCalCmd: 3"}, rig.TakeSets());
    EXPECT_FALSE(cal.StartEnabled());
    EXPECT_TRUE(cal.StopEnabled());
    EXPECT_EQ("Steering Calibration is in Progress. \nPlease Wait.", cal.StatusText());
    rig.Advance(500ms);
    EXPECT_FALSE(cal.StartEnabled());

    rig.Advance(750ms); // ROCalState 4
    EXPECT_TRUE(cal.StartEnabled());
    EXPECT_TRUE(cal.StopEnabled());
    EXPECT_EQ("Steering Calibration is Completed.\n ", cal.StatusText());

    cal.Stop();
    EXPECT_EQ(std::vector<std::string>{"ISSteeringSensorCalCmd: 2"}, rig.TakeSets());
    EXPECT_EQ("Steering Calibration Aborted. ", cal.StatusText());
    EXPECT_FALSE(cal.StopEnabled());

    cal.OnOK();
    EXPECT_EQ(std::vector<std::string>{"ISSteeringSensorCalCmd: 2"}, rig.TakeSets());
}

TEST(ImplSteerSensorCal, CancelStopsTheReadingsAndShowingAgainRestartsThemKeepingTheButtons)
{
    CalRig rig(Options({{"impl-sensor-ms", "60000"}}));
    CImplSteerSensorCal cal(rig.context);
    cal.Init();
    cal.Start();
    rig.TakeSets();
    cal.Cancel();
    EXPECT_FALSE(cal.IsPolling());
    EXPECT_TRUE(rig.TakeSets().empty()) << "Cancel sends no command";
    const int requests = rig.ipc.requests;
    rig.Advance(1000ms);
    EXPECT_EQ(requests, rig.ipc.requests);

    cal.Show();
    EXPECT_TRUE(cal.IsPolling());
    EXPECT_FALSE(cal.StartEnabled());
    EXPECT_TRUE(cal.StopEnabled());
    EXPECT_EQ(kImplSensorRunningText, cal.StatusText());
    rig.Advance(250ms);
    EXPECT_EQ(requests + 2, rig.ipc.requests) << "the reading and ROCalState";
    // Shown again without having been left: no second set of ticks.
    cal.Show();
    rig.Advance(250ms);
    EXPECT_EQ(requests + 4, rig.ipc.requests);
}

TEST(ImplSteerSensorCal, AFailedRunSaysSoAndACommandThatDidNotArriveChangesNothing)
{
    CalRig rig(Options({{"impl-sensor-ms", "500"}, {"impl-sensor-result", "5"}}));
    CImplSteerSensorCal cal(rig.context);
    cal.Init();
    cal.Start();
    rig.Advance(750ms);
    EXPECT_EQ("Steering Calibration Failed.\n ", cal.StatusText());
    EXPECT_TRUE(cal.StartEnabled());

    cal.Leave(); // no polls meanwhile
    rig.silent = true;
    cal.Start();
    EXPECT_EQ(std::vector<std::string>{"Communication Error Occured"}, rig.Boxes());
    EXPECT_EQ("Steering Calibration Failed.\n ", cal.StatusText());
    EXPECT_TRUE(cal.StartEnabled());
    EXPECT_TRUE(cal.StopEnabled());
}
