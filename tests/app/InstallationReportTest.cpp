// The installation report's content, read from the simulated controller for
// vehicles of different types, and what it shows when the controller goes
// quiet part of the way.

#include "SimFixture.h"
#include "app/InstallationReport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

using namespace halcyra;
using namespace halcyra::test;

namespace {

std::vector<std::string> Titles(const std::vector<ReportSection>& sections)
{
    std::vector<std::string> titles;
    for (const ReportSection& s : sections)
        titles.push_back(s.title);
    return titles;
}

const ReportSection& SectionOf(const std::vector<ReportSection>& sections, const std::string& title)
{
    static const ReportSection none{"<none>", {}, -1};
    auto it = std::find_if(sections.begin(), sections.end(), [&](const ReportSection& s) { return s.title == title; });
    return it == sections.end() ? none : *it;
}

// "value unit" of the row with that label, "<missing>" without one.
std::string Shown(const ReportSection& section, const std::string& label)
{
    for (const ReportRow& row : section.rows)
        if (!row.note && row.label == label)
            return row.unit.empty() ? row.value : row.value + " " + row.unit;
    return "<missing>";
}

bool HasNoteWith(const ReportSection& section, const std::string& part)
{
    return std::any_of(section.rows.begin(), section.rows.end(),
                       [&](const ReportRow& r) { return r.note && r.value.find(part) != std::string::npos; });
}

InstallationReport Gather(Connected& c, const ProgressCallback& progress = {})
{
    return GatherInstallationReport(c.link, {"Ana Fitter", "Brook Farm"}, 0, progress);
}

sim::SimOptions Vehicle(const char* type) { return WithExtra({{"vehicle-type", type}}); }

} // namespace

TEST(InstallationReport, TheDefaultTractorWithEveryPageAsItShowsItsValues)
{
    Connected c;
    const InstallationReport r = Gather(c);
    EXPECT_EQ(0u, r.NotReadCount()) << InstallationReportText(r);
    EXPECT_FALSE(r.controllerStopped);
    EXPECT_EQ("Ana Fitter", r.people.installer);
    EXPECT_EQ("Brook Farm", r.people.customer);
    EXPECT_EQ(0u, c.notifier.shown.size()) << "a report asks nothing and shows no box";

    EXPECT_EQ("3.05", Shown(r.controller, "Monitor Version"));
    EXPECT_EQ("7/2/9", Shown(r.controller, "Monitor Date"));
    EXPECT_EQ("<missing>", Shown(r.controller, "Vehicle Model")) << "the vehicle has its own section";
    EXPECT_EQ("Fieldora 8240W", Shown(r.vehicle, "Current Vehicle Model"));
    EXPECT_EQ("5 (wheeled)", Shown(r.vehicle, "Vehicle Type"));
    EXPECT_EQ("No", Shown(r.vehicle, "Ext. VP"));

    EXPECT_EQ((std::vector<std::string>{"Displayed Units and Language", "GPS Configuration", "Lightbar Configuration",
                                        "Operational Parameters", "DoroZiriv", "Sensors Configuration",
                                        "Valve On Speed", "Radio Network ID"}),
              Titles(r.configuration));
    const ReportSection& display = SectionOf(r.configuration, "Displayed Units and Language");
    EXPECT_EQ("meters", Shown(display, "Displayed Units"));
    EXPECT_EQ("English", Shown(display, "Language"));
    const ReportSection& operation = SectionOf(r.configuration, "Operational Parameters");
    EXPECT_EQ("30 m", Shown(operation, "End Of Row Alarm Distance"));
    EXPECT_EQ("5 min", Shown(operation, "Operator Alert Timeout"));
    EXPECT_EQ("GPS Antenna", Shown(operation, "Swath Changeover At"));
    const ReportSection& lightbar = SectionOf(r.configuration, "Lightbar Configuration");
    EXPECT_EQ("3 (1 Dark to 5 Bright)", Shown(lightbar, "LED Brightness"));
    EXPECT_EQ("0.1 m", Shown(lightbar, "Inner LED Spacing"));
    EXPECT_EQ("1.70 m (linear)", Shown(lightbar, "End LED Distance"));
    EXPECT_EQ("Swath Number", Shown(lightbar, "Text Message"));
    EXPECT_EQ("Show Correction", Shown(lightbar, "Lightbar Mode"));
    // A choice without a label of its own is named by the caption above it.
    const ReportSection& doroZiriv = SectionOf(r.configuration, "DoroZiriv");
    EXPECT_EQ("Potentiometer", Shown(doroZiriv, "Installed Steering Angle Sensor"));
    EXPECT_EQ("Right Wheel", Shown(doroZiriv, "DoroZiriv Mounting Options"));
    EXPECT_EQ("No", Shown(doroZiriv, "Box Mounted Upside Down (Label Down, Box Lid On Top)"));
    const ReportSection& sensors = SectionOf(r.configuration, "Sensors Configuration");
    EXPECT_EQ("No", Shown(sensors, "Use Wheel Speed / Neutral Sense")) << "lso 1: the input is ignored";
    EXPECT_EQ("Yes", Shown(sensors, "Use Gear Lever Sensor"));
    EXPECT_EQ("Normal", Shown(SectionOf(r.configuration, "Valve On Speed"), "Minimum Valve On Speed"));
    EXPECT_EQ("Network 5", Shown(SectionOf(r.configuration, "Radio Network ID"), "Network ID"));

    EXPECT_EQ((std::vector<std::string>{"Controller Orientation", "Antenna Compensation", "Steering Sensor",
                                        "Automated Steering Deadzone", "Steering Gain", "Roll Compensation",
                                        "Manual Override", "Aggressiveness"}),
              Titles(r.calibration));
    const ReportSection& orientation = SectionOf(r.calibration, "Controller Orientation");
    EXPECT_EQ("0 deg", Shown(orientation, "Yaw"));
    EXPECT_EQ(0, orientation.picture);
    const ReportSection& antenna = SectionOf(r.calibration, "Antenna Compensation");
    EXPECT_EQ("3.200 m", Shown(antenna, "Antenna height above ground")) << "alz is kept negative, shown positive";
    EXPECT_EQ("1.100 m", Shown(antenna, "Antenna distance from fixed axle"));
    const ReportSection& deadZone = SectionOf(r.calibration, "Automated Steering Deadzone");
    EXPECT_EQ("0.32", Shown(deadZone, "Dead Zone Left"));
    EXPECT_EQ("0.30", Shown(deadZone, "Dead Zone Right"));
    EXPECT_TRUE(HasNoteWith(deadZone, "Automated Deadzone Calibration Report")) << InstallationReportText(r);
    EXPECT_NE("<missing>", Shown(SectionOf(r.calibration, "Steering Sensor"), "Sensor Volts"));
    EXPECT_EQ("12", Shown(SectionOf(r.calibration, "Steering Gain"), "Saved Gain"));
    const ReportSection& roll = SectionOf(r.calibration, "Roll Compensation");
    EXPECT_EQ("0.000 m", Shown(roll, "Roll Offset"));
    EXPECT_EQ("Vehicle is to the RIGHT of the line", Shown(roll, "Roll Compensation"));
    EXPECT_EQ("1.5", Shown(SectionOf(r.calibration, "Manual Override"), "Manual Override Sensitivity"));
    const ReportSection& aggressiveness = SectionOf(r.calibration, "Aggressiveness");
    EXPECT_EQ("98%", Shown(aggressiveness, "Line Acquisition Aggressiveness"));
    EXPECT_TRUE(HasNoteWith(aggressiveness, "9.0 km/h"));

    ASSERT_TRUE(r.faultsRead);
    ASSERT_EQ(2u, r.faults.size());
    EXPECT_EQ(1u, r.faults[0].number);
    EXPECT_EQ("Steering angle sensor signal out of range", r.faults[0].description);
    EXPECT_EQ(3, r.faults[0].count);
    EXPECT_EQ(3u, r.faults[1].number);
    EXPECT_EQ("Supply voltage low", r.faults[1].description);
}

TEST(InstallationReport, AHydraulicTrackHasItsPumpPagesAndNoDoroZiriv)
{
    Connected c(Vehicle("hydraulic-track"));
    const InstallationReport r = Gather(c);
    EXPECT_EQ(0u, r.NotReadCount()) << InstallationReportText(r);
    EXPECT_EQ("2 (tracked, hydraulic steering pumps)", Shown(r.vehicle, "Vehicle Type"));
    EXPECT_EQ("<none>", SectionOf(r.configuration, "DoroZiriv").title);
    EXPECT_EQ((std::vector<std::string>{"Controller Orientation", "Antenna Compensation", "Track Spacing",
                                        "RPM Sensor", "Steering Pump Responses", "Steering Pump Knees",
                                        "Roll Compensation", "Manual Override", "Aggressiveness"}),
              Titles(r.calibration));
    EXPECT_EQ("2.240 m", Shown(SectionOf(r.calibration, "Track Spacing"), "Track Spacing"));
    EXPECT_EQ("1", Shown(SectionOf(r.calibration, "RPM Sensor"), "Engine Speed Scale"));
    EXPECT_EQ("Left 1, Right 1", Shown(SectionOf(r.calibration, "Steering Pump Responses"), "Saved Gain"));
    EXPECT_EQ("Left 1.5, Right 1.5", Shown(SectionOf(r.calibration, "Steering Pump Knees"), "Saved Knee"));
}

TEST(InstallationReport, AnMtTrackShowsItsBiasDeadbandAndOverrideBias)
{
    // In feet, which the lengths follow.
    sim::SimOptions options = Vehicle("mt-track");
    options.assignments.push_back("dsu=3");
    Connected c(options);
    const InstallationReport r = Gather(c);
    EXPECT_EQ(0u, r.NotReadCount()) << InstallationReportText(r);
    EXPECT_EQ("7 (tracked, MT electric steering)", Shown(r.vehicle, "Vehicle Type"));
    EXPECT_EQ((std::vector<std::string>{"Controller Orientation", "Antenna Compensation", "Track Spacing",
                                        "Manual Override", "Steering Calibration", "Roll Compensation",
                                        "Aggressiveness"}),
              Titles(r.calibration));
    EXPECT_EQ("0.50", Shown(SectionOf(r.calibration, "Manual Override"), "Saved Bias"));
    const ReportSection& steering = SectionOf(r.calibration, "Steering Calibration");
    EXPECT_EQ("2.50", Shown(steering, "Steering Pot Centerpoint (Bias)"));
    EXPECT_EQ("0.060", Shown(steering, "Deadband Compensation"));
    EXPECT_EQ("7.349 ft", Shown(steering, "Track Spacing")) << "2.24 m";
    EXPECT_EQ("10.499 ft", Shown(SectionOf(r.calibration, "Antenna Compensation"), "Antenna height above ground"));
    EXPECT_EQ("feet", Shown(SectionOf(r.configuration, "Displayed Units and Language"), "Displayed Units"));
    EXPECT_TRUE(HasNoteWith(SectionOf(r.calibration, "Aggressiveness"), "mph")) << "feet show speeds in mph";
}

TEST(InstallationReport, AControllerThatStopsAnsweringIsAskedTwiceMoreAndTheRestShowsNotRead)
{
    Connected c;
    const auto started = std::chrono::steady_clock::now();
    // Silent once the vehicle and the page lists have been read.
    const InstallationReport r = Gather(c, [&c](std::uint32_t done, std::uint32_t) {
        if (done == 2)
            c.server.Faults().silent = true;
    });
    const auto took = std::chrono::steady_clock::now() - started;
    EXPECT_TRUE(r.controllerStopped);
    EXPECT_LT(took, std::chrono::seconds(12)) << "two requests' time-outs, not one per value";
    EXPECT_EQ(0u, c.notifier.shown.size()) << "the caller says it once";

    EXPECT_EQ("Fieldora 8240W", Shown(r.vehicle, "Current Vehicle Model"));
    ASSERT_EQ(8u, r.configuration.size()) << "the pages are known from before";
    EXPECT_EQ("not read", Shown(SectionOf(r.configuration, "Displayed Units and Language"), "Displayed Units"));
    EXPECT_EQ("not read", Shown(SectionOf(r.configuration, "Operational Parameters"), "End Of Row Alarm Distance"))
        << "no unit for a value that is not there";
    EXPECT_EQ("not read", Shown(SectionOf(r.configuration, "Valve On Speed"), "Minimum Valve On Speed"));
    EXPECT_EQ("not read", Shown(SectionOf(r.calibration, "Steering Gain"), "Saved Gain"));
    EXPECT_EQ("not read", Shown(SectionOf(r.calibration, "Steering Sensor"), "Sensor Volts"));
    EXPECT_EQ(-1, SectionOf(r.calibration, "Controller Orientation").picture);
    EXPECT_FALSE(r.faultsRead);
    EXPECT_GT(r.NotReadCount(), 20u);
    const std::string text = InstallationReportText(r);
    // Notes of what was never read are left out.
    EXPECT_EQ(std::string::npos, text.find("Text filled in at runtime")) << text;
    EXPECT_EQ(std::string::npos, text.find("Caution: DoroZiriv is not supported")) << text;
}

TEST(InstallationReport, NamesWithControlCharactersOrTooLongAreRefused)
{
    EXPECT_EQ(std::nullopt, CheckReportName(""));
    EXPECT_EQ(std::nullopt, CheckReportName("Zoë Ångström-Øster"));
    EXPECT_NE(std::nullopt, CheckReportName("Ana\nFitter"));
    EXPECT_NE(std::nullopt, CheckReportName("Ana\tFitter"));
    EXPECT_NE(std::nullopt, CheckReportName("Ana\x1B[2JFitter"));
    EXPECT_EQ(std::nullopt, CheckReportName(std::string(100, 'a')));
    EXPECT_NE(std::nullopt, CheckReportName(std::string(101, 'a')));
    // Characters, not bytes: 100 two-byte letters will do.
    std::string accented;
    for (int i = 0; i < 100; ++i)
        accented += "é";
    EXPECT_EQ(std::nullopt, CheckReportName(accented));
}

TEST(InstallationReport, LetterWhereItIsTheCustomA4Elsewhere)
{
    EXPECT_EQ(ReportPaper::Letter, PaperForLocale("en_US.UTF-8"));
    EXPECT_EQ(ReportPaper::Letter, PaperForLocale("es_MX"));
    EXPECT_EQ(ReportPaper::Letter, PaperForLocale("fr_CA.UTF-8@euro"));
    EXPECT_EQ(ReportPaper::A4, PaperForLocale("en_GB.UTF-8"));
    EXPECT_EQ(ReportPaper::A4, PaperForLocale("de_DE"));
    EXPECT_EQ(ReportPaper::A4, PaperForLocale("C"));
    EXPECT_EQ(ReportPaper::A4, PaperForLocale(""));
    EXPECT_EQ(ReportPaper::A4, PaperForLocale("es_USA")) << "a territory is matched whole";
}
