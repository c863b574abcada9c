#pragma once
// A poll of the controller on a periodic tick, as the pages that follow a
// running procedure or live values use it. A poll whose exchange fails shows
// its box once per outage: while that box is open, and until a later poll
// succeeds, the poll shows no further boxes. Polling goes on meanwhile, so it
// recovers by itself when the controller answers again. A poll whose owner
// says an outage in its own window shows no box at all.

#include "pages/Timer.h"

#include <chrono>
#include <functional>
#include <string>

namespace halcyra {

class CPageContext;

inline constexpr std::chrono::milliseconds kPollPeriod{250};

class CPoll {
public:
    // True when the poll's exchanges succeeded. Transaction error boxes
    // inside it are held back; a port failure counts as a failed poll.
    using PollFn = std::function<bool()>;

    explicit CPoll(CPageContext& context);

    // The box an outage shows instead of the transaction error box.
    void SetOutageBox(std::string text, std::string caption);
    // No box: changed is told when an outage begins (true) and when a
    // poll succeeds again (false), after that poll's own work.
    using OutageFn = std::function<void(bool inOutage)>;
    void ReportOutagesTo(OutageFn changed) { outageChanged_ = std::move(changed); }

    void Start(std::chrono::milliseconds period, PollFn poll);
    void Stop() { timer_.Stop(); }
    bool IsRunning() const { return timer_.IsRunning(); }
    bool InOutage() const { return outage_; }
    int Polls() const { return polls_; }

    // One poll now, with the same reporting as a tick's.
    bool PollNow();

private:
    CPageContext& context_;
    CTimer timer_;
    PollFn poll_;
    bool outage_ = false;
    int polls_ = 0;
    std::string outageText_;
    std::string outageCaption_;
    OutageFn outageChanged_;
};

} // namespace halcyra
