// The simple calibration pages' conversions, the mounting orientation table
// and the RPM sensor wizard.

#include "CalRig.h"
#include "calibration/Orientation.h"
#include "calibration/SimpleCalibrations.h"
#include "link/Format.h"
#include "pages/PageLogic.h"
#include "sim/TrackSteeringFeature.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

using namespace halcyra;
using namespace halcyra::test;
using namespace std::chrono_literals;

namespace {

struct UnitsOf {
    explicit UnitsOf(std::uint32_t index) { units.ApplyUnitIndex(index); }
    operator const CUnitsParam&() const { return units; }
    CUnitsParam units;
};

} // namespace

TEST(Aggressiveness, TheSliderEndsAre50And150PercentAndTheSpeedShowsInTheDisplayUnits)
{
    CParamSet params;
    CAggressivenessCal cal(params);
    cal.MoveSlider(8);
    EXPECT_EQ("50%", cal.PercentText());
    EXPECT_FLOAT_EQ(6.25f, cal.Speed());
    EXPECT_EQ("Vehicle stability needs to be checked at 22.5 km/h or at maximum engagement speed",
              cal.StabilityText(UnitsOf(1)));
    EXPECT_EQ("Vehicle stability needs to be checked at 14.0 mph or at maximum engagement speed",
              cal.StabilityText(UnitsOf(3)));
    cal.MoveSlider(33);
    EXPECT_EQ("150%", cal.PercentText());
    EXPECT_EQ(20, AggressivenessPosition(2.5f));
    // A speed of 0 is the slider's high end, not a division by zero.
    EXPECT_EQ(kAggressivenessHigh, AggressivenessPosition(0));
}

TEST(Aggressiveness, TheSliderFollowsVadTheSecondSpeedRead)
{
    const struct {
        const char* var;
        const char* vad;
        int position;
    } cases[] = {{"2.000000", "2.500000", 20}, {"2.500000", "2.000000", 25}, {"6.250000", "1.515152", 33}};
    for (const auto& c : cases) {
        CalRig rig;
        rig.SetParam("var", c.var);
        rig.SetParam("vad", c.vad);
        CParamSet params;
        CAggressivenessCal cal(params);
        params.GetAll(rig.ipc.link);
        cal.FromParams();
        EXPECT_EQ(c.position, cal.Position()) << "var " << c.var << ", vad " << c.vad;
        // Shown, not converted: speeds off the slider's notches stay as they are.
        EXPECT_FALSE(params.AnyModified());
        cal.MoveSlider(c.position);
        EXPECT_TRUE(params.AnyModified());
        EXPECT_FLOAT_EQ(50.0f / static_cast<float>(c.position), cal.Speed());
    }
}

TEST(RollCorrection, TheSideIsLeftForAPositiveOffsetAndRightOtherwise)
{
    const struct {
        float rof;
        float height;
        int side;
        float distance;
    } cases[] = {{4.7802f, 3, kRollLeft, 0.5f}, {-4.7802f, 3, kRollRight, 0.5f}, {0, 3, kRollRight, 0},
                 {30, 1, kRollLeft, 1}};
    for (const auto& c : cases) {
        CParamSet params;
        CRollCorrection roll(params);
        roll.RollOffsetParam().value = c.rof;
        roll.Height().value = c.height;
        roll.FromParams();
        EXPECT_EQ(c.side, roll.Side()) << "rof " << c.rof;
        EXPECT_NEAR(c.distance, roll.Distance(), 1e-4) << "rof " << c.rof;
    }
}

TEST(RollCorrection, TheOffsetIsTheAngleOfTheDistanceOverTwiceTheHeight)
{
    CParamSet params;
    CRollCorrection roll(params);
    test::CRecordingNotifier notifier;
    roll.Height().value = 3;
    roll.Distance() = 0.5f;
    roll.Side() = kRollLeft;
    roll.ToParams(notifier);
    EXPECT_NEAR(std::asin(0.5 / 6) * 57.29577951308232, roll.RollOffset(), 1e-4);
    EXPECT_NEAR(4.78, roll.RollOffset(), 0.01);
    roll.Side() = kRollRight;
    roll.ToParams(notifier);
    EXPECT_NEAR(-4.78, roll.RollOffset(), 0.01);
    // And back: the distance and side from the offset.
    roll.Distance() = 0;
    roll.FromParams();
    EXPECT_NEAR(0.5, roll.Distance(), 1e-5);
    EXPECT_EQ(kRollRight, roll.Side());
    EXPECT_TRUE(notifier.shown.empty());

    roll.Distance() = 3.5f;
    roll.ToParams(notifier);
    EXPECT_EQ(0.0f, roll.RollOffset());
    ASSERT_EQ(1u, notifier.shown.size());
    EXPECT_EQ("Roll Offset Distance Too Large", notifier.shown[0].caption);
}

TEST(AntennaHeight, TheControllersNegativeHeightIsPositiveOnThePageAndBackOnTheWire)
{
    CalRig rig;
    CPageLogic logic;
    CAntennaHeightParam alz(&logic.params);
    logic.FetchAll(rig.ipc.link);
    EXPECT_FLOAT_EQ(3.2f, alz.value);
    EXPECT_FALSE(alz.IsModified());
    alz.value = 2.5f;
    logic.params.SetModified(rig.ipc.link);
    EXPECT_EQ("-2.500000", rig.Param("alz"));
    logic.FetchAll(rig.ipc.link);
    EXPECT_FLOAT_EQ(2.5f, alz.value);
}

TEST(OverrideSensitivity, AnInputWithTheOverrideFunctionChangesTheScale)
{
    CalRig rig;
    CParamSet params;
    COverrideSensitivity sensitivity(params);
    sensitivity.ReadScale(rig.ipc.link);
    EXPECT_EQ(10, sensitivity.Scale());
    EXPECT_EQ(5, sensitivity.Minimum());
    EXPECT_EQ(25, sensitivity.Maximum());
    rig.SetParam("ei12", "31");
    sensitivity.ReadScale(rig.ipc.link);
    EXPECT_EQ(1, sensitivity.Scale());
    EXPECT_EQ(2, sensitivity.Minimum());
    EXPECT_EQ(20, sensitivity.Maximum());
    sensitivity.MoveSlider(7);
    EXPECT_EQ("7.0", sensitivity.ValueText());
}

TEST(OverrideSensitivity, TheSliderSitsAtTheNotchOfEverySensitivityThePageCanStore)
{
    CalRig rig;
    CParamSet params;
    COverrideSensitivity sensitivity(params);
    sensitivity.ReadScale(rig.ipc.link);
    ASSERT_EQ(10, sensitivity.Scale());
    for (int tenths = 5; tenths <= 25; ++tenths) {
        rig.SetParam("orv", Format("%.6f", tenths / 10.0));
        params.GetAll(rig.ipc.link);
        sensitivity.FromParams();
        EXPECT_EQ(tenths, sensitivity.Position()) << "orv " << rig.Param("orv");
        EXPECT_EQ(Format("%.1f", tenths / 10.0), sensitivity.ValueText());
        // And as the slider stores it.
        sensitivity.MoveSlider(tenths);
        sensitivity.FromParams();
        EXPECT_EQ(tenths, sensitivity.Position());
    }
}

TEST(OverrideSensitivity, AnInputThatCannotBeReadIsPassedOverWithOneBoxPerOutage)
{
    const struct {
        std::set<std::string> damaged; // inputs whose replies arrive damaged
        const char* refused;           // an input this firmware does not know
        int scale;
        std::size_t boxes;
        bool fifthAsked;
    } cases[] = {
        {{"ei3"}, "", 1, 1, true},
        {{}, "ei3", 1, 0, true},
        {{"ei3", "ei5"}, "", 1, 2, true},
        {{"ei3", "ei4"}, "", 10, 1, false}, // two in a row: the controller has stopped answering
    };
    for (const auto& c : cases) {
        CalRig rig(Options({{"unknown-params", c.refused}}));
        rig.SetParam("ei9", "30");
        std::set<std::string> asked;
        rig.ipc.damaged = [&](const sim::Request& r) {
            const sim::Bytes p = r.Payload();
            const std::string name(p.begin(), p.end());
            asked.insert(name);
            return c.damaged.count(name) > 0;
        };
        CParamSet params;
        COverrideSensitivity sensitivity(params);
        sensitivity.ReadScale(rig.ipc.link);
        std::string which = std::string("refused ") + c.refused + ", damaged";
        for (const std::string& name : c.damaged)
            which += " " + name;
        EXPECT_EQ(c.scale, sensitivity.Scale()) << which;
        EXPECT_EQ(std::vector<std::string>(c.boxes, "Communication Error Occured"), rig.Boxes()) << which;
        EXPECT_EQ(c.fifthAsked, asked.count("ei5") > 0) << which;
    }
}

TEST(Orientation, TheRotateControlsTurnByTheMatricesOfTheirTable)
{
    const std::pair<RotateControl, RoundedMatrix> table[] = {
        {RotateControl::Up, {{{0, 0, 1}, {0, 1, 0}, {-1, 0, 0}}}},
        {RotateControl::Down, {{{0, 0, -1}, {0, 1, 0}, {1, 0, 0}}}},
        {RotateControl::Left, {{{1, 0, 0}, {0, 0, -1}, {0, 1, 0}}}},
        {RotateControl::Right, {{{1, 0, 0}, {0, 0, 1}, {0, -1, 0}}}},
        {RotateControl::Counterclockwise, {{{0, -1, 0}, {1, 0, 0}, {0, 0, 1}}}},
        {RotateControl::Clockwise, {{{0, 1, 0}, {-1, 0, 0}, {0, 0, 1}}}},
    };
    for (const auto& [control, matrix] : table)
        EXPECT_EQ(matrix, RotateMatrix(control)) << static_cast<int>(control);
    EXPECT_EQ("/\\", std::string(RotateControlText(RotateControl::Up)));
    EXPECT_EQ("\\/", std::string(RotateControlText(RotateControl::Down)));
    EXPECT_EQ("<", std::string(RotateControlText(RotateControl::Left)));
    EXPECT_EQ(">", std::string(RotateControlText(RotateControl::Right)));
}

TEST(Orientation, ATurnMultipliesTheCurrentMatrixOnTheRightFromEveryMounting)
{
    int sidesDiffer = 0;
    for (int start = 0; start < kOrientationCount; ++start) {
        const OrientationEntry& entry = OrientationTable()[static_cast<std::size_t>(start)];
        for (int c = 0; c < kRotateControls; ++c) {
            const RotateControl control = static_cast<RotateControl>(c);
            CParamSet params;
            COrientationCal cal(params);
            cal.EnterAngles(StoredAngle(entry.yaw), StoredAngle(entry.pitch), StoredAngle(entry.roll));
            cal.Rotate(control);
            const int expected = FindOrientation(Product(entry.matrix, RotateMatrix(control)));
            EXPECT_EQ(expected, cal.Entry()) << "from " << start << ", control " << c;
            ASSERT_GE(expected, 0) << "every turn lands on a mounting";
            const OrientationEntry& landed = OrientationTable()[static_cast<std::size_t>(expected)];
            EXPECT_EQ(StoredAngle(landed.yaw), cal.Yaw().value);
            EXPECT_EQ(StoredAngle(landed.pitch), cal.Pitch().value);
            EXPECT_EQ(StoredAngle(landed.roll), cal.Roll().value);
            sidesDiffer += expected != FindOrientation(Product(RotateMatrix(control), entry.matrix));
        }
    }
    EXPECT_GT(sidesDiffer, 0) << "the cases tell the two sides of the product apart";
}

TEST(Orientation, ClosingTheAnglesDialogPutsTheMountingsOwnAnglesIn)
{
    CParamSet params;
    COrientationCal cal(params);
    // Yaw and roll half turns are the pitch half turn the table lists.
    cal.Yaw().value = 180;
    cal.Pitch().value = 0;
    cal.Roll().value = 180;
    cal.AnglesDialogClosed();
    ASSERT_GE(cal.Entry(), 0);
    EXPECT_EQ(0.0f, cal.Yaw().value);
    EXPECT_EQ(180.0f, cal.Pitch().value);
    EXPECT_EQ(0.0f, cal.Roll().value);
    // No mounting of the table: the angles stay.
    cal.Yaw().value = 45;
    cal.AnglesDialogClosed();
    EXPECT_EQ(-1, cal.Entry());
    EXPECT_EQ(45.0f, cal.Yaw().value);
}

TEST(Orientation, TheTableHas24DistinctMountingsEachTheMatrixOfItsAngles)
{
    const std::vector<OrientationEntry>& table = OrientationTable();
    ASSERT_EQ(24u, table.size());
    std::set<RoundedMatrix> distinct;
    for (const OrientationEntry& entry : table) {
        distinct.insert(entry.matrix);
        const double k = 3.14159265358979323846 / 180;
        EXPECT_EQ(entry.matrix, Rounded(RotationMatrix(entry.yaw * k, entry.pitch * k, entry.roll * k)));
    }
    EXPECT_EQ(24u, distinct.size());
    EXPECT_EQ(0, FindOrientation(table[0].matrix));
    EXPECT_EQ((RoundedMatrix{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}), table[0].matrix);
}

TEST(Orientation, FourTurnsWithOneControlComeBackAndEveryTurnLandsOnAnEntry)
{
    for (int start = 0; start < kOrientationCount; ++start) {
        for (int c = 0; c < kRotateControls; ++c) {
            CParamSet params;
            COrientationCal cal(params);
            const OrientationEntry& entry = OrientationTable()[static_cast<std::size_t>(start)];
            cal.EnterAngles(StoredAngle(entry.yaw), StoredAngle(entry.pitch), StoredAngle(entry.roll));
            ASSERT_EQ(start, cal.Entry());
            for (int turn = 0; turn < 4; ++turn) {
                cal.Rotate(static_cast<RotateControl>(c));
                ASSERT_GE(cal.Entry(), 0);
                if (turn < 3) {
                    EXPECT_NE(start, cal.Entry());
                }
            }
            EXPECT_EQ(start, cal.Entry()) << "control " << c;
        }
    }
}

TEST(Orientation, AMountingAt45DegreesFindsNoEntryAndKeepsItsAngles)
{
    CParamSet params;
    COrientationCal cal(params);
    cal.EnterAngles(45, 0, 0);
    EXPECT_EQ(-1, cal.Entry());
    EXPECT_EQ(kNoOrientationPicture, cal.Picture());
    EXPECT_EQ(45.0f, cal.Yaw().value);

    // A turn from a table entry takes the new entry's angles, negatives plus 360.
    cal.EnterAngles(0, 0, 0);
    cal.Rotate(RotateControl::Clockwise);
    EXPECT_GE(cal.Entry(), 0);
    const float yaw = cal.Yaw().value;
    EXPECT_TRUE(yaw == 90.0f || yaw == 270.0f) << yaw;
    EXPECT_EQ(0.0f, cal.Pitch().value);
}

TEST(RPMSensorCal, TheEnteredRpmScalesTheFactorAgainstTheReading)
{
    CalRig rig;
    CPageLogic logic;
    CRPMSensorCal cal(rig.context, logic.params);
    logic.FetchAll(rig.ipc.link);
    cal.Init();
    EXPECT_TRUE(cal.IsPolling());
    rig.Advance(250ms);
    const float shown = std::stof(cal.RpmText());
    EXPECT_GT(shown, 0.0f);
    cal.Press();
    EXPECT_EQ("Change RPM", std::string(cal.ButtonText()));
    cal.Press();
    EXPECT_TRUE(cal.RpmEditable());
    EXPECT_FALSE(cal.IsPolling());
    EXPECT_TRUE(cal.EnterRpm("abc").has_value());
    EXPECT_FALSE(cal.EnterRpm("2000").has_value());
    const float reading = sim::CTrackSteeringFeature::EngineReading(rig.ipc.now, 1.0f);
    cal.Press();
    EXPECT_EQ(1, cal.Step());
    EXPECT_TRUE(cal.IsPolling());
    EXPECT_NEAR(2000.0f / reading, cal.Factor(), 0.01f);

    cal.Leave();
    EXPECT_FALSE(cal.IsPolling());
    cal.Show();
    EXPECT_EQ(0, cal.Step());
    EXPECT_EQ(0.0f, ShownRpm(-5, 1, 1));
    EXPECT_EQ(0.0f, ShownRpm(20000, 1, 1));
}
