// The automated dead-zone calibration against the simulated controller,
// with the page's ticks on a manual clock.

#include "CalRig.h"
#include "ScratchDir.h"
#include "calibration/AutoDeadZoneCal.h"
#include "link/Format.h"
#include "pages/PageLogic.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>

using namespace halcyra;
using namespace halcyra::test;
using namespace std::chrono_literals;

namespace {

// The page around the procedure: its parameters and their life cycle.
struct DeadZoneRig : CalRig {
    explicit DeadZoneRig(sim::SimSettings settings = Options({{"dz-sweep-ms", "1000"}}))
        : CalRig(std::move(settings)), cal(context, logic.params)
    {
        logic.FetchAll(ipc.link);
        cal.Init();
    }
    // The instructions up to the one of the step given.
    void PressUntilStep(int step)
    {
        while (cal.Step() < step)
            cal.PressMain();
    }
    // Leaves as the page does: the procedure, the save prompt, the report.
    void Leave()
    {
        cal.Leave();
        logic.OnLeave(ipc.link);
        cal.OfferReport();
    }
    int Instruction() const { return cal.Shown().instruction; }
    float Rounded(const std::string& name) { return RoundedDeadZone(std::strtof(Param(name).c_str(), nullptr)); }

    CPageLogic logic;
    CAutoDeadZoneCal cal;
};

} // namespace

TEST(AutoDeadZoneCal, ARunThroughCoarseAndFineSweepsShowsAndSavesTheDeadZonesAndTheReport)
{
    DeadZoneRig rig;
    CAutoDeadZoneCal& cal = rig.cal;
    EXPECT_EQ(0, rig.Instruction());
    EXPECT_EQ("0.32", cal.DeadZoneLeftText());
    EXPECT_EQ("0.30", cal.DeadZoneRightText());
    rig.TakeSets();

    cal.PressMain();
    EXPECT_EQ(std::vector<std::string>{"DZSwpCmd: 1"}, rig.TakeSets());
    EXPECT_FALSE(cal.Shown().deadZonesShown);
    rig.PressUntilStep(4);
    EXPECT_EQ(3, rig.Instruction());
    EXPECT_EQ("Test Right", cal.Shown().mainText);
    EXPECT_EQ("0.00", cal.DeadZoneLeftText());

    cal.PressMain(); // the right coarse sweep
    EXPECT_EQ(std::vector<std::string>{"DZSwpCmd: 3"}, rig.TakeSets());
    EXPECT_EQ("Right side coarse calibration in progress. Please wait...", cal.Shown().text);
    EXPECT_FALSE(cal.Shown().mainShown);
    EXPECT_TRUE(cal.Shown().progressShown);
    rig.Advance(500ms);
    EXPECT_EQ(50, cal.Shown().progress);
    rig.Advance(500ms); // ends with DZSwpSide 1
    EXPECT_EQ(4, rig.Instruction());
    EXPECT_EQ("Test Left", cal.Shown().mainText);
    EXPECT_TRUE(cal.Shown().mainShown);
    EXPECT_FALSE(cal.Shown().progressShown);
    EXPECT_FALSE(cal.IsPolling());

    cal.PressMain(); // the left coarse sweep
    EXPECT_EQ("Left side coarse calibration in progress. Please wait...", cal.Shown().text);
    rig.Advance(1000ms);
    EXPECT_EQ(5, rig.Instruction());
    EXPECT_EQ("Next>>", cal.Shown().mainText);

    cal.PressMain();
    EXPECT_EQ(6, rig.Instruction());
    EXPECT_FALSE(cal.Shown().mainShown);
    EXPECT_TRUE(cal.Shown().fineShown && cal.Shown().countShown && cal.Shown().deadZonesShown);
    EXPECT_EQ("Test Right", cal.Shown().fineText);
    cal.PressFine();
    EXPECT_EQ("Right side fine calibration in progress. Please wait...", cal.Shown().text);
    rig.Advance(1000ms);
    EXPECT_EQ(7, rig.Instruction());
    EXPECT_EQ("Test Left", cal.Shown().fineText);
    EXPECT_EQ("0", cal.CountText());
    cal.PressFine();
    EXPECT_EQ("Left side fine calibration in progress. Please wait...", cal.Shown().text);
    rig.Advance(1000ms);
    EXPECT_EQ(6, rig.Instruction());
    EXPECT_EQ("Test Right", cal.Shown().fineText);
    EXPECT_EQ("1", cal.CountText());
    EXPECT_EQ(Format("%.2f", static_cast<double>(rig.Rounded("DZSwpDZl"))), cal.DeadZoneLeftText());
    EXPECT_EQ(Format("%.2f", static_cast<double>(rig.Rounded("DZSwpDZr"))), cal.DeadZoneRightText());
    EXPECT_TRUE(rig.Boxes().empty());

    ScratchDir dir;
    rig.files.paths = {dir.File("report.txt")};
    rig.TakeSets();
    rig.Leave();
    EXPECT_EQ((std::vector<std::string>{"Save Changes?", "Do you want to download a calibration report file?",
                                        "Report saved successfully"}),
              rig.Boxes());
    EXPECT_EQ("Download Calibration Report?", rig.ipc.notifier.shown[1].caption);
    EXPECT_EQ("Save Complete", rig.ipc.notifier.shown[2].caption);
    const std::vector<std::string> sets = rig.TakeSets();
    EXPECT_EQ("DZSwpCmd: 2", sets.at(0));
    EXPECT_EQ(rig.Param("DZSwpDZl"), rig.Param("dzl"));
    EXPECT_EQ(rig.Param("DZSwpDZr"), rig.Param("dzr"));
    const std::string report = ReadAll(dir.File("report.txt"));
    EXPECT_NE(std::string::npos, report.find("Left dead zone (dzl): " + rig.Param("dzl"))) << report;
    EXPECT_NE(std::string::npos, report.find("Sweep fine-left: dead zone")) << report;
    ASSERT_EQ(1u, rig.files.requests.size());
    EXPECT_EQ(std::string(kReportFileFilter), rig.files.requests[0].filter);
    EXPECT_EQ("txt", rig.files.requests[0].defaultSuffix);
    EXPECT_EQ(FileDialogMode::Save, rig.files.requests[0].mode);

    // Every visit starts again at the first instruction.
    cal.Show();
    EXPECT_EQ(0, rig.Instruction());
    EXPECT_EQ(0u, cal.CountShown());
}

namespace {

// Runs the calibration to its first completed fine sweep (a right and a left).
void ToACompletedFineSweep(DeadZoneRig& rig)
{
    rig.PressUntilStep(4);
    rig.cal.PressMain();
    rig.Advance(1000ms);
    rig.cal.PressMain();
    rig.Advance(1000ms);
    rig.cal.PressMain();
    rig.cal.PressFine();
    rig.Advance(1000ms);
    rig.cal.PressFine();
    rig.Advance(1000ms);
    ASSERT_EQ(1u, rig.cal.CountShown());
}

} // namespace

TEST(AutoDeadZoneCal, ACoarseSweepEndingWithoutASideKeepsPollingUntilItHasOne)
{
    DeadZoneRig rig;
    rig.PressUntilStep(4);
    rig.cal.PressMain();
    rig.ipc.now += 1000ms;
    rig.ipc.controller.Tick(rig.ipc.now); // the sweep ends: DZSwpCmd 7
    for (const char* side : {"2", "255"}) {
        rig.SetParam("DZSwpSide", side);
        rig.cal.PollNow();
        EXPECT_TRUE(rig.cal.IsPolling()) << side;
        EXPECT_EQ(-1, rig.Instruction()) << side;
        EXPECT_FALSE(rig.cal.Shown().mainShown) << side;
        EXPECT_EQ(4, rig.cal.Step());
    }
    rig.SetParam("DZSwpSide", "1");
    rig.cal.PollNow();
    EXPECT_FALSE(rig.cal.IsPolling());
    EXPECT_EQ(4, rig.Instruction());
    EXPECT_EQ("Test Left", rig.cal.Shown().mainText);
}

TEST(AutoDeadZoneCal, NoToSavingOrToTheReportLeavesTheControllerAndTheDiskAlone)
{
    struct Case {
        std::deque<MsgAnswer> answers; // "Save Changes?", then the report question
        bool saved;
        bool fileAsked;
    };
    const Case cases[] = {
        {{MsgAnswer::No, MsgAnswer::No}, false, false},
        {{MsgAnswer::Yes, MsgAnswer::No}, true, false},
        {{MsgAnswer::No, MsgAnswer::Yes}, false, true}, // and the file dialog is cancelled
    };
    for (const Case& c : cases) {
        DeadZoneRig rig;
        ToACompletedFineSweep(rig);
        rig.ipc.notifier.answers = c.answers;
        rig.Leave();
        EXPECT_EQ((std::vector<std::string>{"Save Changes?", "Do you want to download a calibration report file?"}),
                  rig.Boxes());
        EXPECT_EQ(c.saved ? rig.Param("DZSwpDZl") : "0.320000", rig.Param("dzl"));
        EXPECT_EQ(c.saved ? rig.Param("DZSwpDZr") : "0.300000", rig.Param("dzr"));
        EXPECT_EQ(c.fileAsked ? 1u : 0u, rig.files.requests.size());
    }
}

TEST(AutoDeadZoneCal, FailedSweepsReturnToTheirSidesInstructionAndShowTheControllersTextOnce)
{
    DeadZoneRig rig(Options({{"dz-sweep-ms", "1000"},
                             {"dz-fail", "coarse-right,coarse-left,fine-right,fine-left"},
                             {"dz-error", "Sweep stopped: too fast"}}));
    CAutoDeadZoneCal& cal = rig.cal;
    rig.PressUntilStep(4);
    const auto sweepFails = [&] {
        rig.Advance(1000ms);
        EXPECT_FALSE(cal.IsPolling());
    };
    cal.PressMain();
    sweepFails();
    EXPECT_EQ(3, rig.Instruction());
    EXPECT_EQ("Test Right", cal.Shown().mainText);
    cal.PressMain();
    rig.Advance(1000ms); // the second try passes

    cal.PressMain();
    sweepFails();
    EXPECT_EQ(4, rig.Instruction());
    EXPECT_EQ("Test Left", cal.Shown().mainText);
    EXPECT_EQ(5, cal.Step());
    cal.PressMain();
    rig.Advance(1000ms);
    cal.PressMain();
    ASSERT_EQ(6, rig.Instruction());

    cal.PressFine();
    sweepFails();
    EXPECT_EQ(6, rig.Instruction());
    EXPECT_EQ("Test Right", cal.Shown().fineText);
    cal.PressFine();
    rig.Advance(1000ms);
    ASSERT_EQ(7, rig.Instruction());

    cal.PressFine();
    sweepFails();
    EXPECT_EQ(7, rig.Instruction());
    EXPECT_EQ("Test Left", cal.Shown().fineText);
    EXPECT_TRUE(cal.Shown().fineShown);
    EXPECT_FALSE(cal.Shown().progressShown);
    EXPECT_EQ(std::vector<std::string>(4, "Sweep stopped: too fast"), rig.Boxes());
}

TEST(AutoDeadZoneCal, ABlankErrorTextShowsNoBoxButAnEmptyOneDoes)
{
    for (const auto& [error, boxes] : {std::pair<std::string, std::size_t>{" ", 0}, {"", 1}}) {
        DeadZoneRig rig(Options({{"dz-sweep-ms", "1000"}, {"dz-fail", "coarse-right"}, {"dz-error", error}}));
        rig.PressUntilStep(4);
        rig.cal.PressMain();
        rig.Advance(1000ms);
        ASSERT_EQ(3, rig.Instruction());
        ASSERT_EQ(boxes, rig.Boxes().size()) << "DZSwpErr \"" << error << "\"";
        if (boxes) {
            EXPECT_EQ("", rig.Boxes()[0]);
        }
    }
}

TEST(AutoDeadZoneCal, AnErrorTextThatCouldNotBeReadIsNotShownAgainFromAnEarlierSweep)
{
    DeadZoneRig rig(Options({{"dz-sweep-ms", "1000"}, {"dz-fail", "coarse-right,coarse-left"}, {"dz-error", "Too fast"}}));
    rig.PressUntilStep(4);
    rig.cal.PressMain();
    rig.Advance(1000ms);
    rig.cal.PressMain();
    rig.Advance(1000ms);
    ASSERT_EQ(std::vector<std::string>{"Too fast"}, rig.Boxes());
    rig.withhold = [](const sim::Request& r) {
        const sim::Bytes p = r.Payload();
        return r.Operation() == 0 && std::string(p.begin(), p.end()) == "DZSwpErr";
    };
    rig.cal.PressMain(); // the left coarse sweep fails
    rig.Advance(1000ms);
    EXPECT_EQ(4, rig.Instruction());
    EXPECT_EQ((std::vector<std::string>{"Too fast", "Communication Error Occured"}), rig.Boxes());
}

TEST(AutoDeadZoneCal, ProgressIsTheWholePercentBelowTheControllersFigure)
{
    DeadZoneRig rig(Options({{"dz-sweep-ms", "10000"}}));
    rig.PressUntilStep(4);
    rig.cal.PressMain();
    rig.ipc.now += 9990ms; // 99.9 %
    rig.cal.PollNow();
    EXPECT_EQ("99.900000", rig.Param("DZSwpPercComplete"));
    EXPECT_EQ(99, rig.cal.Shown().progress);

    EXPECT_EQ(0, SweepProgress(-3.0f));
    EXPECT_EQ(100, SweepProgress(250.0f));
    EXPECT_FLOAT_EQ(0.33f, RoundedDeadZone(0.326f));
    EXPECT_FLOAT_EQ(0.32f, RoundedDeadZone(0.324f));
}

TEST(AutoDeadZoneCal, LeavingBeforeAnyFineSweepAsksNothingAndEndsTheRun)
{
    DeadZoneRig rig;
    // A measured dead zone the page has read that differs from the stored one.
    rig.SetParam("DZSwpDZl", "0.500000");
    rig.logic.FetchAll(rig.ipc.link);
    rig.PressUntilStep(4);
    rig.cal.PressMain();
    rig.Advance(1000ms);
    ASSERT_EQ(4, rig.Instruction());
    rig.TakeSets();
    rig.Leave();
    EXPECT_TRUE(rig.Boxes().empty());
    EXPECT_EQ(std::vector<std::string>{"DZSwpCmd: 2"}, rig.TakeSets());
    EXPECT_EQ("0.320000", rig.Param("dzl"));
    EXPECT_TRUE(rig.files.requests.empty());
}

TEST(AutoDeadZoneCal, ASweepCommandThatDidNotReachTheControllerStartsNoSweep)
{
    DeadZoneRig rig;
    rig.PressUntilStep(4);
    rig.withhold = [](const sim::Request& r) {
        const sim::Bytes p = r.Payload();
        return r.Operation() == 1 && std::string(p.begin(), p.end()) == "DZSwpCmd: 3";
    };
    rig.cal.PressMain();
    EXPECT_EQ(std::vector<std::string>{"Communication Error Occured"}, rig.Boxes());
    EXPECT_FALSE(rig.cal.IsPolling());
    EXPECT_EQ(3, rig.Instruction());
    EXPECT_TRUE(rig.cal.Shown().mainShown);
    EXPECT_EQ("Test Right", rig.cal.Shown().mainText);
    EXPECT_FALSE(rig.cal.Shown().progressShown);
    EXPECT_EQ(4, rig.cal.Step());
}

TEST(AutoDeadZoneCal, AStateThatCouldNotBeReadDoesNotEndTheNextSweep)
{
    DeadZoneRig rig;
    rig.PressUntilStep(4);
    rig.cal.PressMain();
    rig.Advance(1000ms); // DZSwpCmd now reads 7
    rig.cal.PressMain();  // the left coarse sweep
    rig.withhold = [](const sim::Request& r) {
        const sim::Bytes p = r.Payload();
        return r.Operation() == 0 && std::string(p.begin(), p.end()) == "DZSwpCmd";
    };
    rig.Advance(250ms);
    EXPECT_EQ("Left side coarse calibration in progress. Please wait...", rig.cal.Shown().text);
    EXPECT_TRUE(rig.cal.IsPolling());
    EXPECT_EQ(1u, rig.Boxes().size());
    rig.withhold = nullptr;
    rig.Advance(750ms);
    EXPECT_EQ(5, rig.Instruction());
}

TEST(AutoDeadZoneCal, AReportThatCouldNotBeDownloadedLeavesTheEarlierFileAsItWas)
{
    DeadZoneRig rig(Options({{"begin-status", "1"}}));
    ScratchDir dir;
    WriteAll(dir.File("report.txt"), "an earlier report\r\n");
    rig.files.paths = {dir.File("report.txt")};
    EXPECT_FALSE(rig.cal.DownloadReport());
    EXPECT_EQ(std::vector<std::string>{"Error: File download problem!"}, rig.Boxes());
    EXPECT_EQ("Download Error", rig.ipc.notifier.shown[0].caption);
    EXPECT_EQ("an earlier report\r\n", ReadAll(dir.File("report.txt")));
    EXPECT_EQ(std::vector<std::string>{"report.txt"}, dir.Names());
}
