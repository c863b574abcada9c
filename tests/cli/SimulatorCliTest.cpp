// The simulator as the halcyra command line starts and reaches it.

#include "CliSupport.h"
#include "SimFixture.h"

#include <gtest/gtest.h>

using namespace halcyra;
using namespace halcyra::test;

TEST(CliSimulator, OptionMistakesAreUsageErrorsNamingTheOptionAsTyped)
{
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--simulator", "--sim-faults", "garbage", "get", "vtt"}, "halcyra: --sim-faults 'garbage': "},
        {{"--simulator", "--sim-firmware-date", "notadate", "get", "vtt"}, "halcyra: --sim-firmware-date 'notadate': "},
        {{"--simulator", "--sim-bogus", "1", "get", "vtt"}, "halcyra: unknown option --sim-bogus\n"},
        {{"--sim-drop", "10", "get", "vtt"}, "halcyra: --sim-drop needs --simulator\n"},
        {{"--port", "/dev/null", "--sim-silent", "get", "vtt"}, "halcyra: --sim-silent needs --simulator\n"},
    };
    for (const auto& [args, error] : cases) {
        CliRun r = Halcyra(args);
        EXPECT_EQ(2, r.status) << error;
        EXPECT_EQ(0u, r.err.find(error)) << r.err;
        EXPECT_EQ("", r.out);
    }
    // The order of --simulator and its options does not matter.
    EXPECT_EQ(0, Halcyra({"--sim-drop", "0", "--simulator", "get", "vtt"}).status);
}

TEST(CliSimulator, SetOfAValueOfTheWrongTypeOrAnUnknownNameChangesNothing)
{
    Served sim;
    const std::string port = sim.server.DevicePath();
    Halcyra({"--port", port, "set", "dsu", "abc"});
    EXPECT_EQ("dsu: 1\n", Halcyra({"--port", port, "get", "dsu"}).out);
    Halcyra({"--port", port, "set", "zzq", "5"});
    CliRun unknown = Halcyra({"--port", port, "get", "zzq"});
    EXPECT_EQ(1, unknown.status);
    EXPECT_EQ("", unknown.out);
}

TEST(CliSimulator, AssignmentOfTheWrongTypeStopsTheSimulatorFromStarting)
{
    CliRun r = Halcyra({"--simulator", "--sim-set", "dsu=abc", "get", "dsu"});
    EXPECT_EQ(1, r.status);
    EXPECT_EQ("halcyra: cannot start the simulator: cannot set dsu to abc: it holds a whole number\n", r.err);
}
