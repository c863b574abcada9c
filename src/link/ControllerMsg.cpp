#include "link/ControllerMsg.h"

#include "link/ControllerLink.h"
#include "link/Framing.h"
#include "link/MessageIds.h"

#include <cctype>

namespace halcyra {

CControllerMsg::CControllerMsg(HeaderFamily family, std::uint8_t messageId_, std::uint8_t subCode_,
                               std::uint8_t operation_, std::int32_t payloadLength)
    : packetCode(kRequestCode), messageId(messageId_), replyCode(kReplyCode), subCode(subCode_),
      operation(operation_), payloadLength_(payloadLength), family_(family)
{
}

CControllerMsg::~CControllerMsg()
{
    if (pending_ && link_)
        link_->Unregister(*this);
}

int CControllerMsg::HeaderBytesAfterId() const
{
    switch (family_) {
    case HeaderFamily::ThreeByte: return 1;
    case HeaderFamily::FourByte: return 2;
    case HeaderFamily::SixByte: return 4;
    }
    return 2;
}

bool CControllerMsg::DecodePayload(CRxBuffer&) { return true; }

void CControllerMsg::DecodeHeader(CRxBuffer& rx)
{
    rx.PopValue(subCode);
    if (family_ == HeaderFamily::ThreeByte)
        return;
    rx.PopValue(operation);
    if (family_ == HeaderFamily::SixByte) {
        rx.PopValue(selector1);
        rx.PopValue(selector2);
    }
}

void CControllerMsg::RemoveTrailer(CRxBuffer& rx)
{
    std::uint8_t b = 0;
    rx.PopBack(b);
    rx.PopBack(b);
    rx.PopBack(b);
}

void CControllerMsg::EncodeHeader(CTxBuffer& tx) const
{
    tx.PushValue(packetCode);
    tx.PushValue(messageId);
    tx.PushValue(subCode);
    if (family_ == HeaderFamily::ThreeByte)
        return;
    tx.PushValue(operation);
    if (family_ == HeaderFamily::SixByte) {
        tx.PushValue(selector1);
        tx.PushValue(selector2);
    }
}

void CControllerMsg::EncodePayload(CTxBuffer&) const {}
void CControllerMsg::EncodeExtra(CTxBuffer&) const {}

bool CControllerMsg::IsComplete(const CRxBuffer& rx) const
{
    return rx.TrailerOk() && (PayloadLength() == kAnyLength || rx.Count() == ExpectedCount());
}

bool CControllerMsg::Matches(const CRxBuffer& rx) const
{
    const std::uint8_t code = replyCode != 0 ? replyCode : packetCode;
    const int after = HeaderBytesAfterId();
    if (rx.Count() <= after + 2)
        return false;
    if (rx.Header(0) != code || rx.Header(1) != messageId || rx.Header(2) != subCode)
        return false;
    if (family_ == HeaderFamily::ThreeByte)
        return true;
    if (rx.Header(3) != operation)
        return false;
    if (family_ == HeaderFamily::FourByte)
        return true;
    return rx.Header(4) == selector1 && rx.Header(5) == selector2;
}

std::int32_t CControllerMsg::ExpectedCount() const { return PayloadLength() + HeaderBytesAfterId() + 3; }

bool CControllerMsg::Send(CTxBuffer& tx) const
{
    EncodeHeader(tx);
    EncodePayload(tx);
    EncodeExtra(tx);
    return tx.WriteFrame(true, true);
}

// ---------------------------------------------------------------- named-parameter text

std::size_t NameTokenLength(std::string_view text)
{
    std::size_t n = 0;
    while (n < text.size() && n < kMaxNameCompare && std::isalnum(static_cast<unsigned char>(text[n])))
        ++n;
    return n >= 3 ? n : 0;
}

CParamTextMsg::CParamTextMsg(Operation op, std::string text)
    : CControllerMsg(HeaderFamily::FourByte, wire::kInfoMsg, wire::info::kParamSub, op, kAnyLength)
{
    SetText(std::move(text));
}

void CParamTextMsg::SetText(std::string text)
{
    text_ = std::move(text);
    askedName_ = operation == Get ? text_.substr(0, kMaxNameCompare) : std::string();
}

namespace {

// The name token at the start of a reply text.
std::string_view ReplyName(std::string_view text) { return text.substr(0, NameTokenLength(text)); }

} // namespace

bool CParamTextMsg::Declines(const CRxBuffer& rx) const
{
    if (operation != Get || !RegisteredLink())
        return false; // a set is answered with any text
    // The payload follows the sub-code and operation and ends before the trailer.
    std::string start;
    for (int i = 2; i + 3 < rx.Count() && start.size() <= kMaxNameCompare; ++i)
        start.push_back(static_cast<char>(rx.Peek(static_cast<std::size_t>(i))));
    const std::string_view name = ReplyName(start);
    return !name.empty() && name != askedName_ && RegisteredLink()->UnansweredGets().TakeLate(name);
}

void CParamTextMsg::OnTrySent()
{
    if (operation == Get && RegisteredLink())
        RegisteredLink()->UnansweredGets().Sent(askedName_);
}

bool CParamTextMsg::DecodePayload(CRxBuffer& rx)
{
    std::string text;
    std::uint8_t b = 0;
    bool ended = false;
    while (rx.PopFront(b)) {
        // The text ends at its first NUL, as a C string would.
        if (b == 0)
            ended = true;
        if (!ended)
            text.push_back(static_cast<char>(b));
    }
    if (text.size() > kMaxText)
        return false;
    if (operation == Get && RegisteredLink())
        RegisteredLink()->UnansweredGets().Answered(ReplyName(text));
    text_ = std::move(text);
    return true;
}

void CParamTextMsg::EncodePayload(CTxBuffer& tx) const
{
    for (char c : text_)
        tx.PushBack(static_cast<std::uint8_t>(c));
}

// ---------------------------------------------------------------- status and reset

CStatusMsg::CStatusMsg()
    : CControllerMsg(HeaderFamily::FourByte, wire::kControllerMsg, wire::controller::kSub, wire::controller::kStatusOp,
                     kAnyLength)
{
}

bool CStatusMsg::DecodePayload(CRxBuffer& rx)
{
    rx.PopValue(status[0]);
    rx.PopValue(status[1]);
    if (status[0] == 2)
        rx.PopValue(status[2]);
    return true;
}

CResetMsg::CResetMsg()
    : CControllerMsg(HeaderFamily::FourByte, wire::kControllerMsg, wire::controller::kSub, wire::controller::kResetOp, 0)
{
}

} // namespace halcyra
