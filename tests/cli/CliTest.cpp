// The halcyra command line against the simulator over a real pseudo-terminal.

#include "CliSupport.h"
#include "SimFixture.h"
#include "link/SerialPort.h"
#include "sim/SimServer.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace halcyra;
using namespace halcyra::test;

namespace {

std::string LastLine(const std::string& text)
{
    std::string t = text;
    while (!t.empty() && t.back() == '\n')
        t.pop_back();
    return t.substr(t.rfind('\n') == std::string::npos ? 0 : t.rfind('\n') + 1);
}


} // namespace

TEST(Cli, GetPrintsEachReplyExactly)
{
    CliRun r = Halcyra({"--simulator", "get", "MonVerCVMajor", "vms", "dsu"});
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_EQ("MonVerCVMajor: 3\nvms: \"Fieldora 8240W\"\ndsu: 1\n", r.out);
    EXPECT_EQ("", r.err);
}

TEST(Cli, GetFailsForAnUnknownNameButGoesOn)
{
    CliRun r = Halcyra({"--simulator", "--sim-set", "zzq=7", "get", "nosuch", "zzq"});
    EXPECT_EQ(1, r.status);
    EXPECT_EQ("zzq: 7\n", r.out);
    EXPECT_NE(std::string::npos, r.err.find("get nosuch failed"));
}

TEST(Cli, GetSurvivesDroppedAndCorruptedReplies)
{
    CliRun dropped = Halcyra({"--simulator", "--sim-drop", "30", "--sim-seed", "1", "get", "vtt", "dsu", "vms", "vti"});
    EXPECT_EQ(0, dropped.status) << dropped.err;
    EXPECT_EQ("vtt: 5\ndsu: 1\nvms: \"Fieldora 8240W\"\nvti: 3\n", dropped.out);

    CliRun corrupted = Halcyra({"--simulator", "--sim-corrupt", "30", "--sim-seed", "1", "get", "vtt", "dsu", "vms", "vti"});
    EXPECT_EQ(0, corrupted.status) << corrupted.err;
    EXPECT_EQ(dropped.out, corrupted.out);
}

TEST(Cli, SilentControllerEndsWithOneClearLine)
{
    CliRun r = Halcyra({"--simulator", "--sim-silent", "get", "vtt", "dsu"});
    EXPECT_EQ(1, r.status);
    EXPECT_EQ("", r.out);
    EXPECT_EQ("Data Transfer Error: Communication Error Occured", r.err.substr(0, r.err.find('\n')));
    EXPECT_EQ(0u, LastLine(r.err).find("halcyra: no answer from the controller on /dev/"));
}

TEST(Cli, SetStoresTheValueInTheController)
{
    Served sim;
    CliRun r = Halcyra({"--port", sim.server.DevicePath(), "set", "vms", "\"New Model\""});
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_EQ("\"New Model\"", sim.Param("vms"));
    CliRun back = Halcyra({"--port", sim.server.DevicePath(), "get", "vms"});
    EXPECT_EQ("vms: \"New Model\"\n", back.out);
}

TEST(Cli, OverlongSetIsRefusedAndNothingIsSent)
{
    Served sim;
    const std::uint64_t before = sim.Requests();
    CliRun r = Halcyra({"--port", sim.server.DevicePath(), "set", "vms", "\"" + std::string(240, 'x') + "\""});
    EXPECT_EQ(1, r.status);
    EXPECT_NE(std::string::npos, r.err.find("too long"));
    EXPECT_EQ(before, sim.Requests());
    EXPECT_EQ("\"Fieldora 8240W\"", sim.Param("vms"));
}

TEST(Cli, PortsThatCannotBeOpenedSaySoInOneLine)
{
    CliRun missing = Halcyra({"--port", "/dev/halcyra-no-such-port", "get", "vtt"});
    EXPECT_EQ(1, missing.status);
    EXPECT_EQ("halcyra: /dev/halcyra-no-such-port does not exist\n", missing.err);

    Served sim;
    CSerialPort holder;
    holder.Open(sim.server.DevicePath());
    CliRun busy = Halcyra({"--port", sim.server.DevicePath(), "get", "vtt"});
    EXPECT_EQ(1, busy.status);
    EXPECT_NE(std::string::npos, busy.err.find("in use by another program"));
    EXPECT_EQ(1, std::count(busy.err.begin(), busy.err.end(), '\n'));
}

TEST(Cli, UsageErrorsExitWithTwo)
{
    EXPECT_EQ(2, Halcyra({}).status);
    EXPECT_EQ(2, Halcyra({"--simulator", "frobnicate"}).status);
    EXPECT_EQ(2, Halcyra({"--simulator", "set", "vtt"}).status);
    EXPECT_EQ(2, Halcyra({"--simulator", "--sim-drop", "150", "get", "vtt"}).status);
    EXPECT_EQ(2, Halcyra({"--port", "/dev/null", "--simulator", "get", "vtt"}).status);
}
