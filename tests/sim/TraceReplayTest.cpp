// A trace recorded by the program or by the simulator, played back by the
// simulator in place of a controller.

#include "Fifo.h"
#include "SimFixture.h"
#include "link/TraceFile.h"
#include "params/Param.h"
#include "setup/SetupFiles.h"
#include "sim/TraceReplay.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace halcyra;
using namespace halcyra::sim;
using namespace halcyra::test;
using namespace std::chrono_literals;

namespace {

enum class Recorder { Program, Simulator };

// Runs session against a simulator while the program or the simulator
// writes a trace to tracePath.
void Record(Recorder recorder, const std::string& tracePath, SimOptions options,
            const std::function<void(CControllerLink&)>& session)
{
    std::string error;
    auto trace = CTraceFile::Open(tracePath, error, recorder == Recorder::Program ? "halcyra" : "halcyra-sim");
    ASSERT_TRUE(trace) << error;
    CSimServer server(std::move(options));
    ASSERT_TRUE(server.Open(error)) << error;
    if (recorder == Recorder::Simulator)
        server.SetTrace(trace.get());
    server.Start();
    CRecordingNotifier notifier;
    CControllerLink link(notifier);
    if (recorder == Recorder::Program)
        link.SetTrace(trace.get());
    link.Open(server.DevicePath(), false);
    session(link);
    link.Close();
    server.Stop();
}

struct Replayed {
    explicit Replayed(const std::string& tracePath) : server(SimOptions{}), link(notifier)
    {
        std::string error;
        EXPECT_TRUE(replay.Load(tracePath, error)) << error;
        EXPECT_TRUE(server.Open(error)) << error;
        server.SetReplay(&replay, [this](const std::string& request) { unmatched.push_back(request); });
        server.Start();
        link.Open(server.DevicePath(), false);
    }
    CTraceReplay replay;
    std::vector<std::string> unmatched;
    CSimServer server;
    CRecordingNotifier notifier;
    CControllerLink link;
};

} // namespace

class TraceReplayOf : public ::testing::TestWithParam<Recorder> {};

TEST_P(TraceReplayOf, ASetupSaveGivesTheSameFileByteForByte)
{
    ScratchDir dir;
    // Noise and a corrupted reply on the way: the trace keeps what crossed
    // the wire, and the retries replay as they happened.
    SimOptions o;
    o.faults.noiseBytes = 3;
    o.faults.corruptShare = 0.1;
    o.faults.seed = 7;
    Record(GetParam(), dir.File("save.trace"), o, [&](CControllerLink& link) {
        ASSERT_TRUE(SaveBlockToFile(link, dir.File("recorded.cfg"), kSetupBlock, true));
    });
    Replayed r(dir.File("save.trace"));
    ASSERT_TRUE(SaveBlockToFile(r.link, dir.File("replayed.cfg"), kSetupBlock, true));
    EXPECT_FALSE(ReadAll(dir.File("recorded.cfg")).empty());
    EXPECT_EQ(ReadAll(dir.File("recorded.cfg")), ReadAll(dir.File("replayed.cfg")));
    EXPECT_TRUE(r.unmatched.empty());
}

INSTANTIATE_TEST_SUITE_P(Recorders, TraceReplayOf, ::testing::Values(Recorder::Program, Recorder::Simulator));

TEST(TraceReplay, RepeatsTheLastAnswerAndReportsRequestsItNeverSaw)
{
    ScratchDir dir;
    SimOptions o;
    o.assignments = {"vtt=7"};
    Record(Recorder::Program, dir.File("get.trace"), o, [](CControllerLink& link) {
        CUIntParam vtt("vtt");
        ASSERT_TRUE(vtt.Get(link));
    });
    Replayed r(dir.File("get.trace"));
    for (int i = 0; i < 2; ++i) {
        CUIntParam vtt("vtt");
        EXPECT_TRUE(vtt.Get(r.link));
        EXPECT_EQ(7u, vtt.value);
    }
    CParamTextMsg vti(CParamTextMsg::Get, "vti");
    EXPECT_FALSE(r.link.Transact(vti, {.timeoutMs = 150, .tries = 2, .showError = false}));
    // Each try is reported: the header, then the name.
    ASSERT_EQ(2u, r.unmatched.size());
    EXPECT_EQ("BE 40 14 00 76 74 69", r.unmatched[0].substr(0, 20));
    EXPECT_EQ(2u, r.replay.Unmatched());
}

TEST(TraceReplay, ARequestThatWentUnansweredStaysUnansweredWithoutBeingReported)
{
    ScratchDir dir;
    SimOptions o;
    o.faults.silent = true;
    Record(Recorder::Simulator, dir.File("silent.trace"), o, [](CControllerLink& link) {
        CParamTextMsg vtt(CParamTextMsg::Get, "vtt");
        EXPECT_FALSE(link.Transact(vtt, {.timeoutMs = 100, .tries = 1, .showError = false}));
    });
    Replayed r(dir.File("silent.trace"));
    CParamTextMsg vtt(CParamTextMsg::Get, "vtt");
    EXPECT_FALSE(r.link.Transact(vtt, {.timeoutMs = 200, .tries = 1, .showError = false}));
    EXPECT_TRUE(r.unmatched.empty());
}

TEST(TraceReplay, ATraceWithLoneCrLineEndsReplaysAlike)
{
    ScratchDir dir;
    SimOptions o;
    o.assignments = {"vtt=7"};
    Record(Recorder::Program, dir.File("get.trace"), o, [](CControllerLink& link) {
        CUIntParam vtt("vtt");
        ASSERT_TRUE(vtt.Get(link));
    });
    std::string text = ReadAll(dir.File("get.trace"));
    std::replace(text.begin(), text.end(), '\n', '\r');
    WriteAll(dir.File("cr.trace"), text);
    Replayed r(dir.File("cr.trace"));
    EXPECT_EQ(1u, r.replay.Exchanges());
    CUIntParam vtt("vtt");
    EXPECT_TRUE(vtt.Get(r.link));
    EXPECT_EQ(7u, vtt.value);
}

TEST(TraceReplay, AnythingButARegularFileIsRefusedAtOnce)
{
    ScratchDir dir;
    Fifo fifo(dir.File("fifo.trace"));
    CTraceReplay replay;
    std::string error;
    EXPECT_TRUE(fifo.ReturnsWithin(2s, [&] { EXPECT_FALSE(replay.Load(fifo.Path(), error)); }));
    EXPECT_EQ(fifo.Path() + ": it is not a regular file", error);
    EXPECT_FALSE(replay.Load(dir.File(""), error));
}

TEST(TraceReplay, ATraceWithoutRequestsIsRefused)
{
    std::istringstream in("# halcyra frame trace\n12:00:00.000 RX discarded (noise, in state \"ground\") 55 A2\n");
    CTraceReplay replay;
    std::string error;
    EXPECT_FALSE(replay.Load(in, error));
    EXPECT_EQ("the trace records no request", error);
}
