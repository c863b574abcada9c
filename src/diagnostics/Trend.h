#pragma once
// What a diagnostics page read over the last minute, for its trend: one
// sample per poll with a value per plotted series; a poll that read nothing
// leaves a gap, so an outage never looks like a reading.

#include <chrono>
#include <cstddef>
#include <deque>
#include <optional>
#include <vector>

namespace halcyra {

struct TrendPoint {
    double seconds; // before now: zero or less
    double value;
};
// Points drawn as one line; a gap separates lines.
using TrendLine = std::vector<TrendPoint>;

// An axis's range, on round ticks a step apart.
struct TrendScale {
    double min = 0;
    double max = 1;
    double step = 1;

    // min, max and every step between, each an exact multiple of the step
    // so that zero reads "0".
    std::vector<double> Ticks() const;
    bool operator==(const TrendScale&) const = default;
};

// The axis for values from lowest to highest: a margin either side, then
// out to ticks of 1, 2 or 5 times a power of ten, three to seven of them.
TrendScale ValueScale(double lowest, double highest);
// The time axis, in seconds before now, for a history spanning span
// seconds: it grows with the history up to the window, in round steps.
TrendScale TimeScale(double span);

class CTrendHistory {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::seconds kWindow{60};

    explicit CTrendHistory(std::size_t seriesCount) : seriesCount_(seriesCount) {}

    // A poll's values, one per series; nothing (or a value that is not a
    // number) leaves a gap in that series. Samples older than the window
    // go, except the one a line needs to reach the window's edge.
    void Add(Clock::time_point when, const std::vector<std::optional<double>>& values);
    void Clear() { samples_.clear(); }

    std::size_t SeriesCount() const { return seriesCount_; }
    std::size_t Samples() const { return samples_.size(); }
    // The lines of one series as of now; steps holds each value until the
    // next sample (for states).
    std::vector<TrendLine> Lines(std::size_t series, Clock::time_point now, bool steps) const;
    // The smallest and largest value of a series within the window.
    std::optional<std::pair<double, double>> Range(std::size_t series, Clock::time_point now) const;
    // Seconds the history covers up to now, at most the window.
    double Span(Clock::time_point now) const;

private:
    struct Sample {
        Clock::time_point when;
        std::vector<std::optional<double>> values;
    };
    std::size_t seriesCount_;
    std::deque<Sample> samples_;
};

} // namespace halcyra
