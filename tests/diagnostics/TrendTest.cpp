// A minute of what the polls read: gaps for polls that read nothing, steps
// for states, and nothing older than the window but the line's way in.

#include "diagnostics/Trend.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace halcyra;
using namespace std::chrono_literals;

namespace {

const CTrendHistory::Clock::time_point kStart{};

std::vector<std::optional<double>> One(std::optional<double> value) { return {value}; }

} // namespace

TEST(Trend, KeepsAMinuteAndTheSampleThatLeadsIntoIt)
{
    CTrendHistory history(1);
    for (int i = 0; i <= 70 * 4; ++i)
        history.Add(kStart + i * 250ms, One(i));
    const auto now = kStart + 70s;
    EXPECT_DOUBLE_EQ(60.0, history.Span(now));
    const std::vector<TrendLine> lines = history.Lines(0, now, false);
    ASSERT_EQ(1u, lines.size());
    EXPECT_EQ(241u, lines[0].size()) << "240 polls in the minute and the one at its edge";
    EXPECT_DOUBLE_EQ(-60.0, lines[0].front().seconds);
    EXPECT_DOUBLE_EQ(0.0, lines[0].back().seconds);
    // The minimum over the window, not over what is kept before it.
    const auto range = history.Range(0, now);
    ASSERT_TRUE(range);
    EXPECT_DOUBLE_EQ(40.0, range->first);
    EXPECT_DOUBLE_EQ(280.0, range->second);
}

TEST(Trend, APollThatReadNothingOrNoNumberBreaksTheLine)
{
    CTrendHistory history(2);
    history.Add(kStart, {1.0, 10.0});
    history.Add(kStart + 250ms, {2.0, std::nullopt});
    history.Add(kStart + 500ms, {std::numeric_limits<double>::quiet_NaN(), 12.0});
    history.Add(kStart + 750ms, {4.0, std::numeric_limits<double>::infinity()});
    history.Add(kStart + 1000ms, {5.0, 14.0});
    const auto now = kStart + 1000ms;
    const std::vector<TrendLine> first = history.Lines(0, now, false);
    ASSERT_EQ(2u, first.size());
    EXPECT_EQ(2u, first[0].size());
    EXPECT_EQ(2u, first[1].size());
    EXPECT_EQ(3u, history.Lines(1, now, false).size()) << "10 | 12 | 14";
    EXPECT_EQ(std::make_pair(1.0, 5.0), *history.Range(0, now));
}

TEST(Trend, AStateHoldsItsLevelUntilTheNextPoll)
{
    CTrendHistory history(1);
    history.Add(kStart, One(0));
    history.Add(kStart + 1s, One(2));
    history.Add(kStart + 2s, One(2));
    const std::vector<TrendLine> lines = history.Lines(0, kStart + 2s, true);
    ASSERT_EQ(1u, lines.size());
    const std::vector<std::pair<double, double>> expected = {{-2, 0}, {-1, 0}, {-1, 2}, {0, 2}, {0, 2}};
    ASSERT_EQ(expected.size(), lines[0].size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_DOUBLE_EQ(expected[i].first, lines[0][i].seconds) << i;
        EXPECT_DOUBLE_EQ(expected[i].second, lines[0][i].value) << i;
    }
}
