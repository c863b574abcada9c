#include "logging/InternalLogging.h"

#include "link/ControllerLink.h"
#include "logging/LoggingMessages.h"
#include "pages/PageContext.h"

namespace halcyra {

std::optional<LogStatus> ReadLogStatus(CControllerLink& link, bool showError)
{
    CLogStatusMsg msg;
    if (!link.Transact(msg, {.showError = showError}))
        return std::nullopt;
    return LogStatus{msg.active != 0, msg.valueA, msg.valueB};
}

void SendLogCommand(CControllerLink& link, std::uint32_t command) { link.SendOnly(CLogCommandMsg(command)); }

CInternalLogging::CInternalLogging(CPageContext& context) : context_(context), poll_(context)
{
    // The window says so itself: a box every outage would stop the operator
    // for what the next poll may mend.
    poll_.ReportOutagesTo([this](bool inOutage) {
        unreadable_ = inOutage;
        if (changed_)
            changed_();
    });
}

void CInternalLogging::StartPolling(std::function<void()> changed)
{
    changed_ = std::move(changed);
    poll_.Start(kLogStatusPeriod, [this] { return Refresh(); });
}

bool CInternalLogging::Refresh()
{
    const std::optional<LogStatus> status = ReadLogStatus(context_.link, false);
    if (!status)
        return false;
    status_ = status;
    buttons_ = {.start = !status->active, .stop = status->active, .download = !status->active};
    if (changed_)
        changed_();
    return true;
}

void CInternalLogging::Start() { SendLogCommand(context_.link, wire::logging::kStartCommand); }
void CInternalLogging::Stop() { SendLogCommand(context_.link, wire::logging::kStopCommand); }
void CInternalLogging::Clear() { SendLogCommand(context_.link, wire::logging::kClearCommand); }

} // namespace halcyra
