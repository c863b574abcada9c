// halcyra diag against the simulator, and the real-time ticks it runs on.

#include "ChildProcess.h"
#include "CliSupport.h"
#include "ScratchDir.h"
#include "SimFixture.h"
#include "cli/RealTimeTimers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <sstream>
#include <thread>

using namespace halcyra;
using namespace halcyra::test;
using namespace std::chrono_literals;

namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// A CSV file's records, split at CR LF; false when a line ends otherwise.
bool CsvLines(const std::string& text, std::vector<std::string>& lines)
{
    lines.clear();
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return start == text.size() && std::none_of(lines.begin(), lines.end(), [](const std::string& line) {
               return line.find('\n') != std::string::npos;
           });
}

// "Raw: 2.51\tScaled: 12.3" -> "2.51,12.3": the values of a printed line as
// a row holds them.
std::string Values(const std::string& printed)
{
    static const std::regex field("[A-Za-z]+: ([^\t]*)");
    std::string values;
    for (auto it = std::sregex_iterator(printed.begin(), printed.end(), field); it != std::sregex_iterator(); ++it)
        values += (values.empty() ? "" : ",") + (*it)[1].str();
    return values;
}

const std::regex kRow("(\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}[+-]\\d\\d:\\d\\d),(.*),([01])");

} // namespace

TEST(DiagCli, PollsThePageEveryIntervalAndPrintsOneLineOfItsFieldsPerPoll)
{
    const auto start = std::chrono::steady_clock::now();
    const CliRun r = Halcyra({"--simulator", "diag", "Steering Angle", "--count", "3", "--interval", "150"});
    const auto took = std::chrono::steady_clock::now() - start;
    ASSERT_EQ(0, r.status) << r.err;
    const std::vector<std::string> lines = Lines(r.out);
    ASSERT_EQ(3u, lines.size()) << r.out;
    const std::regex number("Raw: -?[0-9.]+(e[-+][0-9]+)?\tScaled: -?[0-9.]+(e[-+][0-9]+)?");
    for (const std::string& line : lines)
        EXPECT_TRUE(std::regex_match(line, number)) << line;
    EXPECT_NE(lines[0], lines[2]) << "the wheel moves";
    EXPECT_GE(took, 300ms) << "three polls 150 ms apart";

    // A state page, its title typed in another case; the first poll does not wait.
    const auto leverStart = std::chrono::steady_clock::now();
    const CliRun lever = Halcyra({"--simulator", "diag", "gear lever (DIGITAL)", "--interval", "5000"});
    EXPECT_LT(std::chrono::steady_clock::now() - leverStart, 4s);
    ASSERT_EQ(0, lever.status) << lever.err;
    EXPECT_TRUE(std::regex_match(lever.out, std::regex("State: (Forward|Neutral|Reverse)\tRaw: [123]\n"))) << lever.out;
}

TEST(DiagCli, RefusesATitleThatIsNoPageOrNotThisControllersAndBadCounts)
{
    const CliRun unknown = Halcyra({"--simulator", "diag", "Steering"});
    EXPECT_EQ(2, unknown.status);
    EXPECT_NE(std::string::npos, unknown.err.find("  Steering Angle (CAN)\n")) << unknown.err;

    const CliRun absent = Halcyra({"--simulator", "--sim-inputs", "5,6", "diag", "Engine speed"});
    EXPECT_EQ(1, absent.status);
    EXPECT_NE(std::string::npos, absent.err.find("no \"Engine speed\" page")) << absent.err;
    EXPECT_TRUE(absent.out.empty());

    for (const std::vector<std::string>& args : {std::vector<std::string>{"--count", "0"},
                                                 std::vector<std::string>{"--interval", "-5"},
                                                 std::vector<std::string>{"--count"}}) {
        std::vector<std::string> all = {"--simulator", "diag", "Steering Angle"};
        all.insert(all.end(), args.begin(), args.end());
        EXPECT_EQ(2, Halcyra(all).status) << args[0];
    }
}

TEST(DiagCli, CsvRecordsEveryPollItPrintsWithItsTime)
{
    ScratchDir dir;
    const std::string path = dir.File("angle.csv");
    WriteAll(path, "an earlier recording");
    const CliRun r = Halcyra(
        {"--simulator", "diag", "Steering Angle", "--count", "4", "--interval", "60", "--csv", path});
    ASSERT_EQ(0, r.status) << r.err;
    const std::vector<std::string> printed = Lines(r.out);
    ASSERT_EQ(4u, printed.size()) << "the lines are printed as well";
    EXPECT_EQ("4 polls recorded in " + path + "\n", r.err);

    std::vector<std::string> rows;
    ASSERT_TRUE(CsvLines(ReadAll(path), rows)) << ReadAll(path);
    ASSERT_EQ(5u, rows.size());
    EXPECT_EQ("Time,Raw (volts),Scaled (deg),failed", rows[0]);
    std::string previousTime;
    for (std::size_t i = 0; i < printed.size(); ++i) {
        std::smatch row;
        ASSERT_TRUE(std::regex_match(rows[i + 1], row, kRow)) << rows[i + 1];
        EXPECT_EQ(Values(printed[i]), row[2].str()) << "the values as the line shows them";
        EXPECT_EQ("0", row[3].str());
        EXPECT_LT(previousTime, row[1].str()) << "one row per poll, in order";
        previousTime = row[1].str();
    }
    EXPECT_EQ(std::vector<std::string>{"angle.csv"}, dir.Names()) << "nothing left beside it";

    // A state page, and --json beside the file.
    const CliRun lever = Halcyra({"--simulator", "--json", "diag", "Gear Lever (digital)", "--count", "2", "--interval",
                                  "50", "--csv", dir.File("lever.csv")});
    ASSERT_EQ(0, lever.status) << lever.err;
    ASSERT_TRUE(CsvLines(ReadAll(dir.File("lever.csv")), rows));
    ASSERT_EQ(3u, rows.size());
    EXPECT_EQ("Time,State,Raw,failed", rows[0]);
    EXPECT_TRUE(std::regex_match(rows[1], std::regex(".*,(Forward|Neutral|Reverse),[123],0"))) << rows[1];
}

TEST(DiagCli, ACsvFileThatCannotBeCreatedIsRefusedBeforeAnythingIsSent)
{
    Served sim;
    ScratchDir dir;
    const std::uint64_t before = sim.Requests();
    const CliRun r = Halcyra({"--port", sim.server.DevicePath(), "diag", "Steering Angle", "--count", "2", "--csv",
                              dir.File("missing/angle.csv")});
    EXPECT_EQ(1, r.status);
    EXPECT_EQ("halcyra: " + dir.File("missing/angle.csv") +
                  " could not be created, so nothing was sent; choose another file\n",
              r.err);
    EXPECT_EQ("", r.out);
    EXPECT_EQ(before, sim.Requests());

    // Nor is a bad count any better for a recording.
    EXPECT_EQ(2, Halcyra({"--port", sim.server.DevicePath(), "diag", "Steering Angle", "--csv", dir.File("a.csv"),
                          "--count", "0"})
                     .status);
    EXPECT_TRUE(dir.Names().empty());
}

TEST(DiagCli, CtrlCEndsARecordingInGoodOrderWithEveryPollItPrinted)
{
    ScratchDir dir;
    const std::string path = dir.File("angle.csv");
    Child diag({HALCYRA_CLI_PATH, "--simulator", "diag", "Steering Angle", "--interval", "100", "--csv", path});
    ASSERT_TRUE(diag.WaitFor("Raw: ", std::chrono::seconds(10))) << diag.Seen();
    EXPECT_EQ(1u, dir.Names().size()) << "the rows wait beside the destination";
    EXPECT_FALSE(std::filesystem::exists(path));
    diag.WaitFor("\x01never written", 600ms); // a few more polls
    diag.Signal(SIGINT);
    const int status = diag.Wait();
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status << diag.Seen();

    std::vector<std::string> printed;
    for (const std::string& line : Lines(diag.Seen()))
        if (line.starts_with("Raw: "))
            printed.push_back(line);
    ASSERT_GE(printed.size(), 3u) << diag.Seen();
    std::vector<std::string> rows;
    ASSERT_TRUE(CsvLines(ReadAll(path), rows));
    ASSERT_EQ(printed.size() + 1, rows.size()) << "every poll printed is recorded";
    std::smatch row;
    ASSERT_TRUE(std::regex_match(rows.back(), row, kRow)) << rows.back();
    EXPECT_EQ(Values(printed.back()), row[2].str());
    EXPECT_NE(std::string::npos,
              diag.Seen().find(std::to_string(printed.size()) + " polls recorded in " + path + "\n"))
        << diag.Seen();
    EXPECT_EQ(std::vector<std::string>{"angle.csv"}, dir.Names());
}

TEST(RealTimeTimers, KeepTheirScheduleAndSkipWhatALongTickMissedRatherThanBurst)
{
    cli::CRealTimeTimers timers;
    std::vector<std::chrono::steady_clock::time_point> ticks;
    const auto start = std::chrono::steady_clock::now();
    const int id = timers.StartTimer(50ms, [&] {
        ticks.push_back(std::chrono::steady_clock::now());
        if (ticks.size() == 2)
            std::this_thread::sleep_for(120ms); // ends at about 220 ms
    });
    timers.RunUntil([&] { return ticks.size() == 4; });
    timers.StopTimer(id);
    ASSERT_EQ(4u, ticks.size());
    // At 50 and 100; the tick due at 150 runs late, once, when the long one
    // ends at 220 (the one due at 200 is skipped); then on schedule at 250.
    const std::chrono::milliseconds notBefore[] = {50ms, 100ms, 220ms, 250ms};
    for (std::size_t i = 0; i < ticks.size(); ++i)
        EXPECT_GE(ticks[i] - start, notBefore[i]) << "tick " << i;
}

TEST(RealTimeTimers, ALongPeriodStillEndsSoonAfterItsConditionHolds)
{
    cli::CRealTimeTimers timers;
    int ticks = 0;
    timers.StartTimer(std::chrono::minutes(1), [&] { ++ticks; });
    const auto start = std::chrono::steady_clock::now();
    const auto condition = start + 300ms; // as an interruption would arrive
    timers.RunUntil([&] { return std::chrono::steady_clock::now() >= condition; });
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(0, ticks);
    EXPECT_GE(took, 300ms);
    EXPECT_LT(took, 300ms + cli::CRealTimeTimers::kDoneSlice + 200ms) << "not a minute later";
}
