// The simulated controller's vehicle type and mounting options, and the
// pump tests' responses to their gains, as the calibration pages meet them.

#include "sim/PumpFeature.h"
#include "sim/SimController.h"
#include "sim/VehicleTypeFeature.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace halcyra::sim;

TEST(VehicleTypeFeature, TheOptionsSetTheVehicleAndTheMounting)
{
    SimSettings settings;
    settings.extra["vehicle-type"] = "jd-x30-track";
    settings.extra["mounting"] = "45,0,270";
    CSimController sim(settings);
    EXPECT_EQ("3", sim.Params().Get("vtt").value_or(""));
    EXPECT_EQ("11", sim.Params().Get("vlt").value_or(""));
    EXPECT_FLOAT_EQ(45.0f, sim.Params().Decimal("iay"));
    EXPECT_FLOAT_EQ(270.0f, sim.Params().Decimal("iar"));

    MountingAngles angles;
    std::string why;
    EXPECT_FALSE(ParseOptionValue("45,0", angles, why));
    EXPECT_FALSE(ParseOptionValue("45,0,0,0", angles, why));
    EXPECT_FALSE(ParseOptionValue("400,0,0", angles, why));
    SimSettings unknown;
    unknown.extra["vehicle-type"] = "hovercraft";
    EXPECT_THROW(CSimController{unknown}, std::invalid_argument);
}

TEST(PumpFeature, AHigherGainRisesFasterAndOvershootsMore)
{
    for (const bool left : {false, true}) {
        EXPECT_LT(CPumpFeature::RiseMs(2.0f, left), CPumpFeature::RiseMs(1.0f, left));
        EXPECT_GT(CPumpFeature::OvershootPercent(8.0f, left), CPumpFeature::OvershootPercent(6.0f, left));
    }
    EXPECT_EQ(0.0f, CPumpFeature::TurnRate(CPumpFeature::kTrueLeftKnee - 0.5f, true));
    EXPECT_GT(CPumpFeature::TurnRate(CPumpFeature::kTrueLeftKnee + 0.5f, true), 0.0f);
}
