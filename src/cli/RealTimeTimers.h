#pragma once
// Periodic ticks in real time for the command line, which has no event
// loop: RunUntil sleeps until the next tick is due, runs it, and so on.
// Ticks keep their schedule (no drift); a tick that is late because the one
// before took long runs once, not once for every period it missed.

#include "pages/Timer.h"

#include <chrono>
#include <functional>
#include <map>

namespace halcyra::cli {

class CRealTimeTimers final : public ITimerSource {
public:
    using Clock = std::chrono::steady_clock;

    int StartTimer(std::chrono::milliseconds period, TickHandler tick) override;
    void StopTimer(int id) override;

    // How long done may go unlooked at while no tick is due.
    static constexpr std::chrono::milliseconds kDoneSlice{250};

    // Runs the timers until done holds or none is left.
    void RunUntil(const std::function<bool()>& done);

private:
    struct Entry {
        std::chrono::milliseconds period;
        Clock::time_point due;
        TickHandler tick;
    };
    std::map<int, Entry> timers_;
    int nextId_ = 1;
};

} // namespace halcyra::cli
