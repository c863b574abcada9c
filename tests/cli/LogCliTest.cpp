// halcyra log: status, commands, the download and the configuration upload
// with external logging, against the simulator over a real pseudo-terminal.

#include "ChildProcess.h"
#include "CliSupport.h"
#include "SimFixture.h"
#include "sim/LoggingFeature.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <sys/wait.h>

using namespace halcyra;
using namespace halcyra::test;
using namespace std::chrono_literals;

namespace {

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

std::string Block(Served& sim, std::uint8_t block)
{
    return sim.With([&](sim::CSimController& s) { return AsText(sim::BlockContents(s, block)); });
}

sim::CLoggingFeature& Logging(sim::CSimController& s) { return s.Feature<sim::CLoggingFeature>(); }

} // namespace

TEST(LogCli, StatusAndTheCommands)
{
    Served sim(WithExtra({{"log-length", "3000"}, {"log-capacity", "65536"}}));
    const std::string port = sim.server.DevicePath();
    CliRun status = Halcyra({"--port", port, "log", "status"});
    EXPECT_EQ(0, status.status) << status.err;
    EXPECT_EQ("Active: no\nUsed: 3000 of 65536\n", status.out);

    EXPECT_EQ(0, Halcyra({"--port", port, "log", "start"}).status);
    EXPECT_EQ("Active: yes\n", Halcyra({"--port", port, "log", "status"}).out.substr(0, 12));
    EXPECT_EQ(0, Halcyra({"--port", port, "log", "stop"}).status);
    EXPECT_EQ(0, Halcyra({"--port", port, "log", "clear"}).status);
    EXPECT_EQ("Active: no\nUsed: 0 of 65536\n", Halcyra({"--port", port, "log", "status"}).out);

    CliRun silent = Halcyra({"--simulator", "--sim-silent", "log", "status"});
    EXPECT_EQ(1, silent.status);
    EXPECT_EQ("", silent.out);
}

TEST(LogCli, DownloadWritesTheLogAndTheSetupCopyBesideIt)
{
    Served sim(WithExtra({{"log-length", "229"}}));
    ScratchDir dir;
    CliRun r = Halcyra({"--port", sim.server.DevicePath(), "log", "download", dir.File("run1.dbg")});
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_EQ(Block(sim, 1), ReadAll(dir.File("run1.dbg")));
    EXPECT_EQ(229u, ReadAll(dir.File("run1.dbg")).size());
    EXPECT_EQ(Block(sim, 6), ReadAll(dir.File("run1.dbg.cfg")));
    EXPECT_TRUE(Contains(r.err, "chunk 2 of 2\n")) << r.err;
}

TEST(LogCli, ExternalConfigurationStreamsTheAskedNumberOfRecordsThenGivesTheSettingBack)
{
    Served sim(WithExtra({{"log-output", "2"}, {"log-record-bytes", "300"}}));
    const std::string port = sim.server.DevicePath();
    ScratchDir dir;
    WriteAll(dir.File("stream.dlc"), "DblLocation: 1\r\nDblRate: 1\r\n");

    // Without a file for the log nothing is sent.
    const std::uint64_t before = sim.Requests();
    CliRun missing = Halcyra({"--port", port, "log", "configure", dir.File("stream.dlc")});
    EXPECT_EQ(2, missing.status);
    EXPECT_TRUE(Contains(missing.err, "--output LOG.dbg")) << missing.err;
    EXPECT_EQ(before, sim.Requests());

    CliRun r = Halcyra(
        {"--port", port, "log", "configure", dir.File("stream.dlc"), "--output", dir.File("field.dbg"), "--records", "7"});
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_EQ("Records Saved: 7\nRecords Dropped: 0\n", r.out);
    std::string expected = sim.With([](sim::CSimController& s) { return AsText(Logging(s).Header()); });
    for (std::uint32_t i = 0; i < 7; ++i)
        expected += sim.With([&](sim::CSimController& s) { return AsText(Logging(s).Record(i)); });
    EXPECT_EQ(expected, ReadAll(dir.File("field.dbg")));
    EXPECT_EQ("Active: no\n", Halcyra({"--port", port, "log", "status"}).out.substr(0, 11));
    EXPECT_EQ(2u, sim.With([](sim::CSimController& s) { return Logging(s).Output(); }));
}

TEST(LogCli, UsageErrorsExitWithTwo)
{
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"log"}, {"log", "begin"}, {"log", "status", "now"}, {"log", "download"}, {"log", "configure"},
             {"log", "configure", "a.dlc", "--records", "0"}, {"log", "configure", "a.dlc", "--seconds", "x"},
             {"log", "configure", "a.dlc", "--records", "3", "--seconds", "2"}}) {
        std::vector<std::string> full{"--simulator"};
        full.insert(full.end(), args.begin(), args.end());
        EXPECT_EQ(2, Halcyra(full).status) << ::testing::PrintToString(args);
    }
}

TEST(LogCli, ASimulatorKilledDuringTheDownloadLeavesTheFileThatWasThere)
{
    ScratchDir dir;
    Child controller({HALCYRA_SIM_PATH, "--link", dir.File("controller"), "--log-length", "100000", "--pace", "38400"});
    ASSERT_TRUE(controller.WaitFor("/dev/", 10s)) << controller.Seen();
    WriteAll(dir.File("run1.dbg"), "an earlier log");
    Child download({HALCYRA_CLI_PATH, "--port", dir.File("controller"), "log", "download", dir.File("run1.dbg")});
    ASSERT_TRUE(download.WaitFor("chunk 1 of 439\n", 10s)) << download.Seen();
    controller.Signal(SIGKILL);
    const int status = download.Wait();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status << download.Seen();
    EXPECT_EQ("an earlier log", ReadAll(dir.File("run1.dbg")));
    std::vector<std::string> names = dir.Names();
    std::erase(names, "controller"); // the dead simulator's link
    EXPECT_EQ(std::vector<std::string>{"run1.dbg"}, names);
}

TEST(LogCli, CtrlCEndsExternalLoggingInGoodOrder)
{
    Served sim(WithExtra({{"log-output", "2"}}));
    ScratchDir dir;
    WriteAll(dir.File("stream.dlc"), "DblLocation: 1\r\nDblRate: 2\r\n");
    Child logging({HALCYRA_CLI_PATH, "--port", sim.server.DevicePath(), "log", "configure", dir.File("stream.dlc"),
                   "--output", dir.File("field.dbg")});
    // Records come at 10 Hz; the count goes to standard error every second.
    ASSERT_TRUE(logging.WaitFor("2 s: ", 15s)) << logging.Seen();
    logging.Signal(SIGINT);
    const int status = logging.Wait();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status << logging.Seen();
    EXPECT_TRUE(Contains(logging.Seen(), "Records Saved: ")) << logging.Seen();
    const std::string saved = ReadAll(dir.File("field.dbg"));
    const std::string header = sim.With([](sim::CSimController& s) { return AsText(Logging(s).Header()); });
    EXPECT_EQ(header, saved.substr(0, header.size()));
    EXPECT_GE(saved.size(), header.size() + 10 * 200) << "at least a second of records";
    EXPECT_EQ(0u, (saved.size() - header.size()) % 200) << "whole records only";
    // The simulator answers in order: once it has answered this, it has had the stop and the setting.
    EXPECT_EQ("Active: no\n", Halcyra({"--port", sim.server.DevicePath(), "log", "status"}).out.substr(0, 11));
    EXPECT_EQ(2u, sim.With([](sim::CSimController& s) { return Logging(s).Output(); }));
    std::vector<std::string> names = dir.Names();
    std::sort(names.begin(), names.end());
    EXPECT_EQ((std::vector<std::string>{"field.dbg", "stream.dlc"}), names);
}
