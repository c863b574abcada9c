#include "cli/RealTimeTimers.h"

#include <algorithm>
#include <thread>

namespace halcyra::cli {

int CRealTimeTimers::StartTimer(std::chrono::milliseconds period, TickHandler tick)
{
    const int id = nextId_++;
    period = std::max(period, std::chrono::milliseconds(1));
    timers_[id] = {period, Clock::now() + period, std::move(tick)};
    return id;
}

void CRealTimeTimers::StopTimer(int id) { timers_.erase(id); }

void CRealTimeTimers::RunUntil(const std::function<bool()>& done)
{
    while (!done() && !timers_.empty()) {
        auto next = std::min_element(timers_.begin(), timers_.end(),
                                     [](const auto& a, const auto& b) { return a.second.due < b.second.due; });
        // A long period still looks at done every slice: an interruption
        // is taken within it, not at the next tick.
        std::this_thread::sleep_until(std::min(next->second.due, Clock::now() + kDoneSlice));
        if (Clock::now() < next->second.due)
            continue;
        Entry& entry = next->second;
        const Clock::time_point now = Clock::now();
        // Periods missed while an earlier tick ran are skipped, not made up.
        const auto missed = (now - entry.due) / entry.period;
        entry.due += entry.period * (missed + 1);
        // The tick may stop its own timer.
        TickHandler tick = entry.tick;
        tick();
    }
}

} // namespace halcyra::cli
