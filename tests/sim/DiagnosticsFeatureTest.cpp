// The simulated controller's live readings: they follow its time, change
// now and then, reach the parameters the switch pages read, and the input
// configuration can be chosen.

#include "link/MessageIds.h"
#include "sim/DiagnosticsFeature.h"
#include "sim/SimController.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>

using namespace halcyra;
using namespace halcyra::sim;
using namespace std::chrono_literals;

namespace {

Request Reading(std::uint8_t item, std::uint8_t selector2 = wire::diagnostics::kLiveSelector)
{
    return {0xBE, wire::kDiagnosticsMsg, {0, 0, item, selector2}};
}

float FirstFloat(const Bytes& reply)
{
    // Message id and four header bytes, then the payload.
    const std::uint32_t bits = std::uint32_t{reply.at(5)} << 24 | std::uint32_t{reply.at(6)} << 16 |
                               std::uint32_t{reply.at(7)} << 8 | reply.at(8);
    float value = 0;
    std::memcpy(&value, &bits, 4);
    return value;
}

const Clock::time_point kStart = Clock::time_point{} + 1h;

// The value a named-parameter get answers with at time t.
std::string GetParam(CSimController& sim, const std::string& name, Clock::time_point t)
{
    Request r{0xBE, wire::kInfoMsg, {wire::info::kParamSub, wire::info::kParamGetOp}};
    for (char c : name)
        r.body.push_back(static_cast<std::uint8_t>(c));
    const std::optional<Bytes> reply = sim.Handle(r, t);
    const std::string text = reply ? std::string(reply->begin() + 3, reply->end()) : "";
    return text.rfind(name + ": ", 0) == 0 ? text.substr(name.size() + 2) : "<" + text + ">";
}

} // namespace

TEST(SimDiagnostics, ReadingsFollowTheControllersTimeAndAreTheSameEveryRun)
{
    CSimController one, other;
    one.Tick(kStart);
    other.Tick(kStart);
    const float atStart = one.Feature<CDiagnosticsFeature>().Readings().wheelAngleDeg;
    one.Tick(kStart + 6s);
    other.Tick(kStart + 6s);
    const DiagReadings& a = one.Feature<CDiagnosticsFeature>().Readings();
    const DiagReadings& b = other.Feature<CDiagnosticsFeature>().Readings();
    EXPECT_GT(std::fabs(a.wheelAngleDeg - atStart), 20.0f) << "a quarter sweep of the wheel";
    EXPECT_EQ(a.steeringVolts, b.steeringVolts);
    EXPECT_EQ(a.leftPsi, b.leftPsi);
}

TEST(SimDiagnostics, LeversAndSwitchesChangeNowAndThenAndTheirParametersFollow)
{
    CSimController sim;
    const DiagReadings& d = sim.Feature<CDiagnosticsFeature>().Readings();
    std::set<int> gears, overrides, seated, engaged, balance, faults, directions;
    for (auto t = kStart; t < kStart + 10min; t += CSimController::kTickPeriod) {
        sim.Tick(t);
        gears.insert(d.gear);
        overrides.insert(d.overrideState);
        seated.insert(d.opsState);
        engaged.insert(d.engageState);
        balance.insert(d.balanceState);
        faults.insert(d.moduleFaultState);
        directions.insert(d.direction);
        ASSERT_EQ(std::to_string(d.opsState), GetParam(sim, "RODiagOpsSwitchScaled", t));
        ASSERT_EQ(std::to_string(d.engageState), GetParam(sim, "RODiagRemoteEngageSwitchScaled", t));
        ASSERT_EQ(std::to_string(d.direction), GetParam(sim, "ROVehDirection", t));
    }
    EXPECT_EQ((std::set<int>{1, 2, 3}), gears);
    EXPECT_EQ((std::set<int>{1, 2, 3}), directions);
    for (const auto* states : {&overrides, &seated, &engaged, &balance, &faults})
        EXPECT_EQ((std::set<int>{0, 1}), *states);
}

TEST(SimDiagnostics, OnlyTheLiveReadingOfAKnownItemIsAnswered)
{
    CSimController sim;
    EXPECT_TRUE(sim.Handle(Reading(wire::diagnostics::kSteeringAngleItem), kStart));
    EXPECT_FALSE(sim.Handle(Reading(3), kStart));
    EXPECT_FALSE(sim.Handle(Reading(wire::diagnostics::kSteeringAngleItem, 0x05), kStart));
}

TEST(SimDiagnostics, TheInputOptionsChooseTheInputConfiguration)
{
    SimSettings settings;
    settings.extra["inputs"] = "12,11";
    settings.extra["can-signals"] = "7";
    CSimController sim(settings);
    auto reply = sim.Handle(Reading(wire::diagnostics::kSteeringAngleItem), kStart);
    EXPECT_EQ("2", sim.Params().Get("einum"));
    EXPECT_EQ("12", sim.Params().Get("ei1"));
    EXPECT_EQ("11", sim.Params().Get("ei2"));
    EXPECT_EQ("1", sim.Params().Get("csnum"));
    EXPECT_EQ("7", sim.Params().Get("cs1"));
    ASSERT_TRUE(reply);
    EXPECT_EQ(sim.Feature<CDiagnosticsFeature>().Readings().curvature, FirstFloat(*reply))
        << "a steering angle over CAN reads as curvature";

    SimSettings none;
    none.extra["inputs"] = "none";
    CSimController bare(none);
    bare.Tick(kStart);
    EXPECT_EQ("0", bare.Params().Get("einum"));

    for (const char* bad : {"300", "5,,6", "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21"}) {
        SimSettings refused;
        refused.extra["inputs"] = bad;
        EXPECT_THROW(CSimController{refused}, std::invalid_argument) << bad;
    }
}
