#pragma once
// Logging into the controller's own memory, as the "Internal Data Logging"
// window follows and drives it: the status polled every 500 ms, what the
// buttons allow, the fill level, and the start, stop and clear commands.

#include "pages/Poll.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>

namespace halcyra {

class CControllerLink;
class CPageContext;

inline constexpr std::chrono::milliseconds kLogStatusPeriod{500};
// Shown in the window, not in a box, while the status poll fails.
inline constexpr const char* kLogStatusUnreadableText =
    "The logging status cannot be read: the controller does not answer. The buttons show the last status read. "
    "Check the cable; the window keeps asking.";

// One answer to the logging status.
struct LogStatus {
    bool active = false;
    std::uint32_t valueA = 0;
    std::uint32_t valueB = 0;

    // B - A of B; A past B (which a working controller never reports) counts as empty.
    std::uint32_t Used() const { return valueA > valueB ? 0 : valueB - valueA; }
    std::uint32_t Total() const { return valueB; }
};

// Asks the controller for the logging status; nothing when it did not answer.
std::optional<LogStatus> ReadLogStatus(CControllerLink& link, bool showError);
// Start (1), stop (0) or clear (2), sent without waiting for an answer.
void SendLogCommand(CControllerLink& link, std::uint32_t command);

class CInternalLogging {
public:
    // What the window's buttons allow.
    struct Buttons {
        bool start = true;
        bool stop = false;
        bool download = true;
    };

    explicit CInternalLogging(CPageContext& context);

    // Polls the status every 500 ms; changed is called after each answer
    // and when the status stops or starts being readable again. A poll that
    // fails shows no box and keeps the last status.
    void StartPolling(std::function<void()> changed);
    void StopPolling() { poll_.Stop(); }
    bool PollNow() { return poll_.PollNow(); }

    void Start();
    void Stop();
    void Clear();

    const Buttons& Allowed() const { return buttons_; }
    // The last status the controller gave, if any.
    const std::optional<LogStatus>& Status() const { return status_; }
    // The last poll failed (the controller is unplugged, say).
    bool StatusUnreadable() const { return unreadable_; }
    const CPoll& Poll() const { return poll_; }

private:
    bool Refresh();

    CPageContext& context_;
    CPoll poll_;
    Buttons buttons_;
    std::optional<LogStatus> status_;
    bool unreadable_ = false;
    std::function<void()> changed_;
};

} // namespace halcyra
