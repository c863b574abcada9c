#include "logging/LoggingMessages.h"

#include "link/Framing.h"

namespace halcyra {

using namespace wire::logging;

CLogStatusMsg::CLogStatusMsg() : CControllerMsg(HeaderFamily::ThreeByte, wire::kLogStatusMsg, kStatusSub, 0, 9) {}

bool CLogStatusMsg::DecodePayload(CRxBuffer& rx)
{
    rx.PopValue(active);
    rx.PopValue(valueA);
    rx.PopValue(valueB);
    return true;
}

CLogCommandMsg::CLogCommandMsg(std::uint32_t command_)
    : CControllerMsg(HeaderFamily::ThreeByte, wire::kLogCommandMsg, kCommandSub), command(command_)
{
}

void CLogCommandMsg::EncodePayload(CTxBuffer& tx) const { tx.PushValue(command); }

CLogOutputGetMsg::CLogOutputGetMsg()
    : CControllerMsg(HeaderFamily::FourByte, wire::kTableMsg, wire::table::kLoggingSub, kOutputGetOp, 4)
{
}

bool CLogOutputGetMsg::DecodePayload(CRxBuffer& rx)
{
    rx.PopValue(setting);
    return true;
}

CLogOutputSetMsg::CLogOutputSetMsg(std::uint32_t setting_)
    : CControllerMsg(HeaderFamily::FourByte, wire::kTableMsg, wire::table::kLoggingSub, kOutputSetOp), setting(setting_)
{
}

void CLogOutputSetMsg::EncodePayload(CTxBuffer& tx) const { tx.PushValue(setting); }

CDataLogBlockMsg::CDataLogBlockMsg(std::uint8_t operation_)
    : CControllerMsg(HeaderFamily::FourByte, wire::kTableMsg, wire::table::kLoggingSub, operation_, kAnyLength)
{
    // Only ever awaited: the controller sends these frames unasked.
    packetCode = kReplyCode;
}

bool CDataLogBlockMsg::Finished() const
{
    return currentBlock_ != 0 && currentBlock_ == lastBlock_ &&
           received_ == (lastBlock_ - 1) * kItemBlockBytes + lastBlockSize_;
}

void CDataLogBlockMsg::Restart()
{
    lastBlockSize_ = currentBlock_ = lastBlock_ = 0;
    received_ = 0;
    SetState(Waiting);
}

bool CDataLogBlockMsg::DecodePayload(CRxBuffer& rx)
{
    if (rx.Count() < 3)
        return false;
    std::uint8_t block = 0, last = 0, size = 0;
    rx.PopValue(block);
    rx.PopValue(last);
    rx.PopValue(size);
    // The frame must hold exactly the bytes it announces.
    if (rx.Count() != size)
        return false;
    if (block == 0 || block > last || size > kItemBlockBytes || (block < last && size != kItemBlockBytes))
        return false;
    // An item announcing more blocks than the buffer holds is refused at its
    // first frame; its last block is checked against the room left when it comes.
    if ((last - 1) * kItemBlockBytes >= kCapacity)
        return false;
    const bool starts = block == 1;
    if (!starts && (block != currentBlock_ + 1 || last != lastBlock_))
        return false;
    const std::size_t offset = starts ? 0 : received_;
    if (offset + size > kCapacity)
        return false;

    if (starts) {
        if (Collecting() && !Finished())
            ++abandoned_;
        lastBlockSize_ = 0;
    }
    for (std::size_t i = 0; i < size; ++i)
        rx.PopValue(data_[offset + i]);
    received_ = static_cast<std::uint16_t>(offset + size);
    currentBlock_ = block;
    lastBlock_ = last;
    if (block == last)
        lastBlockSize_ = size;
    return true;
}

} // namespace halcyra
