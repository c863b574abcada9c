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
