#include "link/ControllerLink.h"

#include "link/Format.h"
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

void CUnansweredGets::Sent(std::string_view name)
{
    for (auto& [awaited, count] : awaiting_)
        if (awaited == name) {
            ++count;
            return;
        }
    awaiting_.emplace_back(std::string(name), 1);
    if (awaiting_.size() > kRemembered)
        awaiting_.pop_front();
}

void CUnansweredGets::Answered(std::string_view name)
{
    for (auto it = awaiting_.begin(); it != awaiting_.end(); ++it)
        if (it->first == name) {
            if (--it->second == 0)
                awaiting_.erase(it);
            return;
        }
}

bool CUnansweredGets::TakeLate(std::string_view name)
{
    for (const auto& entry : awaiting_)
        if (entry.first == name) {
            Answered(name);
            return true;
        }
    return false;
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

void CControllerLink::SetTrace(IFrameTrace* trace)
{
    trace_ = trace;
    if (!trace) {
        rx_.OnPassedOver({});
        return;
    }
    rx_.OnPassedOver([this](const PassedOverInput& input) {
        trace_->OnFrame({std::chrono::system_clock::now(), TraceDirection::Received, TraceVerdict::Discarded, {},
                         input.bytes, input.Describe()});
    });
}

void CControllerLink::TraceReceived(TraceVerdict verdict, int headerBytes, std::string detail)
{
    if (!trace_)
        return;
    std::vector<std::uint8_t> header;
    for (int i = 0; i < headerBytes && i < rx_.HeaderCount(); ++i)
        header.push_back(rx_.Header(i));
    trace_->OnFrame({std::chrono::system_clock::now(), TraceDirection::Received, verdict, std::move(header),
                     rx_.FrameWire(), std::move(detail)});
}

void CControllerLink::Send(const CControllerMsg& msg)
{
    const bool framed = msg.Send(tx_);
    if (!trace_)
        return;
    std::vector<std::uint8_t> header{msg.packetCode, msg.messageId, msg.subCode, msg.operation, msg.selector1,
                                     msg.selector2};
    header.resize(static_cast<std::size_t>(msg.HeaderBytes()));
    trace_->OnFrame({std::chrono::system_clock::now(), TraceDirection::Sent, TraceVerdict::Sent, std::move(header),
                     tx_.LastFrame(), framed ? "" : "refused by the frame writer: bad packet code or body over 250 bytes"});
}

void CControllerLink::Reject(CControllerMsg& msg, std::string why)
{
    msg.state_ = CControllerMsg::Rejected;
    ++msg.rejectedFrames_;
    msg.OnRejected();
    TraceReceived(TraceVerdict::Rejected, msg.HeaderBytes(), std::move(why));
}

bool CControllerLink::ExtractInto(CControllerMsg& msg, std::string& why)
{
    msg.DecodeHeader(rx_);
    msg.RemoveTrailer(rx_);
    if (!msg.DecodePayload(rx_)) {
        // A payload the message cannot hold is rejected like a bad checksum.
        why = "a payload the message cannot hold";
        return false;
    }
    if (rx_.Count() > 0) {
        why = "msg not completely removed";
        notifier_.Notify("msg not completely removed", "ExtractMsg()", MsgButtons::Ok, MsgIcon::None);
        return false;
    }
    msg.state_ = CControllerMsg::Accepted;
    return true;
}

bool CControllerLink::Extract(CControllerMsg& msg)
{
    std::string why;
    if (ExtractInto(msg, why))
        return true;
    msg.state_ = CControllerMsg::Rejected;
    ++msg.rejectedFrames_;
    msg.OnRejected();
    return false;
}

bool CControllerLink::ReceiveStep()
{
    if (!rx_.ReadFrame())
        return false;
    rx_.ExposeHeader();
    const FrameCheck check = rx_.Check();
    CControllerMsg* claimant = nullptr;
    bool declined = false;
    for (CControllerMsg* m : pending_) {
        if (!m->Matches(rx_))
            continue;
        if (check == FrameCheck::Good && m->Declines(rx_)) {
            ++m->declinedFrames_;
            declined = true;
            continue;
        }
        claimant = m;
        break;
    }
    if (!claimant) {
        TraceReceived(declined ? TraceVerdict::Declined : TraceVerdict::Unmatched, 4,
                      check == FrameCheck::Good ? "" : FrameCheckText(check));
        rx_.Reset();
        return false;
    }
    CControllerMsg& msg = *claimant;
    if (!msg.IsComplete(rx_)) {
        if (check != FrameCheck::Good) {
            std::string why = FrameCheckText(check);
            if (check == FrameCheck::BadChecksum)
                why += Format(": received 0x%04X, computed 0x%04X", static_cast<unsigned>(rx_.ReceivedChecksum()),
                              static_cast<unsigned>(rx_.ComputedChecksum()));
            Reject(msg, why);
        } else {
            const int payload = rx_.Count() - (msg.ExpectedCount() - msg.PayloadLength());
            Reject(msg, Format("%d payload bytes where %d were expected", payload, static_cast<int>(msg.PayloadLength())));
        }
    } else {
        std::string why;
        if (ExtractInto(msg, why))
            TraceReceived(TraceVerdict::Accepted, msg.HeaderBytes(), "");
        else
            Reject(msg, why);
    }
    rx_.Reset();
    return true;
}

void CControllerLink::SendOnly(const CControllerMsg& msg) { Send(msg); }

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
    ++transactionErrors_;
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
        Send(msg);
        msg.OnTrySent();
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
