// The new installation wizard's steps, walked without widgets: lists from
// the configuration and calibration sheets' page selections, the vehicle
// described by the values those selections read.

#include "app/NewInstallationPages.h"
#include "setup/NewInstallation.h"
#include "pages/WizardButtons.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace halcyra;

namespace {

using Sequence = CNewInstallationSequence;

struct Vehicle {
    std::uint32_t gct = 3;
    CalibrationVehicle calibration;
    int configurationReads = 0;
    int calibrationReads = 0;
};

Sequence SequenceFor(Vehicle& v)
{
    return Sequence(
        [&v] {
            ++v.configurationReads;
            return NewInstallationConfigurationList(
                SelectConfigurationPages(v.calibration.vtt, v.gct == kRtkCorrection));
        },
        [&v] {
            ++v.calibrationReads;
            return NewInstallationCalibrationList(SelectCalibrationPages(v.calibration));
        });
}

std::string Label(const Sequence::Step& step)
{
    std::string label;
    switch (step.kind) {
    case Sequence::StepKind::Introduction:
        return "Introduction";
    case Sequence::StepKind::Ended:
        return "Ended";
    case Sequence::StepKind::VehicleModel:
        label = "Vehicle Model";
        break;
    case Sequence::StepKind::Page:
        if (step.page == Sequence::kSaveSetupPage)
            label = "Save Setup";
        else if (step.phase == Sequence::Phase::Configuration)
            label = ConfigPageTitle(ConfigPageOf(step.page));
        else
            label = CalPageInfoOf(CalPageOf(step.page)).title;
        break;
    }
    if (step.buttonFlags & kWizardFirstPage)
        label += " (no Back)";
    if (step.buttonFlags & kWizardLastPage)
        label += " (Finished)";
    return label;
}

// Closes each step shown with the next of results, Next once they run out,
// and lists the steps shown.
std::vector<std::string> Walk(Sequence& s, std::vector<int> results = {}, std::size_t limit = 60)
{
    std::vector<std::string> shown;
    std::size_t i = 0;
    while (!s.Ended() && shown.size() < limit) {
        shown.push_back(Label(s.Current()));
        s.Close(i < results.size() ? results[i++] : kWizardResultNext);
    }
    return shown;
}

constexpr int N = kWizardResultNext;
constexpr int B = kWizardResultBack;
constexpr int X = kWizardResultExit;

const std::vector<std::string> kType5Configuration = {
    "Displayed Units and Language", "GPS Configuration",     "Lightbar Configuration", "Operational Parameters",
    "DoroZiriv",                    "Sensors Configuration", "Valve On Speed",         "Radio Network ID"};

Vehicle Type5WithRtk()
{
    Vehicle v;
    v.calibration.vtt = 5;
    v.gct = 8;
    return v;
}

} // namespace

TEST(NewInstallation, Type5WithRtkWalksEveryPageToTheSavePage)
{
    Vehicle v = Type5WithRtk();
    Sequence s = SequenceFor(v);
    std::vector<std::string> expected = {"Introduction", "Vehicle Model (no Back)"};
    expected.insert(expected.end(), kType5Configuration.begin(), kType5Configuration.end());
    // No aggressiveness page in the wizard, unlike the calibration sheet.
    expected.insert(expected.end(), {"Controller Orientation", "Antenna Compensation", "Steering Sensor",
                                     "Automated Steering Deadzone", "Steering Gain", "Roll Compensation",
                                     "Save Setup (Finished)"});
    EXPECT_EQ(expected, Walk(s));
    EXPECT_EQ(Sequence::StepKind::Ended, s.Current().kind);
    EXPECT_EQ(1, v.configurationReads);
    EXPECT_EQ(1, v.calibrationReads);
}

TEST(NewInstallation, BackCrossesThePhasesAndStopsAtTheVehicleModel)
{
    Vehicle v = Type5WithRtk();
    Sequence s = SequenceFor(v);
    // Into the first calibration page, then Back: the radio page again.
    std::vector<int> results(1 + 1 + kType5Configuration.size(), N);
    results.push_back(B);
    // Back through every configuration page to the vehicle model, then Exit.
    results.insert(results.end(), kType5Configuration.size(), B);
    results.push_back(X);
    const std::vector<std::string> shown = Walk(s, results);
    ASSERT_EQ(results.size(), shown.size());
    EXPECT_EQ("Controller Orientation", shown[10]);
    EXPECT_EQ("Radio Network ID", shown[11]);
    EXPECT_EQ("Displayed Units and Language", shown[18]);
    EXPECT_EQ("Vehicle Model (no Back)", shown.back());
    EXPECT_TRUE(s.Ended());
    // Each change of phase chose its pages afresh.
    EXPECT_EQ(2, v.configurationReads);
    EXPECT_EQ(1, v.calibrationReads);
}

TEST(NewInstallation, ExitEndsAtOnceOnAnyStep)
{
    for (std::size_t at = 1; at < 17; ++at) {
        Vehicle v = Type5WithRtk();
        Sequence s = SequenceFor(v);
        std::vector<int> results(at, N);
        results.push_back(X);
        EXPECT_EQ(at + 1, Walk(s, results).size()) << at;
        EXPECT_TRUE(s.Ended());
    }
}

TEST(NewInstallation, ANewVehicleModelDecidesThePagesThatFollow)
{
    // No vehicle and no RTK: nothing after the vehicle model.
    Vehicle none;
    Sequence empty = SequenceFor(none);
    EXPECT_EQ((std::vector<std::string>{"Introduction", "Vehicle Model (no Back)"}), Walk(empty));
    EXPECT_EQ(0, none.calibrationReads);

    // The vehicle model page makes it a type 7 with vlt 10; a step closed
    // without a wizard button counts as Next.
    Vehicle v;
    Sequence s = SequenceFor(v);
    s.Close(N);
    v.calibration.vtt = 7;
    v.calibration.vlt = 10;
    s.Close(kWizardResultNone);
    std::vector<std::string> shown = Walk(s);
    const std::vector<std::string> tail(shown.end() - 4, shown.end());
    EXPECT_EQ((std::vector<std::string>{"Controller Orientation", "Antenna Compensation", "Roll Compensation",
                                        "Save Setup (Finished)"}),
              tail);
    EXPECT_EQ("Displayed Units and Language", shown.front());
    EXPECT_EQ(10u, shown.size());
}

TEST(NewInstallation, TheWizardLeavesOutTheImplementSensorAndAggressiveness)
{
    CalibrationVehicle type8;
    type8.vtt = 8;
    EXPECT_EQ((std::vector<int>{static_cast<int>(CalPage::Orientation), static_cast<int>(CalPage::AntennaPosCorr),
                                static_cast<int>(CalPage::AutoDeadZone), static_cast<int>(CalPage::PGain),
                                static_cast<int>(CalPage::RollCorr)}),
              NewInstallationCalibrationList(SelectCalibrationPages(type8)));
    // With the radio page alone, Back runs from the save page to the vehicle model.
    Vehicle v;
    v.gct = 8;
    Sequence s = SequenceFor(v);
    EXPECT_EQ((std::vector<std::string>{"Introduction", "Vehicle Model (no Back)", "Radio Network ID",
                                        "Save Setup (Finished)", "Radio Network ID", "Vehicle Model (no Back)"}),
              Walk(s, {N, N, N, B, B, X}));
}
