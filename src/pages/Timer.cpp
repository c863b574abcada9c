#include "pages/Timer.h"

#include "link/ControllerLink.h"

#include <algorithm>

namespace halcyra {

bool CTickGate::IsOpen() const { return closed_ == 0 && !(link_ && link_->InTransaction()); }

bool CTickGate::Run(const TickHandler& tick)
{
    if (!IsOpen()) {
        ++skipped_;
        return false;
    }
    CHold hold(*this);
    tick();
    return true;
}

void CTimer::Start(std::chrono::milliseconds period, TickHandler tick)
{
    Stop();
    tick_ = std::move(tick);
    period_ = period;
    id_ = source_.StartTimer(period, [this] { gate_.Run(tick_); });
}

void CTimer::Stop()
{
    if (id_ == 0)
        return;
    source_.StopTimer(id_);
    id_ = 0;
}

int CManualClock::StartTimer(std::chrono::milliseconds period, TickHandler tick)
{
    const int id = nextId_++;
    // A period of zero would keep time from moving on.
    if (period.count() <= 0)
        period = std::chrono::milliseconds(1);
    timers_[id] = {period, now_ + period, std::move(tick)};
    return id;
}

void CManualClock::StopTimer(int id) { timers_.erase(id); }

void CManualClock::Advance(std::chrono::milliseconds step)
{
    const std::chrono::milliseconds end = now_ + step;
    for (;;) {
        // The earliest timer due by the end; ids break ties by starting order.
        auto next = timers_.end();
        for (auto it = timers_.begin(); it != timers_.end(); ++it)
            if (it->second.due <= end && (next == timers_.end() || it->second.due < next->second.due))
                next = it;
        if (next == timers_.end())
            break;
        now_ = next->second.due;
        next->second.due += next->second.period;
        // The tick may stop or start timers; run a copy.
        TickHandler tick = next->second.tick;
        tick();
    }
    // A tick may have moved time on itself (a box left open for a while).
    now_ = std::max(now_, end);
}

} // namespace halcyra
