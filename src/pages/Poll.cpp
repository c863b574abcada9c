#include "pages/Poll.h"

#include "link/ControllerLink.h"
#include "pages/PageContext.h"
#include "pages/SerialGuard.h"

#include <optional>
#include <string>

namespace halcyra {

CPoll::CPoll(CPageContext& context) : context_(context), timer_(*context.timers, context.ticks) {}

void CPoll::SetOutageBox(std::string text, std::string caption)
{
    outageText_ = std::move(text);
    outageCaption_ = std::move(caption);
}

void CPoll::Start(std::chrono::milliseconds period, PollFn poll)
{
    poll_ = std::move(poll);
    timer_.Start(period, [this] { PollNow(); });
}

bool CPoll::PollNow()
{
    if (!poll_)
        return false;
    ++polls_;
    bool succeeded = false;
    std::optional<CSerialException> portFailure;
    {
        CControllerLink::CQuietErrors quiet(context_.link);
        try {
            succeeded = poll_() && quiet.Count() == 0;
        } catch (const CSerialException& e) {
            portFailure = e;
        }
    }
    if (succeeded) {
        const bool recovered = outage_;
        outage_ = false;
        if (recovered && outageChanged_)
            outageChanged_(false);
        return true;
    }
    if (outage_)
        return false;
    outage_ = true;
    if (outageChanged_) {
        outageChanged_(true);
        return false;
    }
    // The box runs its own event loop; the gate keeps every tick out of it.
    CTickGate::CHold hold(context_.ticks);
    if (portFailure)
        ReportSerialFailure(context_.notifier, *portFailure);
    else if (!outageText_.empty())
        context_.notifier.Notify(outageText_, outageCaption_, MsgButtons::Ok, MsgIcon::None);
    else
        context_.notifier.Notify(kTransactionErrorText, kTransactionErrorCaption, MsgButtons::Ok, MsgIcon::None);
    return false;
}

} // namespace halcyra
