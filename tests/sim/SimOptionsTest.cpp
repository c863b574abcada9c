// The simulator's command-line options: typed, strict, and named as written.

#include "sim/SimOptions.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>

using namespace halcyra::sim;

namespace {

struct Parsed {
    bool ok = false;
    std::string error;
    SimOptions options;
    std::size_t next = 0; // index of the last argument taken
};

Parsed Parse(const std::vector<std::string>& args, std::string_view prefix = "--sim-")
{
    Parsed p;
    p.ok = ParseSimOption(args, p.next, p.options, p.error, prefix);
    return p;
}

} // namespace

TEST(SimOptions, ValuesThatDoNotParseAreRefusedNamingTheOptionAsWritten)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"--sim-faults", "garbage"},
        {"--sim-faults", "3;7,1,0,0,0,slot past the table"},
        {"--sim-firmware-date", "notadate"},
        {"--sim-firmware-date", "2009-13-1"},
        {"--sim-firmware-date", "2009-7-2x"},
        {"--sim-firmware-version", "65536"},
        {"--sim-compat-a", "256"},
        {"--sim-compat-b", "-1"},
        {"--sim-begin-status", "1.0"},
        {"--sim-options", "1,,2"},
        {"--sim-options", "64"},
        {"--sim-options", "1,"},
        {"--sim-serial", "HC2-0042137-00001"},
        {"--sim-log-length", "16777217"},
        {"--sim-stall-chunk", "x"},
        {"--sim-drop", "101"},
        {"--sim-drop", "nan"},
        {"--sim-corrupt", "ten"},
        {"--sim-delay", "inf"},
        {"--sim-delay", "1.5"},
        {"--sim-delay-share", "-5"},
        {"--sim-noise", "65536"},
        {"--sim-pace", "fast"},
        {"--sim-seed", "-1"},
        {"--sim-restart-ms", "2s"},
        {"--sim-set", "dsu"},
        {"--sim-set", "=3"},
        {"--sim-set", "ab=3"},
        {"--sim-setup", ""},
    };
    for (const auto& [option, value] : cases) {
        Parsed p = Parse({option, value});
        EXPECT_FALSE(p.ok) << option << " " << value;
        EXPECT_EQ(0u, p.error.find(option + " '" + value + "': ")) << p.error;
    }
}

TEST(SimOptions, UnknownOptionsAndMissingValuesNameTheOptionAsWritten)
{
    Parsed unknown = Parse({"--sim-bogus", "1"});
    EXPECT_FALSE(unknown.ok);
    EXPECT_EQ("unknown option --sim-bogus", unknown.error);
    // halcyra-sim's own spelling is not the in-process one, and the reverse.
    EXPECT_FALSE(Parse({"--drop", "10"}).ok);
    EXPECT_FALSE(Parse({"--sim-drop", "10"}, "--").ok);

    Parsed missing = Parse({"--sim-firmware-date"});
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ("--sim-firmware-date needs a value Y-M-D", missing.error);
}

TEST(SimOptions, GoodValuesReachTheirSettings)
{
    Parsed drop = Parse({"--sim-drop", "12.5"});
    ASSERT_TRUE(drop.ok) << drop.error;
    EXPECT_DOUBLE_EQ(0.125, drop.options.faults.dropShare);
    EXPECT_EQ(1u, drop.next);

    Parsed silent = Parse({"--silent", "get"}, "--");
    ASSERT_TRUE(silent.ok);
    EXPECT_TRUE(silent.options.faults.silent);
    EXPECT_EQ(0u, silent.next);

    Parsed restart = Parse({"--sim-restart-ms", "150"});
    ASSERT_TRUE(restart.ok);
    EXPECT_EQ(std::chrono::milliseconds(150), restart.options.settings.restartTime);

    for (const auto& [option, value] : {std::pair{"--sim-compat-a", "0x01"}, std::pair{"--sim-options", ""},
                                        std::pair{"--sim-faults", "0"}, std::pair{"--sim-firmware-date", "2011-12-31"}}) {
        Parsed p = Parse({option, value});
        ASSERT_TRUE(p.ok) << p.error;
        EXPECT_EQ(value, p.options.settings.extra[std::string(option).substr(6)]);
    }
}

TEST(SimOptions, EveryOptionIsListedOnceAndEveryDefaultParses)
{
    std::set<std::string> names;
    std::istringstream usage(SimOptionsUsage("--"));
    for (std::string line; std::getline(usage, line);) {
        if (line.rfind("  --", 0) != 0)
            continue;
        const std::string name = line.substr(4, line.find(' ', 4) - 4);
        EXPECT_TRUE(names.insert(name).second) << name << " is declared twice";
    }
    EXPECT_EQ(1u, names.count("faults"));
    EXPECT_EQ(1u, names.count("restart-ms"));
    for (const SimFeatureKind& kind : SimFeatureKinds())
        for (const CSimOption* option : kind.options)
            EXPECT_EQ("", option->Check(option->DefaultText())) << option->Name();
}
