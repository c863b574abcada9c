// halcyra diag against the simulator, and the real-time ticks it runs on.

#include "CliSupport.h"
#include "cli/RealTimeTimers.h"

#include <gtest/gtest.h>

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
