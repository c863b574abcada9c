#pragma once
// Periodic ticks for everything that follows a running controller procedure
// (calibrations, diagnostics, logging). The desktop program drives them with
// QTimer, tests with a manual clock.
//
// Ticks never overlap: a tick does not run inside another tick (a box shown
// by a tick runs its own event loop), inside a transaction (the window is
// painted while one waits), or while something holds the gate; a tick that
// falls due then is skipped, not queued.

#include <chrono>
#include <cstddef>
#include <functional>
#include <map>

namespace halcyra {

class CControllerLink;

using TickHandler = std::function<void()>;

class ITimerSource {
public:
    virtual ~ITimerSource() = default;
    // Calls tick every period until StopTimer; returns the timer's id (never 0).
    virtual int StartTimer(std::chrono::milliseconds period, TickHandler tick) = 0;
    // Safe from inside the timer's own tick.
    virtual void StopTimer(int id) = 0;
};

class CTickGate {
public:
    explicit CTickGate(const CControllerLink* link = nullptr) : link_(link) {}

    bool IsOpen() const;
    // Runs tick with the gate closed meanwhile; false when the gate was closed.
    bool Run(const TickHandler& tick);

    // Keeps ticks out while it lives (a transfer between its chunks).
    class CHold {
    public:
        explicit CHold(CTickGate& gate) : gate_(gate) { ++gate_.closed_; }
        ~CHold() { --gate_.closed_; }
        CHold(const CHold&) = delete;
        CHold& operator=(const CHold&) = delete;

    private:
        CTickGate& gate_;
    };

    std::size_t Skipped() const { return skipped_; }

private:
    const CControllerLink* link_;
    int closed_ = 0;
    std::size_t skipped_ = 0;
};

// A periodic tick owned by a page or procedure; it stops when destroyed.
class CTimer {
public:
    CTimer(ITimerSource& source, CTickGate& gate) : source_(source), gate_(gate) {}
    ~CTimer() { Stop(); }
    CTimer(const CTimer&) = delete;
    CTimer& operator=(const CTimer&) = delete;

    // Starts (or restarts) ticking every period.
    void Start(std::chrono::milliseconds period, TickHandler tick);
    void Stop();
    bool IsRunning() const { return id_ != 0; }
    std::chrono::milliseconds Period() const { return period_; }

private:
    ITimerSource& source_;
    CTickGate& gate_;
    int id_ = 0;
    std::chrono::milliseconds period_{0};
    TickHandler tick_;
};

// Time that moves only when told: ticks fall due as Advance passes them.
class CManualClock final : public ITimerSource {
public:
    int StartTimer(std::chrono::milliseconds period, TickHandler tick) override;
    void StopTimer(int id) override;

    // Moves time on by step, running every tick that falls due on the way,
    // earliest first (timers due at the same moment in the order they started).
    void Advance(std::chrono::milliseconds step);
    std::chrono::milliseconds Now() const { return now_; }
    std::size_t RunningTimers() const { return timers_.size(); }

private:
    struct Entry {
        std::chrono::milliseconds period;
        std::chrono::milliseconds due;
        TickHandler tick;
    };
    std::map<int, Entry> timers_;
    std::chrono::milliseconds now_{0};
    int nextId_ = 1;
};

} // namespace halcyra
