// Features of the simulated controller: their time, their options and their state.

#include "sim/FaultFeature.h"
#include "sim/InfoFeature.h"
#include "sim/SimController.h"
#include "sim/StatusFeature.h"

#include <gtest/gtest.h>

using namespace halcyra::sim;
using namespace std::chrono_literals;

namespace {

const Request kStatus{0xBE, 0x46, {0, 0}};
const Request kReset{0xBE, 0x46, {0, 2}};

} // namespace

TEST(SimFeature, TicksBringTheControllersTimeToEveryFeature)
{
    SimSettings settings;
    settings.restartTime = 500ms;
    CSimController sim(settings);
    auto& status = sim.Feature<CStatusFeature>();
    const auto t0 = Clock::now();
    sim.Tick(t0);
    EXPECT_EQ(Clock::duration::zero(), status.Uptime());
    sim.Tick(t0 + 1s);
    EXPECT_EQ(Clock::duration(1s), status.Uptime());
    EXPECT_EQ(t0 + 1s + CSimController::kTickPeriod, sim.NextTickDue());
    // Time never goes back.
    sim.Tick(t0 + 400ms);
    EXPECT_EQ(Clock::duration(1s), status.Uptime());

    // A request moves time on as well; a restart starts the count afresh
    // once the controller is back.
    EXPECT_FALSE(sim.Handle(kReset, t0 + 2s));
    EXPECT_EQ(Clock::duration::zero(), status.Uptime());
    sim.Tick(t0 + 2s + 400ms);
    EXPECT_EQ(Clock::duration::zero(), status.Uptime());
    ASSERT_TRUE(sim.Handle(kStatus, t0 + 3s));
    EXPECT_EQ(Clock::duration(500ms), status.Uptime());
}

TEST(SimFeature, OptionsSetByCodeAreCheckedAsOnTheCommandLine)
{
    for (const auto& [name, value] : {std::pair{"faults", "garbage"}, std::pair{"firmware-date", "notadate"},
                                      std::pair{"compat-a", "256"}, std::pair{"no-such-option", "1"}}) {
        SimSettings settings;
        settings.extra[name] = value;
        EXPECT_THROW(CSimController{settings}, std::invalid_argument) << name << " " << value;
    }
}

TEST(SimFeature, EachControllerOwnsItsFeaturesState)
{
    SimSettings settings;
    settings.extra["faults"] = "3;2,4,1.5,0,-2,Hydraulic pressure low";
    CSimController one(settings);
    CSimController other(settings);
    const Request clear{0xBE, 0x47, {5, 3, 0, 2}};
    ASSERT_TRUE(one.Handle(clear, Clock::now()));
    EXPECT_FALSE(one.Feature<CFaultFeature>().Slots()[2].active);
    EXPECT_TRUE(other.Feature<CFaultFeature>().Slots()[2].active);
}

TEST(SimFeature, FaultTableOptionReadsEverySlotAndRefusesWhatItCannotPlace)
{
    FaultTable table;
    std::string why;
    ASSERT_TRUE(ParseOptionValue("4;3,7,100,2.5,-0.25,Valve current high, left side;0,1,0,0,0,", table, why)) << why;
    ASSERT_EQ(4u, table.size());
    EXPECT_TRUE(table[3].active);
    EXPECT_EQ(7, table[3].count);
    EXPECT_FLOAT_EQ(-0.25f, table[3].data[2]);
    EXPECT_EQ("Valve current high, left side", table[3].description);
    EXPECT_TRUE(table[0].active);
    EXPECT_FALSE(table[1].active);

    ASSERT_TRUE(ParseOptionValue("0", table, why));
    EXPECT_TRUE(table.empty());

    for (const std::string& bad : std::vector<std::string>{"", "garbage", "3;", "3;3,1,0,0,0,out of range", "3;1,1,0,0,0,a;1,2,0,0,0,twice",
                                  "2;1,1,0,0,missing field", "2;1,70000,0,0,0,count", "2;1,1,nan,0,0,data",
                                  "2;1,1,0,0,0," + std::string(201, 'x'), "70000"})
        EXPECT_FALSE(ParseOptionValue(bad, table, why)) << bad;
}
