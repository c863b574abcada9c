#include "link/ControllerLink.h"

#include "link/Notifier.h"

#include <algorithm>

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
        // Sleep on the port itself: a reply is seen the moment its bytes arrive.
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() > 0)
            countingPort_.WaitReadable(left);
    }
    return TryEnd::TimedOut;
}

bool CControllerLink::Transact(CControllerMsg& msg, const TransactOptions& options)
{
    Register(msg);
    bool succeeded = false;
    for (int attempt = 0; attempt < options.tries && !succeeded; ++attempt) {
        msg.Send(tx_);
        succeeded = PollUntil(msg, Clock::now() + std::chrono::milliseconds(options.timeoutMs)) == TryEnd::Accepted;
    }
    if (options.removeWhenDone)
        Unregister(msg);
    if (options.showError && !succeeded)
        notifier_.Notify("Communication Error Occured", "Data Transfer Error", MsgButtons::Ok, MsgIcon::None);
    return succeeded;
}

bool CControllerLink::AwaitReply(CControllerMsg& msg, std::uint32_t timeoutMs, int tries, bool removeWhenDone)
{
    bool succeeded = false;
    for (int attempt = 0; attempt < tries && !succeeded; ++attempt)
        succeeded = PollUntil(msg, Clock::now() + std::chrono::milliseconds(timeoutMs)) == TryEnd::Accepted;
    if (removeWhenDone)
        Unregister(msg);
    msg.OnAwaitDone();
    return succeeded;
}

} // namespace halcyra
