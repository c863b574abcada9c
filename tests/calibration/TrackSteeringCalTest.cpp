// The electric track calibrations: the dialog chains, the bias, deadband and
// track spacing rules, the JD manual override and interface calibrations,
// against the simulated controller with the ticks on a manual clock.

#include "CalRig.h"
#include "calibration/ElecTrackPagesCal.h"
#include "calibration/TrackSteeringCal.h"
#include "link/MessageIds.h"
#include "pages/PageLogic.h"
#include "sim/OverrideFeature.h"
#include "sim/TrackSteeringFeature.h"

#include <gtest/gtest.h>

using namespace halcyra;
using namespace halcyra::test;
using namespace std::chrono_literals;

namespace {

namespace cal = wire::calibration;

struct TrackRig : CalRig {
    using CalRig::CalRig;
    std::vector<int> TrackOperations() const
    {
        std::vector<int> ops;
        for (const sim::Request& r : sent)
            if (r.messageId == wire::kCalibrationMsg && r.SubCode() == cal::kTrackSteeringSub)
                ops.push_back(r.Operation());
        return ops;
    }
    bool Sent(int operation) const
    {
        const std::vector<int> ops = TrackOperations();
        return std::find(ops.begin(), ops.end(), operation) != ops.end();
    }
    sim::CTrackSteeringFeature& Tracks() { return ipc.controller.Feature<sim::CTrackSteeringFeature>(); }
    // The operations of one sub-code sent, in order.
    std::vector<int> Operations(std::uint8_t subCode) const
    {
        std::vector<int> ops;
        for (const sim::Request& r : sent)
            if (r.messageId == wire::kCalibrationMsg && r.SubCode() == subCode)
                ops.push_back(r.Operation());
        return ops;
    }
    // Gets of a named parameter sent, by position among all requests.
    std::vector<std::size_t> Gets(const std::string& name) const
    {
        std::vector<std::size_t> at;
        for (std::size_t i = 0; i < sent.size(); ++i) {
            const sim::Bytes p = sent[i].Payload();
            if (sent[i].messageId == 0x40 && sent[i].Operation() == 0 && std::string(p.begin(), p.end()) == name)
                at.push_back(i);
        }
        return at;
    }
};

} // namespace

TEST(TrackSteeringCal, BiasAndDeadbandSlidersConvertBothWays)
{
    EXPECT_EQ(253, BiasSliderPosition(2.47f));
    EXPECT_EQ("2.40", BiasText(BiasAtSliderPosition(260)));
    EXPECT_EQ(12, DeadbandSliderPosition(0.06f));
    EXPECT_FLOAT_EQ(0.055f, DeadbandAtSliderPosition(11));

    TrackRig rig;
    CTrackBiasCal jd(rig.context, TrackVariant::JD);
    rig.SetParam("k0e", "2.470000");
    rig.ipc.controller.Feature<sim::CTrackSteeringFeature>();
    SendTrackCommand(rig.ipc.link, cal::kTrackBeginOp);
    jd.Init();
    EXPECT_EQ(253, jd.SliderPosition());
    jd.MoveSlider(260);
    EXPECT_EQ("2.40", jd.BiasText());
    EXPECT_TRUE(jd.BiasChanged());
    // The slider keeps to its variant's range.
    jd.MoveSlider(400);
    EXPECT_EQ(300, jd.SliderPosition());
    CTrackBiasCal mt(rig.context, TrackVariant::MT);
    mt.Init();
    mt.MoveSlider(200);
    EXPECT_EQ(225, mt.SliderPosition());
    EXPECT_EQ("2.75", mt.BiasText());
    mt.RestoreSaved();
    EXPECT_EQ("2.47", mt.BiasText());
}

TEST(TrackSteeringCal, StoringABiasAsksBeforeWritingK0e)
{
    TrackRig rig;
    rig.SetParam("k0e", "2.500000");
    CTrackBiasCal bias(rig.context, TrackVariant::JD);
    bias.Init();
    bias.MoveSlider(253);
    rig.ipc.notifier.answers.push_back(MsgAnswer::Cancel);
    bias.Store();
    EXPECT_EQ("2.500000", rig.Param("k0e"));
    EXPECT_EQ("Do you want to save the new steering bias value?", rig.Boxes().back());
    bias.Store();
    EXPECT_EQ("2.470000", rig.Param("k0e"));

    // Unchanged, nothing is asked.
    const std::size_t boxes = rig.Boxes().size();
    CTrackBiasCal again(rig.context, TrackVariant::JD);
    again.Init();
    again.RestoreSaved();
    again.Store();
    EXPECT_EQ(boxes, rig.Boxes().size());
}

TEST(TrackSteeringCal, TheDeadbandIsSavedInBothParameters)
{
    TrackRig rig;
    CDeadbandCal deadband(rig.context);
    deadband.Init();
    EXPECT_EQ(12, deadband.SliderPosition());
    deadband.Spin(-1);
    EXPECT_EQ("0.055", deadband.ValueText());
    deadband.Store();
    EXPECT_EQ("0.055000", rig.Param("dk0"));
    EXPECT_EQ("0.055000", rig.Param("dk1"));
    EXPECT_EQ("Save Deadband", rig.ipc.notifier.shown.back().caption);
}

TEST(TrackSteeringCal, ALinkOutageShowsOneBoxAndPollingGoesOn)
{
    TrackRig rig;
    CTrackBiasCal bias(rig.context, TrackVariant::MT);
    bias.Init();
    // Each failed read takes its three tries of a second.
    rig.silent = true;
    rig.Advance(500ms);
    EXPECT_EQ(std::vector<std::string>{"Communication Link Down!"}, rig.Boxes());
    EXPECT_TRUE(bias.IsPolling());
    rig.silent = false;
    rig.Advance(250ms);
    EXPECT_FALSE(bias.InOutage());
    EXPECT_EQ(1u, rig.Boxes().size());
}

TEST(TrackSteeringCal, TestTurnsFillTheBarsAndFreeTheButtonsWhenDone)
{
    TrackRig rig;
    rig.SetParam("k0e", "2.700000");
    SendTrackCommand(rig.ipc.link, cal::kTrackBeginOp);
    SendTrackCommand(rig.ipc.link, cal::kTrackJDBiasTestOp);
    CTrackBiasCal bias(rig.context, TrackVariant::JD);
    bias.Init();
    bias.Turn(true);
    EXPECT_FALSE(bias.TurnEnabled());
    EXPECT_TRUE(bias.TurnDown(true));
    EXPECT_FLOAT_EQ(2.7f, rig.Tracks().TestBias());
    rig.Advance(sim::CTrackSteeringFeature::kTurnTime / 2);
    EXPECT_GT(bias.LeftBar(), 0);
    EXPECT_FALSE(bias.TurnEnabled());
    rig.Advance(sim::CTrackSteeringFeature::kTurnTime);
    EXPECT_TRUE(bias.TurnEnabled());
    // Off balance, the indicator says so.
    EXPECT_EQ(TurnRateIndicator::Low, bias.Indicator());
}

TEST(TrackSteeringChain, CancellingTheGyroBiasEndsEitherChainWithoutAStart)
{
    for (const TrackVariant variant : {TrackVariant::JD, TrackVariant::MT}) {
        TrackRig rig;
        CTrackSteeringChain chain(rig.context, variant);
        std::vector<TrackDialog> shown;
        chain.Run([&](TrackDialog dialog) {
            shown.push_back(dialog);
            return 1;
        });
        rig.ipc.AnswerWritten();
        EXPECT_EQ(std::vector<TrackDialog>{TrackDialog::GyroBias}, shown);
        for (const int start : {cal::kTrackJDBiasTestOp, cal::kTrackMTBiasTestOp, cal::kTrackSpacingTestOp})
            EXPECT_FALSE(rig.Sent(start));
    }
}

TEST(TrackSteeringChain, BackFromTheTrackSpacingReopensTheMTBiasWithItsTestStartedAgain)
{
    TrackRig rig;
    CTrackSteeringChain chain(rig.context, TrackVariant::MT);
    std::vector<TrackDialog> shown;
    std::vector<std::vector<int>> sentBefore;
    int spacings = 0;
    chain.Run([&](TrackDialog dialog) {
        shown.push_back(dialog);
        rig.ipc.AnswerWritten();
        sentBefore.push_back(rig.TrackOperations());
        rig.sent.clear();
        if (dialog == TrackDialog::TrackSpacing && ++spacings == 1)
            return kTrackDialogBack;
        return kTrackDialogNext;
    });
    const std::vector<TrackDialog> expected = {
        TrackDialog::GyroBias,      TrackDialog::MTSpeed, TrackDialog::MTDeadbandInstructions,
        TrackDialog::MTBias,        TrackDialog::MTSpacingInstructions, TrackDialog::TrackSpacing,
        TrackDialog::MTBias,        TrackDialog::MTSpacingInstructions, TrackDialog::TrackSpacing};
    EXPECT_EQ(expected, shown);
    EXPECT_EQ(std::vector<int>{cal::kTrackMTBiasTestOp}, sentBefore[6]);
    EXPECT_EQ(std::vector<int>{cal::kTrackSpacingTestOp}, sentBefore[8]);
}

TEST(TrackSteeringChain, TheJDChainStartsItsBiasTestAfterTheSpeedDialog)
{
    TrackRig rig;
    CTrackSteeringChain chain(rig.context, TrackVariant::JD);
    std::vector<TrackDialog> shown;
    chain.Run([&](TrackDialog dialog) {
        shown.push_back(dialog);
        rig.ipc.AnswerWritten();
        if (dialog == TrackDialog::JDBias) {
            EXPECT_EQ(sim::CTrackSteeringFeature::Test::JDBias, rig.Tracks().RunningTest());
        }
        return kTrackDialogNext;
    });
    EXPECT_EQ((std::vector<TrackDialog>{TrackDialog::GyroBias, TrackDialog::JDSpeed, TrackDialog::JDBias}), shown);
}

TEST(GyroBiasCal, TheWaitEndsWhenTheControllerHasTheBias)
{
    TrackRig rig;
    SendTrackCommand(rig.ipc.link, cal::kTrackBeginOp);
    CGyroBiasCal gyro(rig.context);
    EXPECT_FALSE(gyro.Press());
    EXPECT_EQ(1, gyro.Stage());
    EXPECT_FALSE(gyro.ButtonEnabled());
    EXPECT_TRUE(gyro.LineEnabled(1) && !gyro.LineEnabled(0));
    rig.Advance(sim::CTrackSteeringFeature::kGyroTime - 500ms);
    EXPECT_EQ(1, gyro.Stage());
    rig.Advance(1s);
    EXPECT_EQ(2, gyro.Stage());
    EXPECT_FALSE(gyro.IsPolling());
    EXPECT_TRUE(gyro.Press());
    EXPECT_EQ(0, gyro.Stage());
}

TEST(JDManualOverrideCal, ATestRunsToItsEndAndLeavingTakesItsBias)
{
    TrackRig rig;
    CPageLogic logic;
    CJDManualOverrideCal cal(rig.context, logic.params);
    logic.FetchAll(rig.ipc.link);
    cal.Init();
    cal.Show();
    EXPECT_EQ("0.50", cal.SavedBiasText());
    cal.Press();
    EXPECT_TRUE(cal.LineEnabled(1) && !cal.LineEnabled(0));
    cal.Press();
    EXPECT_EQ("Wait...", std::string(cal.ButtonText()));
    EXPECT_FALSE(cal.ButtonEnabled());
    rig.Advance(sim::COverrideFeature::kReleaseTime + sim::COverrideFeature::kMeasureTime + 1s);
    EXPECT_EQ(4, cal.Stage());
    EXPECT_TRUE(cal.CompletedShown() && cal.ButtonEnabled());
    EXPECT_EQ("Restart", std::string(cal.ButtonText()));
    cal.Leave();
    logic.params.SetModified(rig.ipc.link);
    EXPECT_NEAR(rig.ipc.controller.Feature<sim::COverrideFeature>().TestBias(), std::stof(rig.Param("ovb")), 1e-5);
    cal.Press();
    EXPECT_EQ(0, cal.Stage());
}

TEST(JDInterfaceCal, ARunShowsTheControllersTextsAndEndsAsTheControllerSays)
{
    for (const std::string outcome : {"success", "failure"}) {
        TrackRig rig(Options({{"jd-cal-stage-ms", "500"}, {"jd-cal-result", outcome}}));
        CJDInterfaceCal cal(rig.context);
        cal.Show();
        EXPECT_EQ("Status: Ready to begin", cal.StatusText());
        EXPECT_EQ("Begin", cal.ButtonText());
        cal.Press();
        EXPECT_TRUE(cal.Running());
        EXPECT_EQ("Cancel", cal.ButtonText());
        EXPECT_EQ("1", rig.Param("JD30TCalCmd"));
        rig.Advance(750ms);
        const std::string during = cal.StatusText();
        EXPECT_NE("Status: Ready to begin", during);
        rig.Advance(10s);
        EXPECT_FALSE(cal.Running());
        EXPECT_FALSE(cal.IsPolling());
        EXPECT_EQ("Begin", cal.ButtonText());
        EXPECT_EQ("0", rig.Param("JD30TCalCmd"));
        EXPECT_EQ(rig.Param("JD30TCalStatusStr"), "\"" + cal.StatusText() + "\"") << outcome;
    }
}

TEST(JDInterfaceCal, AControllerWithoutTheParametersAsksForNewFirmware)
{
    TrackRig rig;
    rig.withhold = [](const sim::Request& r) {
        const sim::Bytes p = r.Payload();
        return std::string(p.begin(), p.end()).rfind("JD30T", 0) == 0;
    };
    CJDInterfaceCal cal(rig.context);
    cal.Show();
    EXPECT_EQ("Error: Upgrade the Corvex II Controller Firmware before proceeding", cal.StatusText());
    EXPECT_EQ("Error", cal.ButtonText());
}

TEST(TrackSteeringCal, ALargerTrackSpacingFillsTheBarsMore)
{
    std::vector<int> bars;
    for (const char* spacing : {"1.120000", "2.240000"}) {
        TrackRig rig;
        rig.SetParam("trw", spacing);
        SendTrackCommand(rig.ipc.link, cal::kTrackBeginOp);
        CTrackSpacingCal test(rig.context);
        SendTrackCommand(rig.ipc.link, cal::kTrackSpacingTestOp);
        test.Init();
        test.Turn(false);
        rig.Advance(sim::CTrackSteeringFeature::kTurnTime / 2);
        bars.push_back(test.RightBar());
    }
    EXPECT_GT(bars[0], 0);
    EXPECT_GT(bars[1], bars[0]);
}

TEST(TrackSteeringCal, TheTicksStopWhileTheTrackSpacingIsTypedAndSetAsksThenWritesAndReadsBack)
{
    TrackRig rig;
    SendTrackCommand(rig.ipc.link, cal::kTrackBeginOp);
    CTrackSpacingCal spacing(rig.context);
    SendTrackCommand(rig.ipc.link, cal::kTrackSpacingTestOp);
    spacing.Init();
    EXPECT_EQ("2.240", spacing.SpacingText());
    EXPECT_EQ("m", spacing.UnitName());
    ASSERT_TRUE(spacing.IsPolling());

    spacing.BeginEditing();
    EXPECT_FALSE(spacing.IsPolling());
    const int requests = rig.ipc.requests;
    rig.Advance(1000ms);
    EXPECT_EQ(requests, rig.ipc.requests);
    EXPECT_EQ(std::optional<std::string>("Please enter a number between 0 and 9999."), spacing.EndEditing("x"));
    EXPECT_TRUE(spacing.IsPolling()) << "a refused text starts the ticks again too";
    EXPECT_EQ("2.240", spacing.SpacingText());
    spacing.BeginEditing();
    EXPECT_EQ(std::nullopt, spacing.EndEditing("2.5"));
    EXPECT_TRUE(spacing.IsPolling());

    rig.ipc.notifier.answers = {MsgAnswer::Cancel};
    rig.TakeSets();
    spacing.Set();
    ASSERT_EQ(1u, rig.ipc.notifier.shown.size());
    EXPECT_EQ("Do you want to save the new track spacing value?", rig.ipc.notifier.shown[0].text);
    EXPECT_EQ("Save Track Spacing", rig.ipc.notifier.shown[0].caption);
    EXPECT_EQ(MsgButtons::OkCancel, rig.ipc.notifier.shown[0].buttons);
    EXPECT_EQ("2.240000", rig.Param("trw"));

    spacing.Set();
    const std::vector<std::size_t> readBack = rig.Gets("trw");
    EXPECT_EQ(std::vector<std::string>{"trw: 2.500000"}, rig.TakeSets());
    EXPECT_EQ("2.500000", rig.Param("trw"));
    EXPECT_EQ(1u, readBack.size()) << "read back after the write";
    EXPECT_FALSE(spacing.TrackSpacing().IsModified());
    // Unchanged: nothing asked.
    spacing.Set();
    EXPECT_EQ(2u, rig.ipc.notifier.shown.size());
}

TEST(TrackSteeringCal, TheLimitsMessageSetsTheBarsAndTheIndicatorWeighsValueOneAgainstIt)
{
    const struct {
        float balance;
        TurnRateIndicator indicator;
    } cases[] = {{0.8f, TurnRateIndicator::High}, {-0.8f, TurnRateIndicator::Low}, {0.2f, TurnRateIndicator::Centred},
                 {0.5f, TurnRateIndicator::Centred}};
    for (const auto& c : cases) {
        TrackRig rig;
        rig.withhold = [&](const sim::Request& r) {
            if (r.messageId != wire::kCalibrationMsg || r.SubCode() != cal::kTrackSteeringSub)
                return false;
            if (r.Operation() == cal::kTrackStatusOp)
                rig.ipc.port.Feed(sim::CSimController::FrameReply(
                    sim::ReplyBuilder(r).U8(1).F32(c.balance).F32(0).F32(0.42f).F32(-0.33f).F32(0).F32(0).F32(2.5f).Build()));
            else if (r.Operation() == cal::kTrackLimitsOp)
                rig.ipc.port.Feed(
                    sim::CSimController::FrameReply(sim::ReplyBuilder(r).F32(-0.5f).F32(0.5f).F32(-0.2f).F32(1.5f).Build()));
            else
                return false;
            return true;
        };
        CTrackBiasCal bias(rig.context, TrackVariant::JD);
        bias.Init();
        rig.Advance(250ms);
        EXPECT_EQ(c.indicator, bias.Indicator()) << c.balance;
        EXPECT_EQ(-20, bias.BarMinimum());
        EXPECT_EQ(150, bias.BarMaximum());
        EXPECT_EQ(42, bias.RightBar());
        EXPECT_EQ(33, bias.LeftBar());
        EXPECT_EQ("0.42", bias.RightRateText());
        EXPECT_EQ("0.33", bias.LeftRateText());
        EXPECT_EQ("2.50", bias.BiasText()) << "the controller's current bias";
        EXPECT_TRUE(rig.Boxes().empty());
    }
}

TEST(JDManualOverrideCal, TheSheetsOkAndCancelBothEndTheControllersTest)
{
    for (const bool ok : {true, false}) {
        TrackRig rig;
        CPageLogic logic;
        CJDManualOverrideCal cal(rig.context, logic.params);
        logic.FetchAll(rig.ipc.link);
        cal.Init();
        cal.Press();
        cal.Press(); // the test runs
        ASSERT_TRUE(cal.IsPolling());
        rig.sent.clear();
        if (ok)
            cal.OnOK();
        else
            cal.Cancel();
        EXPECT_EQ(std::vector<int>{1}, rig.Operations(0x0A)) << (ok ? "OK" : "Cancel");
        EXPECT_FALSE(cal.IsPolling());
        EXPECT_FALSE(rig.ipc.controller.Feature<sim::COverrideFeature>().Active());
        // Without a test run the end goes out all the same.
        CJDManualOverrideCal idle(rig.context, logic.params);
        idle.Init();
        rig.sent.clear();
        ok ? idle.OnOK() : idle.Cancel();
        EXPECT_EQ(std::vector<int>{1}, rig.Operations(0x0A));
    }
}

TEST(JDInterfaceCal, CancellingOrLeavingStopsTheControllersRunAndCancellingIdleSendsNothing)
{
    TrackRig rig(Options({{"jd-cal-stage-ms", "60000"}}));
    CJDInterfaceCal cal(rig.context);
    cal.Show();
    cal.Press();
    ASSERT_EQ("1", rig.Param("JD30TCalCmd"));
    rig.TakeSets();
    cal.Cancel();
    EXPECT_EQ(std::vector<std::string>{"JD30TCalCmd: 0"}, rig.TakeSets());
    EXPECT_FALSE(cal.Running());
    EXPECT_FALSE(cal.IsPolling());
    cal.Cancel();
    EXPECT_TRUE(rig.TakeSets().empty()) << "nothing runs: nothing to stop";

    // Leaving stops it whether or not a run is on.
    cal.Leave();
    EXPECT_EQ(std::vector<std::string>{"JD30TCalCmd: 0"}, rig.TakeSets());
    cal.Show();
    cal.Press();
    rig.TakeSets();
    cal.Leave();
    EXPECT_EQ(std::vector<std::string>{"JD30TCalCmd: 0"}, rig.TakeSets());
    EXPECT_FALSE(cal.IsPolling());
}

TEST(JDInterfaceCal, AnIdleStatusMidRunSaysReadyToBeginAndEndsTheRun)
{
    TrackRig rig(Options({{"jd-cal-stage-ms", "60000"}}));
    CJDInterfaceCal cal(rig.context);
    cal.Show();
    cal.Press();
    rig.Advance(250ms);
    ASSERT_EQ("Status: Contacting the track interface", cal.StatusText());
    // The controller says it is idle, and its text does not come through.
    rig.withhold = [&](const sim::Request& r) {
        const sim::Bytes p = r.Payload();
        if (r.messageId != 0x40 || r.Operation() != 0 || std::string(p.begin(), p.end()) != "JD30TCalStatus")
            return false;
        rig.ipc.port.Feed(sim::CSimController::FrameReply(sim::ReplyBuilder(r).Text("JD30TCalStatus: 0").Build()));
        return true;
    };
    rig.ipc.damaged = [](const sim::Request& r) {
        const sim::Bytes p = r.Payload();
        return std::string(p.begin(), p.end()) == "JD30TCalStatusStr";
    };
    rig.TakeSets();
    rig.Advance(250ms);
    EXPECT_EQ("Status: Ready to Begin", cal.StatusText());
    EXPECT_FALSE(cal.Running());
    EXPECT_FALSE(cal.IsPolling());
    EXPECT_EQ("Begin", cal.ButtonText());
    EXPECT_EQ(std::vector<std::string>{"JD30TCalCmd: 0"}, rig.TakeSets());
    EXPECT_EQ(std::vector<std::string>{"Communication Error Occured"}, rig.Boxes());
}
