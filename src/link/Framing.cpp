#include "link/Framing.h"

namespace halcyra {

CByteRing::CByteRing(std::size_t capacity) : storage_(capacity) {}

bool CByteRing::PushBack(std::uint8_t byte)
{
    if (read_ == write_ && !lastWasRemoval_)
        return false;
    storage_[write_] = byte;
    write_ = (write_ + 1) % storage_.size();
    lastWasRemoval_ = false;
    return true;
}

bool CByteRing::PushFront(std::uint8_t byte)
{
    if (read_ == write_ && !lastWasRemoval_)
        return false;
    read_ = (read_ + storage_.size() - 1) % storage_.size();
    storage_[read_] = byte;
    lastWasRemoval_ = false;
    return true;
}

bool CByteRing::PopFront(std::uint8_t& byte)
{
    if (read_ == write_ && lastWasRemoval_)
        return false;
    byte = storage_[read_];
    read_ = (read_ + 1) % storage_.size();
    lastWasRemoval_ = true;
    return true;
}

bool CByteRing::PopBack(std::uint8_t& byte)
{
    if (read_ == write_ && lastWasRemoval_)
        return false;
    write_ = (write_ + storage_.size() - 1) % storage_.size();
    byte = storage_[write_];
    lastWasRemoval_ = true;
    return true;
}

int CByteRing::Count() const
{
    if (write_ > read_)
        return static_cast<int>(write_ - read_);
    if (write_ < read_)
        return static_cast<int>(write_ + storage_.size() - read_);
    return lastWasRemoval_ ? 0 : static_cast<int>(storage_.size());
}

void CByteRing::Clear()
{
    read_ = write_ = 0;
    lastWasRemoval_ = true;
}

std::uint8_t CByteRing::Peek(std::size_t offset) const { return storage_[(read_ + offset) % storage_.size()]; }

// ---------------------------------------------------------------- receive

CRxBuffer::CRxBuffer(CBytePort* port) : CByteRing(2048), port_(port) {}

void CRxBuffer::Reset()
{
    state_ = Idle;
    Clear();
    runningSum_ = 0;
}

bool CRxBuffer::FeedByte(std::uint8_t byte)
{
    if (Count() > kMaxBody)
        Reset();
    switch (state_) {
    case Idle:
        if (byte == kDle)
            state_ = AfterOpeningDle;
        break;
    case AfterOpeningDle:
        if (byte == kEtx || byte == kDle) {
            Reset();
        } else {
            PushBack(byte); // packet code, not summed
            state_ = InBody;
        }
        break;
    case InBody:
        if (byte == kDle) {
            state_ = AfterDleInBody;
        } else {
            PushBack(byte);
            runningSum_ = static_cast<std::uint16_t>(runningSum_ + byte);
        }
        break;
    case AfterDleInBody:
        if (byte == kDle) {
            PushBack(kDle);
            runningSum_ = static_cast<std::uint16_t>(runningSum_ + kDle);
            state_ = InBody;
        } else if (byte == kEtx) {
            state_ = Complete;
        } else {
            Reset();
        }
        break;
    case Complete:
        Reset();
        break;
    }
    return state_ == Complete;
}

bool CRxBuffer::ReadFrame()
{
    if (state_ == Complete)
        return true;
    while (port_->BytesWaiting() > 0) {
        std::uint8_t byte = 0;
        if (port_->Read(&byte, 1) != 1)
            break;
        if (FeedByte(byte))
            return true;
    }
    return false;
}

bool CRxBuffer::ExposeHeader()
{
    if (Count() > 2) {
        PopFront(header_[0]);
        PopFront(header_[1]);
    }
    if (Count() > 2) {
        int n = Count() < 4 ? Count() : 4;
        for (int i = 0; i < n; ++i)
            header_[2 + i] = Peek(static_cast<std::size_t>(i));
    }
    if (Count() >= 4) {
        std::size_t count = static_cast<std::size_t>(Count());
        std::uint8_t high = Peek(count - 2);
        std::uint8_t low = Peek(count - 1);
        lengthByte_ = Peek(count - 3);
        receivedChecksum_ = static_cast<std::uint16_t>(high * 256 + low);
        runningSum_ = static_cast<std::uint16_t>(runningSum_ - high - low);
    }
    return true;
}

bool CRxBuffer::TrailerOk() const
{
    return Count() >= 3 && lengthByte_ + 2 == Count() && receivedChecksum_ == runningSum_;
}

// ---------------------------------------------------------------- transmit

CTxBuffer::CTxBuffer(CBytePort* port) : CByteRing(255), port_(port) {}

bool CTxBuffer::BuildFrame(std::vector<std::uint8_t>& out, bool addLength, bool addChecksum)
{
    auto stuffed = [&out](std::uint8_t b) {
        out.push_back(b);
        if (b == kDle)
            out.push_back(kDle);
    };
    std::uint8_t code = 0;
    if (!PopFront(code))
        return false;
    if (code == kDle || code == kEtx) {
        Clear();
        return false;
    }
    out.push_back(kDle);
    out.push_back(code);
    std::uint8_t n = 0;
    std::uint16_t sum = 0;
    std::uint8_t b = 0;
    int bodyCount = 0;
    while (PopFront(b)) {
        sum = static_cast<std::uint16_t>(sum + b);
        stuffed(b);
        ++n;
        if (++bodyCount > kMaxBody) {
            // Spoil the frame so the receiver cannot take it for a good one.
            out.insert(out.end(), {0x00, 0x00, 0x00, kDle, kEtx});
            Clear();
            return false;
        }
    }
    if (addLength) {
        sum = static_cast<std::uint16_t>(sum + n);
        stuffed(n);
    }
    if (addChecksum) {
        stuffed(static_cast<std::uint8_t>(sum >> 8));
        stuffed(static_cast<std::uint8_t>(sum & 0xFF));
    }
    out.push_back(kDle);
    out.push_back(kEtx);
    return true;
}

bool CTxBuffer::WriteFrame(bool addLength, bool addChecksum)
{
    std::vector<std::uint8_t> frame;
    frame.reserve(2 * kMaxBody + 16);
    bool ok = BuildFrame(frame, addLength, addChecksum);
    // The whole frame goes out in one write; the bytes on the wire are the same
    // as writing them one at a time.
    if (!frame.empty())
        port_->Write(frame.data(), frame.size());
    return ok;
}

} // namespace halcyra
