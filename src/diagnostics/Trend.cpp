#include "diagnostics/Trend.h"

#include <algorithm>
#include <cmath>

namespace halcyra {

namespace {

double SecondsBefore(CTrendHistory::Clock::time_point when, CTrendHistory::Clock::time_point now)
{
    return std::chrono::duration<double>(when - now).count();
}

} // namespace

void CTrendHistory::Add(Clock::time_point when, const std::vector<std::optional<double>>& values)
{
    Sample sample{when, std::vector<std::optional<double>>(seriesCount_)};
    for (std::size_t i = 0; i < seriesCount_ && i < values.size(); ++i)
        if (values[i] && std::isfinite(*values[i]))
            sample.values[i] = values[i];
    samples_.push_back(std::move(sample));
    // Keep one sample before the window: the line enters from the edge.
    while (samples_.size() > 1 && samples_[1].when <= when - kWindow)
        samples_.pop_front();
}

std::vector<TrendLine> CTrendHistory::Lines(std::size_t series, Clock::time_point now, bool steps) const
{
    std::vector<TrendLine> lines;
    bool inLine = false;
    for (const Sample& sample : samples_) {
        const std::optional<double>& value = series < sample.values.size() ? sample.values[series] : std::nullopt;
        if (!value) {
            inLine = false;
            continue;
        }
        const double seconds = SecondsBefore(sample.when, now);
        if (!inLine) {
            lines.emplace_back();
            inLine = true;
        } else if (steps) {
            lines.back().push_back({seconds, lines.back().back().value});
        }
        lines.back().push_back({seconds, *value});
    }
    return lines;
}

std::optional<std::pair<double, double>> CTrendHistory::Range(std::size_t series, Clock::time_point now) const
{
    std::optional<std::pair<double, double>> range;
    for (const Sample& sample : samples_) {
        if (sample.when < now - kWindow || series >= sample.values.size() || !sample.values[series])
            continue;
        const double v = *sample.values[series];
        range = range ? std::make_pair(std::min(range->first, v), std::max(range->second, v)) : std::make_pair(v, v);
    }
    return range;
}

double CTrendHistory::Span(Clock::time_point now) const
{
    if (samples_.empty())
        return 0;
    const double window = std::chrono::duration<double>(kWindow).count();
    return std::min(window, -SecondsBefore(samples_.front().when, now));
}

} // namespace halcyra
