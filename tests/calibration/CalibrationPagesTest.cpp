// Which calibration pages suit a vehicle, and reading the vehicle.

#include "CalRig.h"
#include "calibration/CalibrationPages.h"

#include <gtest/gtest.h>

using namespace halcyra;
using namespace halcyra::test;

namespace {

std::vector<std::string> Titles(const std::vector<CalPage>& pages)
{
    std::vector<std::string> titles;
    for (CalPage page : pages)
        titles.emplace_back(CalPageInfoOf(page).title);
    return titles;
}

std::vector<std::string> TitlesFor(std::initializer_list<std::pair<const char*, const char*>> params)
{
    CalRig rig;
    for (const auto& [name, value] : params)
        rig.SetParam(name, value);
    return CalibrationPageTitles(rig.ipc.link);
}

using Titles_ = std::vector<std::string>;

} // namespace

TEST(CalibrationPages, EveryPageClassHasItsTitleInTheSheetsOrder)
{
    const std::vector<CalPageInfo>& table = CalPageTable();
    ASSERT_EQ(static_cast<std::size_t>(kCalPageCount), table.size());
    for (std::size_t i = 0; i < table.size(); ++i)
        EXPECT_EQ(static_cast<CalPage>(i), table[i].page) << table[i].className;
    EXPECT_STREQ("CCalSteerSensorPage", CalPageInfoOf(CalPage::SteerSensor).className);
    EXPECT_STREQ("Automated Steering Deadzone", CalPageInfoOf(CalPage::AutoDeadZone).title);
    EXPECT_STREQ("JD Interface", CalPageInfoOf(CalPage::JDx30TElecTrackContents).title);
}

TEST(CalibrationPages, TheSelectionTableByVehicleType)
{
    using enum CalPage;
    CalibrationVehicle wheeled;
    wheeled.vtt = 5;
    wheeled.hasOverrideSensor = true;
    EXPECT_EQ((std::vector<CalPage>{Orientation, AntennaPosCorr, SteerSensor, AutoDeadZone, PGain, RollCorr,
                                    ManOverride, Aggressiveness}),
              SelectCalibrationPages(wheeled));
    wheeled.wantSensorPage = false;
    EXPECT_EQ((Titles_{"Controller Orientation", "Antenna Compensation", "Automated Steering Deadzone",
                       "Steering Gain", "Roll Compensation", "Manual Override", "Aggressiveness"}),
              Titles(SelectCalibrationPages(wheeled)));

    CalibrationVehicle tracked;
    tracked.vtt = 2;
    EXPECT_EQ((std::vector<CalPage>{Orientation, AntennaPosCorr, TrackSpacing, RPMSensor, HydTrackedSteeringPump,
                                    HydTrackedPumpKnee, RollCorr, Aggressiveness}),
              SelectCalibrationPages(tracked));

    CalibrationVehicle jd;
    jd.vtt = 3;
    jd.hasOverrideSensor = true; // never for electric tracks
    const std::vector<CalPage> jdPages{Orientation, AntennaPosCorr, TrackSpacing, JDElecManualOverride,
                                          JDx30TElecTrackContents, JDElecTrackContents, RollCorr, Aggressiveness};
    EXPECT_EQ(jdPages, SelectCalibrationPages(jd));
    jd.vlt = 11;
    EXPECT_EQ((std::vector<CalPage>{Orientation, AntennaPosCorr, TrackSpacing, JDElecManualOverride,
                                    JDx30TElecTrackContents, RollCorr, Aggressiveness}),
              SelectCalibrationPages(jd));

    CalibrationVehicle mt;
    mt.vtt = 7;
    mt.hasOverrideSensor = true;
    EXPECT_EQ((std::vector<CalPage>{Orientation, AntennaPosCorr, TrackSpacing, JDElecManualOverride,
                                    MTElecTrackContents, RollCorr, Aggressiveness}),
              SelectCalibrationPages(mt));
    mt.vlt = 10;
    EXPECT_EQ((Titles_{"Controller Orientation", "Antenna Compensation", "Roll Compensation", "Aggressiveness"}),
              Titles(SelectCalibrationPages(mt)));

    CalibrationVehicle implement;
    implement.vtt = 8;
    implement.hasOverrideSensor = true;
    implement.orientationNonStandard = true;
    EXPECT_EQ((std::vector<CalPage>{OrientationDirect, AntennaPosCorr, ImplSteerSensor, AutoDeadZone, PGain,
                                    RollCorr, Aggressiveness}),
              SelectCalibrationPages(implement));

    for (std::uint32_t vtt : {0u, 9u, 250u}) {
        CalibrationVehicle none;
        none.vtt = vtt;
        EXPECT_TRUE(SelectCalibrationPages(none).empty()) << vtt;
    }
}

TEST(CalibrationPages, TheOverrideSensorFromEi6AddsManualOverrideOnlyForWheeledAndHydraulicTracked)
{
    for (const char* vtt : {"1", "2", "3", "4", "5", "6", "7", "8"}) {
        CalRig rig;
        rig.SetParam("vtt", vtt);
        rig.SetParam("ei1", "4");
        rig.SetParam("ei6", "30");
        const std::vector<CalPage> pages = SelectCalibrationPages(ReadCalibrationVehicle(rig.ipc.link));
        const bool expected = std::string("12456").find(vtt) != std::string::npos;
        EXPECT_EQ(expected, std::find(pages.begin(), pages.end(), CalPage::ManOverride) != pages.end()) << vtt;
    }
    EXPECT_EQ(7u, TitlesFor({{"ei1", "4"}, {"ei6", "8"}}).size());
}

TEST(CalibrationPages, MountingAnglesChooseTheOrientationPage)
{
    CalRig standard;
    for (const char* name : {"iay", "iap", "iar"})
        standard.SetParam(name, "270.000000");
    EXPECT_FALSE(ReadCalibrationVehicle(standard.ipc.link).orientationNonStandard);
    for (const char* angle : {"0.000000", "90.000000", "180.000000"}) {
        CalRig rig;
        rig.SetParam("iap", angle);
        EXPECT_FALSE(ReadCalibrationVehicle(rig.ipc.link).orientationNonStandard) << angle;
    }
    CalRig yawed;
    yawed.SetParam("iay", "45.000000");
    const CalibrationVehicle vehicle = ReadCalibrationVehicle(yawed.ipc.link);
    EXPECT_TRUE(vehicle.orientationNonStandard);
    EXPECT_EQ(CalPage::OrientationDirect, SelectCalibrationPages(vehicle).front());
}

TEST(CalibrationPages, WithoutTheVehicleIdentityThereAreNoPagesAndNothingMoreIsRead)
{
    CalRig rig;
    rig.withhold = [](const sim::Request& r) {
        const sim::Bytes p = r.Payload();
        return std::string(p.begin(), p.end()) == "vms";
    };
    const CalibrationVehicle vehicle = ReadCalibrationVehicle(rig.ipc.link);
    EXPECT_EQ(0u, vehicle.vtt);
    EXPECT_EQ(std::vector<std::string>{"Communication Error Occured"}, rig.Boxes());
    ASSERT_EQ(5u, rig.sent.size()) << "vtt, vti and three tries of vms";
    EXPECT_TRUE(SelectCalibrationPages(vehicle).empty());

    CalRig sensorless;
    sensorless.SetParam("sge", "1");
    EXPECT_FALSE(ReadCalibrationVehicle(sensorless.ipc.link).wantSensorPage);
    CalRig unknownType;
    unknownType.SetParam("vtt", "12");
    EXPECT_TRUE(CalibrationPageTitles(unknownType.ipc.link).empty());
    EXPECT_EQ(3u, unknownType.sent.size());
}
