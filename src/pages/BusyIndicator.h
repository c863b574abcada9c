#pragma once
// What the user sees while the program waits on the controller: the wait
// cursor in the desktop program, nothing elsewhere.

#include <cstdint>
#include <functional>

namespace halcyra {

// Progress of a long transfer: (0, N) when it begins, then (i, N) after each step.
using ProgressCallback = std::function<void(std::uint32_t done, std::uint32_t total)>;

class IBusyIndicator {
public:
    virtual ~IBusyIndicator() = default;
    // Calls nest: each SetBusy(true) is matched by one SetBusy(false).
    virtual void SetBusy(bool busy) = 0;
};

class CNoBusyIndicator final : public IBusyIndicator {
public:
    void SetBusy(bool) override {}
};

// Busy for as long as this lives, whatever way the scope is left.
class CBusyScope {
public:
    explicit CBusyScope(IBusyIndicator& indicator) : indicator_(indicator) { indicator_.SetBusy(true); }
    ~CBusyScope() { indicator_.SetBusy(false); }
    CBusyScope(const CBusyScope&) = delete;
    CBusyScope& operator=(const CBusyScope&) = delete;

private:
    IBusyIndicator& indicator_;
};

// For operations that report their waits through a callback: passes the
// reports on, and when it goes takes back what a wait cut short (an
// exception) left shown.
class CBusyReports {
public:
    explicit CBusyReports(IBusyIndicator& indicator) : indicator_(indicator) {}
    ~CBusyReports()
    {
        for (; shown_ > 0; --shown_)
            indicator_.SetBusy(false);
    }
    CBusyReports(const CBusyReports&) = delete;
    CBusyReports& operator=(const CBusyReports&) = delete;

    std::function<void(bool)> Callback()
    {
        return [this](bool busy) {
            if (!busy && shown_ == 0)
                return;
            shown_ += busy ? 1 : -1;
            indicator_.SetBusy(busy);
        };
    }

private:
    IBusyIndicator& indicator_;
    int shown_ = 0;
};

} // namespace halcyra
