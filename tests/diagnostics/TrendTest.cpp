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

TEST(TrendScale, ValuesGetAMarginAndRoundTicks)
{
    EXPECT_EQ((TrendScale{0.5, 2.5, 0.5}), ValueScale(1, 2));
    // A flat zero, as a switch's raw reading often is: zero in the middle.
    const TrendScale flat = ValueScale(0, 0);
    // Within a rounding of the last bit: libraries round the step's power of ten differently.
    EXPECT_DOUBLE_EQ(-0.05, flat.min);
    EXPECT_DOUBLE_EQ(0.05, flat.max);
    EXPECT_DOUBLE_EQ(0.05, flat.step);
    const std::vector<double> ticks = flat.Ticks();
    ASSERT_EQ(3u, ticks.size());
    EXPECT_EQ(0.0, ticks[1]);
    // A steady engine speed: the margin follows the size of the value.
    EXPECT_EQ((TrendScale{1720, 1820, 20}), ValueScale(1765.92, 1765.92));
    EXPECT_EQ((TrendScale{-40, 40, 20}), ValueScale(-30, 30));
}

TEST(TrendScale, EveryRangeFitsBetweenThreeToSevenTicks)
{
    for (double lowest : {-1e6, -31.7, -0.004, 0.0, 0.613, 12.1, 3.3e4})
        for (double width : {0.0, 1e-4, 0.03, 0.7, 5.0, 98.0, 2.5e5}) {
            const double highest = lowest + width;
            const TrendScale scale = ValueScale(lowest, highest);
            const std::vector<double> ticks = scale.Ticks();
            EXPECT_LT(scale.min, lowest) << lowest << " + " << width;
            EXPECT_GT(scale.max, highest) << lowest << " + " << width;
            EXPECT_GE(ticks.size(), 3u) << lowest << " + " << width;
            EXPECT_LE(ticks.size(), 7u) << lowest << " + " << width;
            EXPECT_DOUBLE_EQ(scale.min, ticks.front());
            EXPECT_DOUBLE_EQ(scale.max, ticks.back());
        }
}

TEST(TrendScale, TheTimeAxisGrowsInRoundStepsUpToTheMinute)
{
    EXPECT_EQ((TrendScale{-1, 0, 1}), TimeScale(0)) << "a first poll still has an axis";
    EXPECT_EQ((TrendScale{-3, 0, 1}), TimeScale(2.7));
    EXPECT_EQ((TrendScale{-6, 0, 1}), TimeScale(6));
    EXPECT_EQ((TrendScale{-8, 0, 2}), TimeScale(6.1));
    EXPECT_EQ((TrendScale{-30, 0, 5}), TimeScale(30));
    EXPECT_EQ((TrendScale{-60, 0, 10}), TimeScale(60));
    EXPECT_EQ(7u, TimeScale(60).Ticks().size());
}
