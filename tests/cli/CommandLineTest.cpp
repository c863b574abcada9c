// The command table at work without a controller: the words a command
// takes, the help and usage made from the rows, and what completion offers.

#include "CliSupport.h"
#include "cli/CommandLine.h"
#include "cli/Completion.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace halcyra;
using namespace halcyra::cli;
using namespace halcyra::test;

namespace {

const CommandRow& Row(const std::string& name)
{
    const auto found = FindCommand({name.substr(0, name.find(' ')),
                                    name.find(' ') == std::string::npos ? "" : name.substr(name.find(' ') + 1)},
                                   0);
    EXPECT_TRUE(found) << name;
    return *found->row;
}

// The parse of a command's words, or its error.
std::string Parse(const std::string& command, const std::vector<std::string>& words, CommandArgs* parsed = nullptr)
{
    CommandArgs args;
    std::string error;
    const bool ok = ParseCommandArgs(Row(command), words, args, error);
    if (parsed)
        *parsed = args;
    return ok ? "ok" : error;
}

std::vector<std::string> Offered(const std::vector<std::string>& words)
{
    return Complete(words, [] { return std::vector<std::string>{"/dev/ttyS0", "/dev/ttyUSB0"}; }).words;
}

bool OffersFiles(const std::vector<std::string>& words)
{
    return Complete(words, [] { return std::vector<std::string>{}; }).files;
}

bool Has(const std::vector<std::string>& words, const std::string& word)
{
    return std::find(words.begin(), words.end(), word) != words.end();
}

} // namespace

TEST(CommandLine, OptionsComeAnywhereAndOperandsAreCountedAsTheRowSays)
{
    CommandArgs args;
    EXPECT_EQ("ok", Parse("diag", {"--count", "3", "Steering Angle", "--csv", "a.csv"}, &args));
    EXPECT_EQ(std::vector<std::string>{"Steering Angle"}, args.operands);
    EXPECT_EQ("3", args.Value("--count"));
    EXPECT_EQ("a.csv", args.Value("--csv"));
    EXPECT_FALSE(args.Value("--interval"));

    EXPECT_EQ("ok", Parse("set", {"vtt", "-5", "--no-verify"}, &args)) << "one dash is a value";
    EXPECT_TRUE(args.Has("--no-verify"));
    EXPECT_EQ((std::vector<std::string>{"vtt", "-5"}), args.operands);
    EXPECT_EQ("ok", Parse("save-setup", {"--", "--odd name.cfg"}, &args)) << "after -- every word is an operand";
    EXPECT_EQ(std::vector<std::string>{"--odd name.cfg"}, args.operands);
    EXPECT_EQ("ok", Parse("get", {"a", "b", "c"}, &args));
    EXPECT_EQ(3u, args.operands.size());

    EXPECT_EQ("get needs NAME...", Parse("get", {}));
    EXPECT_EQ("set needs VALUE", Parse("set", {"vtt"}));
    EXPECT_EQ("'b.cfg' is one argument too many for save-setup", Parse("save-setup", {"a.cfg", "b.cfg"}));
    EXPECT_EQ("'1' is one argument too many for faults", Parse("faults", {"1"}));
    EXPECT_EQ("'setup' is none of config, calibration, diagnostics", Parse("pages", {"setup"}));
}

TEST(CommandLine, OptionsTheRowDoesNotListOrThatLackTheirValueAreRefused)
{
    EXPECT_EQ("diag does not take --verbose", Parse("diag", {"Steering Angle", "--verbose"}));
    EXPECT_EQ("restore-setup does not take --no", Parse("restore-setup", {"a.cfg", "--no"}));
    EXPECT_EQ("--count needs N", Parse("diag", {"Steering Angle", "--count"}));
    EXPECT_EQ("--csv needs FILE", Parse("diag", {"Steering Angle", "--csv", "--count", "3"}))
        << "an option where the value belongs is a value forgotten";
    EXPECT_EQ("--count is given twice", Parse("diag", {"Steering Angle", "--count", "3", "--count", "4"}));
    EXPECT_EQ("--show and --clear exclude each other", Parse("faults", {"--show", "1", "--clear", "2"}));
    EXPECT_EQ("--seconds and --records exclude each other",
              Parse("log configure", {"a.dlc", "--seconds", "2", "--records", "3"}));
    EXPECT_EQ("diag does not take --\\x1B[2J", Parse("diag", {"x", "--\x1b[2J"})) << "shown escaped";
}

TEST(CommandLine, UsageIsMadeFromTheRow)
{
    EXPECT_EQ("halcyra diag TITLE [--count N] [--interval MS] [--csv FILE]", CommandUsage(Row("diag")));
    EXPECT_EQ("halcyra faults [--show N | --clear N | --report FILE]", CommandUsage(Row("faults")));
    EXPECT_EQ("halcyra log configure FILE.dlc [--output LOG.dbg] [--records N | --seconds S]",
              CommandUsage(Row("log configure")));
    EXPECT_EQ("halcyra get NAME...", CommandUsage(Row("get")));
    EXPECT_EQ("halcyra pages config|calibration|diagnostics", CommandUsage(Row("pages")));
    EXPECT_EQ("usage: halcyra log status\n"
              "       halcyra log start\n"
              "       halcyra log stop\n"
              "       halcyra log clear\n"
              "       halcyra log download FILE\n"
              "       halcyra log configure FILE.dlc [--output LOG.dbg] [--records N | --seconds S]\n",
              UsageLines(CommandFamily("log")));
}

TEST(CommandLine, TheHelpListsEveryRowWithItsOptionsAndTheCommandsThatSpeakJson)
{
    const std::string help = ProgramHelp();
    std::string jsonCommands;
    for (const CommandRow& row : CommandTable()) {
        EXPECT_NE(std::string::npos, help.find("\n  " + std::string(row.name) + " ")) << row.name;
        for (const OptionRow& option : row.options)
            EXPECT_NE(std::string::npos, help.find("\n      " + std::string(option.name))) << option.name;
        if (row.json)
            jsonCommands += (jsonCommands.empty() ? "" : ", ") + std::string(row.name);
    }
    EXPECT_EQ("ports, get, check, info, faults, pages, log status, vehicles, diag", jsonCommands);
    // The same, its lines joined where the help wrapped them.
    std::string joined = help;
    for (std::size_t at; (at = joined.find("\n                              ")) != std::string::npos;)
        joined.replace(at, 31, " ");
    EXPECT_NE(std::string::npos,
              joined.find("offered by ports, get, check, info, faults, pages, log status, vehicles, diag\n"))
        << help;
    for (const GlobalOption& option : GlobalOptions())
        EXPECT_NE(std::string::npos, help.find("\n  " + std::string(option.row.name))) << option.row.name;
    EXPECT_NE(std::string::npos, help.find("\n  --sim-drop PERCENT")) << "the simulator's options too";

    // Long help is wrapped under its column, no line wider than 100.
    std::size_t start = help.find("Commands:");
    for (std::size_t end; (end = help.find('\n', start)) != std::string::npos; start = end + 1)
        EXPECT_LE(end - start, 100u) << help.substr(start, end - start);
    EXPECT_NE(std::string::npos,
              help.find("  diff-setup FILE             compare setup file FILE with the controller: the records whose "
                        "values\n                              differ,"))
        << help;
}

TEST(CommandLine, ACommandsHelpAndUsageErrorsComeBeforeAnyPortIsOpened)
{
    const CliRun help = Halcyra({"--port", "/dev/halcyra-no-such-port", "diag", "--help"});
    EXPECT_EQ(0, help.status);
    EXPECT_EQ(0u, help.out.find("usage: halcyra diag TITLE [--count N] [--interval MS] [--csv FILE]\n"
                                "poll diagnostics page TITLE")) << help.out;
    EXPECT_NE(std::string::npos, help.out.find("\n  --csv FILE                  also record")) << help.out;
    EXPECT_EQ("", help.err);

    const CliRun wrong = Halcyra({"--port", "/dev/halcyra-no-such-port", "diag", "Steering Angle", "--bogus"});
    EXPECT_EQ(2, wrong.status);
    EXPECT_EQ("halcyra: diag does not take --bogus\nusage: halcyra diag TITLE [--count N] [--interval MS] [--csv FILE]\n",
              wrong.err);

    const CliRun family = Halcyra({"--port", "/dev/halcyra-no-such-port", "log", "begin"});
    EXPECT_EQ(2, family.status);
    EXPECT_EQ(0u, family.err.find("halcyra: log has no 'begin'\nusage: halcyra log status\n")) << family.err;

    const CliRun json = Halcyra({"--port", "/dev/halcyra-no-such-port", "--json", "log", "start"});
    EXPECT_EQ(2, json.status);
    EXPECT_EQ("halcyra: --json is not available for log start\n", json.err);

    EXPECT_EQ(2, Halcyra({"--bogus", "get", "vtt"}).status);
    EXPECT_EQ("halcyra: unknown command 'frobnicate'; 'halcyra --help' lists them\n", Halcyra({"frobnicate"}).err);
}

TEST(Completion, OffersTheCommandsTheirSubCommandsOptionsAndChoices)
{
    EXPECT_TRUE(Has(Offered({""}), "diag"));
    EXPECT_TRUE(Has(Offered({""}), "log"));
    EXPECT_FALSE(Has(Offered({""}), "log status")) << "a sub-command comes as a word of its own";
    const std::vector<std::string> commands = Offered({""});
    EXPECT_EQ(1, std::count(commands.begin(), commands.end(), "log"));
    EXPECT_TRUE(Has(Offered({"--"}), "--simulator"));
    EXPECT_TRUE(Has(Offered({"--"}), "--sim-drop"));
    EXPECT_TRUE(Has(Offered({"--simulator", "--sim-drop", "5", ""}), "faults")) << "past an option's value";
    EXPECT_EQ((std::vector<std::string>{"status", "start", "stop", "clear", "download", "configure"}),
              Offered({"log", ""}));
    EXPECT_EQ((std::vector<std::string>{"config", "calibration", "diagnostics"}), Offered({"pages", ""}));

    // A command's options, but not those given or shut out by one given.
    const std::vector<std::string> diag = Offered({"diag", "Steering Angle", "--count", "5", "--"});
    EXPECT_TRUE(Has(diag, "--csv"));
    EXPECT_TRUE(Has(diag, "--interval"));
    EXPECT_FALSE(Has(diag, "--count"));
    EXPECT_EQ((std::vector<std::string>{"--output", "--help"}),
              Offered({"log", "configure", "a.dlc", "--seconds", "3", "-"}));
    EXPECT_TRUE(Has(Offered({"faults", ""}), "--report")) << "no operand is due: the options";
}

TEST(Completion, OffersFilesWherePathsAreDueAndThePortsForPort)
{
    EXPECT_TRUE(OffersFiles({"diag", "Steering Angle", "--csv", ""}));
    EXPECT_TRUE(OffersFiles({"save-setup", ""}));
    EXPECT_TRUE(OffersFiles({"--trace", ""}));
    EXPECT_TRUE(OffersFiles({"--simulator", "--sim-setup", ""}));
    EXPECT_TRUE(OffersFiles({"log", "configure", "a.dlc", "--output", ""}));
    EXPECT_FALSE(OffersFiles({"diag", "Steering Angle", "--count", ""}));
    EXPECT_TRUE(Offered({"diag", "Steering Angle", "--count", ""}).empty());
    EXPECT_FALSE(OffersFiles({"get", ""}));

    EXPECT_EQ((std::vector<std::string>{"/dev/ttyS0", "/dev/ttyUSB0"}), Offered({"--port", ""}));
    EXPECT_TRUE(OffersFiles({"--port", ""})) << "no port found: any device path";

    const CliRun printed = Halcyra({"--complete", "pages", "c"});
    EXPECT_EQ(0, printed.status);
    EXPECT_EQ("words\nconfig\ncalibration\ndiagnostics\n", printed.out);
    EXPECT_EQ("files\n", Halcyra({"--complete", "save-setup", ""}).out);
}
