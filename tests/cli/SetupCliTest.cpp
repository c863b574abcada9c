// save-setup, restore-setup and faults on the command line, against the
// simulator over a real pseudo-terminal.

#include "ChildProcess.h"
#include "CliSupport.h"
#include "SimFixture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <sys/wait.h>

using namespace halcyra;
using namespace halcyra::test;

namespace {

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

} // namespace

TEST(SetupCli, SaveSetupWritesTheBlockAndShowsProgress)
{
    Served sim;
    ScratchDir dir;
    CliRun r = Halcyra({"--port", sim.server.DevicePath(), "save-setup", dir.File("tractor.cfg")});
    EXPECT_EQ(0, r.status) << r.err;
    const std::string setup = sim.With([](sim::CSimController& s) { return s.Params().ToText(); });
    EXPECT_EQ(setup, ReadAll(dir.File("tractor.cfg")));
    const std::string last = std::to_string((setup.size() + 227) / 228);
    EXPECT_TRUE(Contains(r.err, "chunk 1 of " + last + "\n")) << r.err;
    EXPECT_TRUE(Contains(r.err, "chunk " + last + " of " + last + "\nSave Complete: Setup saved successfully\n"))
        << r.err;

    CliRun log = Halcyra({"--simulator", "--sim-log-length", "300", "save-setup", dir.File("log.dbg"), "--block", "1"});
    EXPECT_EQ(0, log.status) << log.err;
    EXPECT_EQ(300u, ReadAll(dir.File("log.dbg")).size());
}

TEST(SetupCli, RestoreSetupAsksFirstAndOnlyAnOkSendsTheFile)
{
    sim::SimOptions o;
    o.settings.restartTime = std::chrono::milliseconds(100);
    Served sim(o);
    ScratchDir dir;
    WriteAll(dir.File("other.cfg"), "vms: \"Fieldora 7100T\"\r\nvtt: 2\r\n");
    const std::vector<std::string> restore{"--port", sim.server.DevicePath(), "restore-setup", dir.File("other.cfg")};
    const std::uint64_t before = sim.Requests();
    CliRun asked = Halcyra(restore, "c\n");
    EXPECT_EQ(1, asked.status);
    EXPECT_TRUE(Contains(asked.err, "Vehicle model is: Fieldora 7100T\n")) << asked.err;
    EXPECT_TRUE(Contains(asked.err, "Restore Cancelled: Setup restore has been cancelled")) << asked.err;
    EXPECT_EQ(before, sim.Requests());

    std::vector<std::string> yes = restore;
    yes.push_back("--yes");
    CliRun r = Halcyra(yes);
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_EQ("\"Fieldora 7100T\"", sim.Param("vms"));
    EXPECT_EQ("2", sim.Param("vtt"));
    EXPECT_TRUE(Contains(r.err, "Restore Complete: Setup restored successfully\n")) << r.err;
}

TEST(SetupCli, FaultsListShowAndClear)
{
    sim::SimOptions o;
    o.settings.extra["faults"] = "4;1,2,1.5,0,-0.25,Hydraulic pressure low;3,7,100,2.5,0,Steering valve current "
                                 "above the permitted limit";
    Served sim(o);
    const std::string port = sim.server.DevicePath();
    CliRun list = Halcyra({"--port", port, "faults"});
    EXPECT_EQ(0, list.status) << list.err;
    EXPECT_EQ("001: Hydraulic pressure low\n003: Steering valve current above the pe\n", list.out);

    CliRun show = Halcyra({"--port", port, "faults", "--show", "1"});
    EXPECT_EQ(0, show.status) << show.err;
    EXPECT_EQ("Fault#:\t\t001\n\nDescription: \tHydraulic pressure low\n\n"
              "Fault Data:\n\t\t1.500000\n\t\t0.000000\n\t\t-0.250000\n\nCount:\t\t002\n\n\n",
              show.out);
    EXPECT_EQ(1, Halcyra({"--port", port, "faults", "--show", "2"}).status); // not listed

    CliRun clear = Halcyra({"--port", port, "faults", "--clear", "1"});
    EXPECT_EQ(0, clear.status) << clear.err;
    EXPECT_EQ("003: Steering valve current above the pe\n", clear.out);
}

TEST(SetupCli, NoFaultsHaveNoReportAndASilentControllerFails)
{
    ScratchDir dir;
    CliRun none = Halcyra({"--simulator", "--sim-faults", "3", "faults"});
    EXPECT_EQ("No Faults\n", none.out);
    EXPECT_EQ(1, Halcyra({"--simulator", "--sim-faults", "3", "faults", "--report", dir.File("r.txt")}).status);
    EXPECT_TRUE(dir.Names().empty());

    CliRun silent = Halcyra({"--simulator", "--sim-silent", "faults"});
    EXPECT_EQ(1, silent.status);
    EXPECT_EQ("", silent.out);
    EXPECT_TRUE(Contains(silent.err, "halcyra: no answer from the controller on /dev/")) << silent.err;
}

TEST(SetupCli, UsageErrorsExitWithTwo)
{
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"save-setup"}, {"save-setup", "a.cfg", "--block", "256"}, {"save-setup", "a.cfg", "b.cfg"},
             {"restore-setup", "a.cfg", "--no"}, {"faults", "--show", "x"}, {"faults", "--clear", "-1"},
             {"faults", "1"}}) {
        std::vector<std::string> full{"--simulator"};
        full.insert(full.end(), args.begin(), args.end());
        EXPECT_EQ(2, Halcyra(full).status) << ::testing::PrintToString(args);
    }
}

TEST(SetupCli, InterruptedSaveLeavesNoTemporaryAndKeepsTheOldFile)
{
    for (int signal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signal);
        ScratchDir dir;
        WriteAll(dir.File("log.dbg"), "an earlier log");
        // The controller stops answering at chunk 3, so the save is caught in the middle.
        Child save({HALCYRA_CLI_PATH, "--simulator", "--sim-log-length", "2000", "--sim-stall-chunk", "3", "save-setup",
                      dir.File("log.dbg"), "--block", "1"});
        ASSERT_TRUE(save.WaitFor("chunk 2 of 9\n", std::chrono::seconds(10))) << save.Seen();
        EXPECT_EQ(2u, dir.Names().size()); // the file and the temporary beside it
        save.Signal(signal);
        const int status = save.Wait();
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
        EXPECT_EQ(std::vector<std::string>{"log.dbg"}, dir.Names());
        EXPECT_EQ("an earlier log", ReadAll(dir.File("log.dbg")));
    }
}
