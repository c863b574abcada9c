// halcyra pages calibration: the calibration sheet's titles, and simulator
// settings that make each calibration page appear.

#include "CliSupport.h"

#include <gtest/gtest.h>

using namespace halcyra::test;

namespace {

std::string Pages(std::vector<std::string> sets)
{
    std::vector<std::string> args = {"--simulator"};
    for (const std::string& set : sets) {
        args.push_back("--sim-set");
        args.push_back(set);
    }
    args.insert(args.end(), {"pages", "calibration"});
    CliRun r = Halcyra(args);
    EXPECT_EQ(0, r.status) << r.err;
    return r.out;
}

} // namespace

TEST(CliCalibration, PagesCalibrationPrintsTheSheetsTitlesForTheVehicle)
{
    EXPECT_EQ("Controller Orientation\nAntenna Compensation\nSteering Sensor\nAutomated Steering Deadzone\n"
              "Steering Gain\nRoll Compensation\nManual Override\nAggressiveness\n",
              Pages({}));
    EXPECT_EQ("Controller Orientation\nAntenna Compensation\nTrack Spacing\nRPM Sensor\nSteering Pump Responses\n"
              "Steering Pump Knees\nRoll Compensation\nAggressiveness\n",
              Pages({"vtt=2", "ei1=0"}));
    EXPECT_EQ("Controller Orientation\nAntenna Compensation\nTrack Spacing\nManual Override\nJD Interface\n"
              "Steering Calibration\nRoll Compensation\nAggressiveness\n",
              Pages({"vtt=3"}));
    EXPECT_EQ("Controller Orientation\nAntenna Compensation\nRoll Compensation\nAggressiveness\n",
              Pages({"vtt=7", "vlt=10"}));
    EXPECT_EQ("Controller Orientation\nAntenna Compensation\nAutomated Steering Deadzone\nSteering Gain\n"
              "Roll Compensation\nAggressiveness\n",
              Pages({"vtt=8", "sge=1", "iay=45.000000"}));
    EXPECT_EQ("Controller Orientation\nAntenna Compensation\nSteering Sensor\nAutomated Steering Deadzone\n"
              "Steering Gain\nRoll Compensation\nManual Override\nAggressiveness\n",
              Pages({"vtt=1", "ei1=0", "ei6=30"}));
    EXPECT_EQ("", Pages({"vtt=9"}));
}
