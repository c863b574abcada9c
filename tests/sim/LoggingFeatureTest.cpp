// The simulated controller's logging: internal logging fills the log memory,
// and only a configuration for the PC streams the log, at its rate.

#include "sim/BlockFeature.h"
#include "sim/LoggingFeature.h"
#include "sim/SimController.h"

#include <gtest/gtest.h>

using namespace halcyra::sim;
using namespace std::chrono_literals;

namespace {

const Request kStart{0xBE, 0x43, {3, 0, 0, 0, 1}};
const Request kSetOutputToPc{0xBE, 0x47, {14, 9, 0, 0, 0, 6}};

} // namespace

TEST(LoggingFeature, StreamsOnlyWhileSetToThePcAndLogsInternallyOtherwise)
{
    CSimController sim;
    ASSERT_EQ(CParamStore::SetResult::Stored, sim.Params().Set("DblLocation", "1"));
    ASSERT_EQ(CParamStore::SetResult::Stored, sim.Params().Set("DblRate", "1"));
    const auto t0 = Clock::now();
    sim.Tick(t0);
    const std::uint32_t length = sim.Feature<CBlockFeature>().LogLength();
    EXPECT_FALSE(sim.Handle(kStart, t0));
    sim.Tick(t0 + 1s);
    EXPECT_TRUE(sim.TakeUnasked().empty());
    EXPECT_EQ(length + 512, sim.Feature<CBlockFeature>().LogLength());

    // Set to the PC: 50 Hz records of 200 bytes, two frames each, and the log memory left alone.
    EXPECT_FALSE(sim.Handle(kSetOutputToPc, t0 + 1s));
    sim.Tick(t0 + 1100ms);
    const std::vector<Bytes> frames = sim.TakeUnasked();
    ASSERT_EQ(10u, frames.size());
    EXPECT_EQ((Bytes{0x47, 14, 7, 1, 2, 170}), Bytes(frames[0].begin(), frames[0].begin() + 6));
    EXPECT_EQ((Bytes{0x47, 14, 7, 2, 2, 30}), Bytes(frames[1].begin(), frames[1].begin() + 6));
    EXPECT_EQ(5u, sim.Feature<CLoggingFeature>().RecordsSent());
    EXPECT_EQ(length + 512, sim.Feature<CBlockFeature>().LogLength());
}

TEST(LoggingFeature, DamagedFramesCarryABlockNumberNoItemHas)
{
    SimSettings settings;
    settings.extra["log-damage-every"] = "3";
    settings.extra["log-record-bytes"] = "400";
    CSimController sim(settings);
    sim.Params().Set("DblLocation", "1");
    sim.Params().Set("DblRate", "2");
    const auto t0 = Clock::now();
    sim.Handle(kSetOutputToPc, t0);
    sim.Handle(kStart, t0);
    sim.Tick(t0 + 200ms);
    const std::vector<Bytes> frames = sim.TakeUnasked();
    ASSERT_EQ(6u, frames.size());
    for (std::size_t i = 0; i < frames.size(); ++i)
        EXPECT_EQ(i % 3 == 2 ? 4 : static_cast<int>(i % 3) + 1, frames[i][3]) << i;
    EXPECT_EQ(2u, sim.Feature<CLoggingFeature>().FramesDamaged());
}
