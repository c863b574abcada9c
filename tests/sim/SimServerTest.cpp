// The simulator served on a pseudo-terminal and reached through the real
// serial port code, with and without injected faults.

#include "SimFixture.h"
#include "link/ControllerLink.h"
#include "params/Param.h"
#include "sim/SimServer.h"
#include "sim/StatusFeature.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <mutex>
#include <thread>
#include <unistd.h>

using namespace halcyra;
using namespace halcyra::sim;
using namespace halcyra::test;

TEST(SimServer, AnswersGetsThroughTheSerialPort)
{
    SimOptions o;
    o.assignments = {"dsu=2"};
    Connected c(o);
    CUIntParam vtt("vtt");
    CUnitsParam dsu;
    EXPECT_TRUE(vtt.Get(c.link));
    EXPECT_EQ(5u, vtt.value);
    EXPECT_TRUE(dsu.Get(c.link));
    EXPECT_EQ("in", dsu.UnitName());
    EXPECT_TRUE(c.notifier.shown.empty());
}

TEST(SimServer, RetriesRideOverDroppedCorruptedAndNoisyReplies)
{
    SimOptions o;
    o.faults.dropShare = 0.3;
    o.faults.corruptShare = 0.2;
    o.faults.noiseBytes = 12;
    o.faults.seed = 11;
    Connected c(o);
    int ok = 0;
    for (int i = 0; i < 12; ++i) {
        CUIntParam vtt("vtt");
        ok += vtt.Get(c.link) && vtt.value == 5u;
    }
    // Three tries per get: nearly all succeed; a failure is reported, never a wrong value.
    EXPECT_GE(ok, 10);
    for (const auto& box : c.notifier.shown)
        EXPECT_EQ("Communication Error Occured", box.text);
}

TEST(SimServer, LateRepliesArePassedOverAndEveryGetTakesItsOwn)
{
    SimOptions o;
    o.faults.delay = std::chrono::milliseconds(1150);
    Connected c(o);
    // Each get's first try times out and its late reply answers the second
    // try; the second try's reply then arrives during the next get, which
    // passes over it and waits for its own.
    CUIntParam vtt("vtt");
    CUnitsParam dsu;
    CStringParam vms("vms");
    EXPECT_TRUE(vtt.Get(c.link));
    EXPECT_TRUE(dsu.Get(c.link));
    EXPECT_TRUE(vms.Get(c.link));
    EXPECT_EQ(5u, vtt.value);
    EXPECT_EQ("m", dsu.UnitName());
    EXPECT_EQ("Fieldora 8240W", vms.value);
    EXPECT_TRUE(c.notifier.shown.empty());
}

struct RecordingTrace final : IFrameTrace {
    void OnFrame(const TraceRecord& r) override
    {
        std::lock_guard<std::mutex> lock(mutex);
        records.push_back(r);
    }
    std::vector<TraceRecord> Taken()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return records;
    }
    std::mutex mutex;
    std::vector<TraceRecord> records;
};

TEST(SimServer, TraceShowsRequestsReceivedAndRepliesSentOrWithheld)
{
    SimOptions o;
    o.faults.noiseBytes = 3;
    RecordingTrace trace;
    CSimServer server(o);
    server.SetTrace(&trace);
    std::string error;
    ASSERT_TRUE(server.Open(error)) << error;
    server.Start();
    test::CRecordingNotifier notifier;
    CControllerLink link(notifier);
    link.Open(server.DevicePath(), false);
    CUIntParam vtt("vtt");
    ASSERT_TRUE(vtt.Get(link));
    server.Faults().silent = true;
    CParamTextMsg unanswered(CParamTextMsg::Get, "vtt");
    EXPECT_FALSE(link.Transact(unanswered, {.timeoutMs = 100, .tries = 1, .showError = false}));
    server.Stop();

    const std::vector<TraceRecord> records = trace.Taken();
    ASSERT_EQ(records.size(), 5u); // request, noise, reply; request, reply withheld
    EXPECT_EQ(records[0].direction, TraceDirection::Received);
    EXPECT_EQ(records[0].verdict, TraceVerdict::Accepted);
    EXPECT_EQ(records[0].header, (Bytes{0xBE, 0x40, 0x14, 0x00}));
    EXPECT_EQ(records[1].detail, "noise");
    EXPECT_EQ(records[1].wire.size(), 3u);
    EXPECT_EQ(records[2].direction, TraceDirection::Sent);
    EXPECT_EQ(records[2].header, (Bytes{0xBF, 0x40, 0x14, 0x00}));
    EXPECT_EQ(records[2].wire.front(), 0x10);
    EXPECT_EQ(records[3].verdict, TraceVerdict::Accepted);
    EXPECT_EQ(records[4].verdict, TraceVerdict::Withheld);
    EXPECT_EQ(records[4].direction, TraceDirection::Sent);
}

TEST(SimServer, SilentControllerFailsAfterThreeTries)
{
    SimOptions o;
    o.faults.silent = true;
    Connected c(o);
    CStatusMsg status;
    auto t0 = std::chrono::steady_clock::now();
    EXPECT_FALSE(c.link.Transact(status, {.timeoutMs = 100}));
    EXPECT_GE(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(300));
    ASSERT_EQ(1u, c.notifier.shown.size());
    EXPECT_EQ("Data Transfer Error", c.notifier.shown[0].caption);
}

TEST(SimServer, ResetSilencesTheControllerForItsRestartTime)
{
    SimOptions o;
    o.settings.restartTime = std::chrono::milliseconds(400);
    Connected c(o);
    c.link.SendOnly(CResetMsg());
    CStatusMsg early;
    EXPECT_FALSE(c.link.Transact(early, {.timeoutMs = 100, .tries = 1, .showError = false}));
    CStatusMsg later;
    EXPECT_TRUE(c.link.Transact(later, {.timeoutMs = 250, .tries = 16, .showError = false}));
    EXPECT_EQ(1, later.status[0]);
}

TEST(SimServer, SetChangesTheStoreAndLinkPathPointsAtTheDevice)
{
    const std::string linkPath = ::testing::TempDir() + "halcyra-sim-link";
    SimOptions o;
    o.linkPath = linkPath;
    {
        Connected c(o);
        EXPECT_EQ(c.server.DevicePath(), std::filesystem::read_symlink(linkPath).string());
        CStringParam vms("vms");
        ASSERT_TRUE(vms.Get(c.link));
        vms.value = "Other Model";
        ASSERT_TRUE(vms.Set(c.link));
        std::string stored;
        c.server.WithController([&](CSimController& s) { stored = s.Params().Get("vms").value_or(""); });
        EXPECT_EQ("\"Other Model\"", stored);
    }
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(linkPath)));
}

TEST(SimServer, PacedRepliesTakeAtLeastTheirWireTime)
{
    SimOptions o;
    o.faults.paceBaud = 9600;
    Connected c(o);
    CStringParam vms("vms");
    auto t0 = std::chrono::steady_clock::now();
    ASSERT_TRUE(vms.Get(c.link));
    auto took = std::chrono::steady_clock::now() - t0;
    const double bytes = static_cast<double>(c.link.BytesSent() + c.link.BytesReceived());
    EXPECT_GE(std::chrono::duration<double>(took).count(), 0.95 * bytes * 10.0 / 9600.0);
}

TEST(SimServer, LinkPathOfAnotherSimulatorOrFileIsRefusedAndLeftAlone)
{
    namespace fs = std::filesystem;
    ScratchDir dir;
    SimOptions o;
    o.linkPath = dir.File("link");
    Served first(o);
    const fs::path firstDevice = first.server.DevicePath();
    {
        CSimServer second(o);
        std::string error;
        EXPECT_FALSE(second.Open(error));
        EXPECT_EQ(o.linkPath + " already links to " + firstDevice.string() +
                      ", which is in use; remove it or choose another path",
                  error);
    }
    // The refused simulator took nothing away on its way out.
    EXPECT_EQ(firstDevice, fs::read_symlink(o.linkPath));

    SimOptions onFile;
    onFile.linkPath = dir.File("notes.txt");
    WriteAll(onFile.linkPath, "mine");
    {
        CSimServer server(onFile);
        std::string error;
        EXPECT_FALSE(server.Open(error));
        EXPECT_NE(std::string::npos, error.find("exists and is not a link")) << error;
    }
    EXPECT_EQ("mine", ReadAll(onFile.linkPath));
}

TEST(SimServer, LinkLeftByAGoneSimulatorIsReplacedAndOnlyOurOwnLinkIsRemoved)
{
    namespace fs = std::filesystem;
    ScratchDir dir;
    SimOptions o;
    o.linkPath = dir.File("link");
    fs::create_symlink("/dev/pts/2147483647", o.linkPath);
    {
        Served s(o);
        EXPECT_EQ(s.server.DevicePath(), fs::read_symlink(o.linkPath).string());
        // Someone points the path elsewhere while we run: it is theirs now.
        fs::remove(o.linkPath);
        fs::create_symlink("/dev/null", o.linkPath);
    }
    EXPECT_EQ("/dev/null", fs::read_symlink(o.linkPath).string());
}

TEST(SimServer, TicksTheControllerWhileIdle)
{
    Served s;
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const auto uptime = s.With([](CSimController& c) { return c.Feature<CStatusFeature>().Uptime(); });
    EXPECT_GT(uptime, std::chrono::milliseconds(0));
    EXPECT_EQ(0u, s.Requests());
}
