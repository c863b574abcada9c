#include "link/ControllerLink.h"

#include "link/Notifier.h"

#include <algorithm>
#include <thread>

namespace halcyra {

CControllerLink::CControllerLink(INotifier& notifier) : notifier_(notifier)
{
    countingPort_.inner = &serial_;
    rx_.Bind(&countingPort_);
    tx_.Bind(&countingPort_);
}

CControllerLink::~CControllerLink()
{
    for (CControllerMsg* msg : pending_) {
        msg->pending_ = false;
        msg->link_ = nullptr;
    }
}

void CControllerLink::Open(const std::string& device, bool showBox)
{
    currentPort_ = device;
    rx_.Reset();
    tx_.Clear();
    serial_.Open(device, 38400, Parity::None, 8, StopBits::One, FlowControl::None, false,
                 showBox ? &notifier_ : nullptr);
}

void CControllerLink::Close() { serial_.Close(); }

void CControllerLink::SetPort(CBytePort* port)
{
    countingPort_.inner = port ? port : &serial_;
    rx_.Reset();
    tx_.Clear();
}

bool CControllerLink::Register(CControllerMsg& msg)
{
    if (msg.pending_)
        return false;
    pending_.push_back(&msg);
    msg.pending_ = true;
    msg.link_ = this;
    return true;
}

void CControllerLink::Unregister(CControllerMsg& msg)
{
    pending_.erase(std::remove(pending_.begin(), pending_.end(), &msg), pending_.end());
    msg.pending_ = false;
}

bool CControllerLink::Extract(CControllerMsg& msg)
{
    msg.DecodeHeader(rx_);
    msg.RemoveTrailer(rx_);
    if (!msg.DecodePayload(rx_)) {
        // A payload the message cannot hold is rejected like a bad checksum.
        msg.state_ = CControllerMsg::Rejected;
        msg.OnRejected();
        return false;
    }
    if (rx_.Count() > 0) {
        msg.state_ = CControllerMsg::Rejected;
        notifier_.Notify("msg not completely removed", "ExtractMsg()", MsgButtons::Ok, MsgIcon::None);
        return false;
    }
    msg.state_ = CControllerMsg::Accepted;
    return true;
}

bool CControllerLink::ReceiveStep()
{
    if (!rx_.ReadFrame())
        return false;
    rx_.ExposeHeader();
    auto it = std::find_if(pending_.begin(), pending_.end(), [this](CControllerMsg* m) { return m->Matches(rx_); });
    if (it == pending_.end()) {
        rx_.Reset();
        return false;
    }
    CControllerMsg& msg = **it;
    if (msg.IsComplete(rx_)) {
        Extract(msg);
    } else {
        msg.state_ = CControllerMsg::Rejected;
        msg.OnRejected();
    }
    rx_.Reset();
    return true;
}

void CControllerLink::SendOnly(const CControllerMsg& msg) { msg.Send(tx_); }

namespace {
using Clock = std::chrono::steady_clock;
} // namespace

CControllerLink::TryEnd CControllerLink::PollUntil(CControllerMsg& msg, std::chrono::steady_clock::time_point deadline)
{
    while (Clock::now() < deadline) {
        if (ReceiveStep()) {
            if (msg.state_ == CControllerMsg::Accepted)
                return TryEnd::Accepted;
            if (msg.state_ == CControllerMsg::Rejected)
                return TryEnd::Rejected;
            continue;
        }
        WaitForInput(deadline);
    }
    return TryEnd::TimedOut;
}

void CControllerLink::WaitForInput(Clock::time_point deadline)
{
    // Sleep on the port itself: a reply is seen the moment its bytes arrive.
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0)
        return;
    if (!waitObserver_) {
        countingPort_.WaitReadable(left);
        return;
    }
    if (countingPort_.WaitReadable(std::min(left, kWaitSlice)))
        return;
    waitObserver_->StillWaiting();
}

void CControllerLink::ShowTransactionError()
{
    if (quietDepth_ > 0) {
        ++quietErrors_;
        return;
    }
    notifier_.Notify(kTransactionErrorText, kTransactionErrorCaption, MsgButtons::Ok, MsgIcon::None);
}

CControllerLink::CQuietErrors::CQuietErrors(CControllerLink& link) : link_(link), errorsBefore_(link.quietErrors_)
{
    ++link_.quietDepth_;
}

CControllerLink::CQuietErrors::~CQuietErrors() { --link_.quietDepth_; }

namespace {

// Marks a transaction for its whole length, its error box included, and
// tells the wait observer when the waiting starts and stops.
class CTransactionScope {
public:
    CTransactionScope(int& depth, ITransactionWaitObserver* observer)
        : depth_(depth), observer_(depth == 0 ? observer : nullptr)
    {
        ++depth_;
        if (observer_)
            observer_->WaitBegins();
    }
    ~CTransactionScope()
    {
        EndWait();
        --depth_;
    }
    CTransactionScope(const CTransactionScope&) = delete;
    CTransactionScope& operator=(const CTransactionScope&) = delete;

    // Before a box: the wait is over, though the transaction is not.
    void EndWait()
    {
        if (observer_)
            observer_->WaitEnds();
        observer_ = nullptr;
    }

private:
    int& depth_;
    ITransactionWaitObserver* observer_;
};

} // namespace

bool CControllerLink::Transact(CControllerMsg& msg, const TransactOptions& options)
{
    CTransactionScope scope(transactionDepth_, waitObserver_);
    Register(msg);
    bool succeeded = false;
    for (int attempt = 0; attempt < options.tries && !succeeded; ++attempt) {
        msg.Send(tx_);
        succeeded = PollUntil(msg, Clock::now() + std::chrono::milliseconds(options.timeoutMs)) == TryEnd::Accepted;
    }
    if (options.removeWhenDone)
        Unregister(msg);
    scope.EndWait();
    if (options.showError && !succeeded)
        ShowTransactionError();
    return succeeded;
}

void CControllerLink::Pause(std::chrono::milliseconds duration)
{
    CTransactionScope scope(transactionDepth_, waitObserver_);
    const Clock::time_point end = Clock::now() + duration;
    for (Clock::time_point now = Clock::now(); now < end; now = Clock::now()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - now);
        std::this_thread::sleep_for(waitObserver_ ? std::min(left, kWaitSlice) : left);
        if (waitObserver_)
            waitObserver_->StillWaiting();
    }
}

bool CControllerLink::AwaitReply(CControllerMsg& msg, std::uint32_t timeoutMs, int tries, bool removeWhenDone)
{
    CTransactionScope scope(transactionDepth_, waitObserver_);
    bool succeeded = false;
    for (int attempt = 0; attempt < tries && !succeeded; ++attempt)
        succeeded = PollUntil(msg, Clock::now() + std::chrono::milliseconds(timeoutMs)) == TryEnd::Accepted;
    if (removeWhenDone)
        Unregister(msg);
    msg.OnAwaitDone();
    return succeeded;
}

} // namespace halcyra
