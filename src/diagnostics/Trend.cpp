#include "diagnostics/Trend.h"

#include <algorithm>
#include <cmath>

namespace halcyra {

namespace {

double SecondsBefore(CTrendHistory::Clock::time_point when, CTrendHistory::Clock::time_point now)
{
    return std::chrono::duration<double>(when - now).count();
}

// The round step (1, 2 or 5 times a power of ten) no smaller than rough.
double RoundStep(double rough)
{
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (double factor : {1.0, 2.0, 5.0})
        if (factor * power >= rough)
            return factor * power;
    return 10 * power;
}

} // namespace

std::vector<double> TrendScale::Ticks() const
{
    std::vector<double> ticks;
    if (!(step > 0) || !std::isfinite(min) || !std::isfinite(max))
        return ticks;
    const double first = std::round(min / step);
    const double last = std::round(max / step);
    // A scale of a thousand ticks is no scale: draw its ends.
    if (last - first > 1000)
        return {min, max};
    for (double k = first; k <= last; ++k)
        ticks.push_back(k * step);
    return ticks;
}

TrendScale ValueScale(double lowest, double highest)
{
    const double margin = std::max((highest - lowest) * 0.1, std::max(std::fabs(highest) * 0.02, 0.05));
    const double low = lowest - margin;
    const double high = highest + margin;
    const double step = RoundStep((high - low) / 4);
    return {std::floor(low / step) * step, std::ceil(high / step) * step, step};
}

TrendScale TimeScale(double span)
{
    double step = 10;
    for (double s : {1.0, 2.0, 5.0, 10.0})
        if (span <= 6 * s) {
            step = s;
            break;
        }
    return {-step * std::max(1.0, std::ceil(span / step - 1e-9)), 0, step};
}

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
