// The simulated controller's vehicle list, its firmware's unknown
// parameters and its radio, as the configuration pages meet them.

#include "sim/ParamFeature.h"
#include "sim/SimController.h"
#include "sim/VehicleFeature.h"

#include <gtest/gtest.h>

using namespace halcyra::sim;

namespace {

Request Vehicle(std::uint8_t operation, std::uint16_t index)
{
    return {0xBE, 0x47, {20, operation, static_cast<std::uint8_t>(index >> 8), static_cast<std::uint8_t>(index)}};
}

Request Param(std::uint8_t operation, const std::string& text)
{
    Request r{0xBE, 0x40, {0x14, operation}};
    for (char c : text)
        r.body.push_back(static_cast<std::uint8_t>(c));
    return r;
}

std::string ReplyText(const std::optional<Bytes>& reply)
{
    return reply ? std::string(reply->begin() + 3, reply->end()) : "<silent>";
}

const Request kReset{0xBE, 0x46, {0, 2}};

} // namespace

TEST(VehicleFeature, ASelectionTakesEffectWhenTheControllerRestarts)
{
    SimSettings settings;
    settings.restartTime = std::chrono::milliseconds(100);
    CSimController sim(settings);
    const auto t0 = Clock::now();
    const std::optional<Bytes> count = sim.Handle(Vehicle(0, 0), t0);
    ASSERT_TRUE(count);
    EXPECT_EQ((Bytes{0x47, 20, 0, 0, 0, 0, 6}), *count);

    const std::optional<Bytes> entry = sim.Handle(Vehicle(2, 1), t0);
    ASSERT_TRUE(entry);
    ASSERT_EQ(3u + 34u, entry->size());
    EXPECT_EQ("Tracmor 9RT", std::string(reinterpret_cast<const char*>(entry->data()) + 3 + 2 + 16));
    EXPECT_EQ("3", sim.Params().Get("vti")) << "not before the restart";
    sim.Handle(kReset, t0);
    sim.Tick(t0 + std::chrono::milliseconds(200));
    EXPECT_EQ("1", sim.Params().Get("vti"));
    EXPECT_EQ("2", sim.Params().Get("vtt"));
    EXPECT_EQ("\"Tracmor 9RT\"", sim.Params().Get("vms"));

    // An entry without a name is no vehicle.
    sim.Handle(Vehicle(2, 2), t0 + std::chrono::milliseconds(300));
    sim.Handle(kReset, t0 + std::chrono::milliseconds(300));
    sim.Tick(t0 + std::chrono::milliseconds(500));
    EXPECT_EQ("1", sim.Params().Get("vti"));
}

TEST(VehicleFeature, TheListOptionIsCheckedAsTyped)
{
    VehicleList list;
    std::string why;
    EXPECT_TRUE(ParseOptionValue("1,A;0,;7,Sprayline 4730", list, why));
    ASSERT_EQ(3u, list.entries.size());
    EXPECT_EQ("", list.entries[1].name);
    EXPECT_FALSE(ParseOptionValue("1,Seventeen chars!!", list, why));
    EXPECT_FALSE(ParseOptionValue("x,Name", list, why));
    EXPECT_FALSE(ParseOptionValue("Name", list, why));
}

TEST(ParamFeature, UnknownParametersAreRefusedAndTheRadioCanBeBusy)
{
    SimSettings settings;
    settings.extra["unknown-params"] = "sls,rnie";
    settings.extra["radio-busy-gets"] = "2";
    CSimController sim(settings);
    const auto t0 = Clock::now();
    EXPECT_EQ("sls? unknown parameter", ReplyText(sim.Handle(Param(0, "sls"), t0)));
    EXPECT_EQ("sls? unknown parameter", ReplyText(sim.Handle(Param(1, "sls: 1"), t0)));
    EXPECT_EQ("0", sim.Params().Get("sls"));
    // Without "rnie" the status is in "rni".
    EXPECT_EQ("rni: 42", ReplyText(sim.Handle(Param(0, "rni"), t0)));
    EXPECT_EQ("rni: 42", ReplyText(sim.Handle(Param(0, "rni"), t0)));
    EXPECT_EQ("rni: 5", ReplyText(sim.Handle(Param(0, "rni"), t0)));

    ParamNames names;
    std::string why;
    EXPECT_FALSE(ParseOptionValue("ok1,x", names, why));
    EXPECT_TRUE(ParseOptionValue("", names, why));
}
