#include "link/Framing.h"

#include <algorithm>
#include <iterator>

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

namespace {

constexpr struct {
    LexState state;
    const char* name;
} kLexStates[] = {
    {LexState::Ground, "ground"},
    {LexState::OpeningDle, "DLE seen, awaiting packet code"},
    {LexState::InBody, "in body"},
    {LexState::DleInBody, "DLE seen, in body"},
    {LexState::Complete, "frame complete"},
};

enum class LexAction : std::uint8_t {
    None,    // the byte only moves the state
    Skip,    // noise outside a frame
    Push,    // a packet code or unstuffed body byte
    Finish,  // DLE ETX: the frame is complete
    Abandon, // the frame cannot go on; the byte is dropped with it
};

struct LexStep {
    LexAction action;
    LexState next;
    const char* cause; // why an abandoned frame was given up
};

enum ByteClass { kIsDle, kIsEtx, kIsOther };

// One row per state, one column per byte class. Every abandon leads back to
// the ground state, so no byte can leave the finder stuck.
constexpr LexStep kLexTable[5][3] = {
    /* Ground */ {{LexAction::None, LexState::OpeningDle, nullptr},
                  {LexAction::Skip, LexState::Ground, nullptr},
                  {LexAction::Skip, LexState::Ground, nullptr}},
    /* OpeningDle */ {{LexAction::Abandon, LexState::Ground, "DLE DLE where a packet code belongs"},
                      {LexAction::Abandon, LexState::Ground, "DLE ETX where a packet code belongs"},
                      {LexAction::Push, LexState::InBody, nullptr}},
    /* InBody */ {{LexAction::None, LexState::DleInBody, nullptr},
                  {LexAction::Push, LexState::InBody, nullptr},
                  {LexAction::Push, LexState::InBody, nullptr}},
    /* DleInBody */ {{LexAction::Push, LexState::InBody, nullptr},
                     {LexAction::Finish, LexState::Complete, nullptr},
                     {LexAction::Abandon, LexState::Ground, "DLE followed by a byte other than DLE or ETX"}},
    /* Complete */ {{LexAction::Abandon, LexState::Ground, "complete frame not taken"},
                    {LexAction::Abandon, LexState::Ground, "complete frame not taken"},
                    {LexAction::Abandon, LexState::Ground, "complete frame not taken"}},
};

// Noise is reported in runs of at most this many bytes.
constexpr std::size_t kNoiseReportBytes = 64;

} // namespace

const char* LexStateName(LexState state)
{
    for (const auto& s : kLexStates)
        if (s.state == state)
            return s.name;
    return "?";
}

std::string PassedOverInput::Describe() const
{
    return std::string(cause) + ", in state \"" + LexStateName(state) + "\"";
}

const char* FrameCheckText(FrameCheck check)
{
    switch (check) {
    case FrameCheck::Good: return "good";
    case FrameCheck::TooShort: return "too short for a header and a trailer";
    case FrameCheck::BadLength: return "bad length byte";
    case FrameCheck::BadChecksum: return "bad checksum";
    }
    return "?";
}

CRxBuffer::CRxBuffer(CBytePort* port) : CByteRing(2048), port_(port) {}

void CRxBuffer::Reset()
{
    state_ = LexState::Ground;
    Clear();
    wire_.clear();
    headerCount_ = 0;
}

void CRxBuffer::OnPassedOver(std::function<void(const PassedOverInput&)> handler)
{
    passedOver_ = std::move(handler);
    wire_.clear();
    noise_.clear();
}

void CRxBuffer::FlushNoise()
{
    if (noise_.empty())
        return;
    if (passedOver_)
        passedOver_({noise_, LexState::Ground, "noise"});
    noise_.clear();
}

void CRxBuffer::Abandon(const char* cause)
{
    if (passedOver_)
        passedOver_({wire_, state_, cause});
    Reset();
}

bool CRxBuffer::FeedByte(std::uint8_t byte)
{
    // A frame longer than any the controller sends is given up before the
    // next byte, which then starts from the ground state.
    if (Count() > kMaxBody)
        Abandon("unstuffed content over 250 bytes");
    const ByteClass cls = byte == kDle ? kIsDle : byte == kEtx ? kIsEtx : kIsOther;
    const LexStep& step = kLexTable[static_cast<int>(state_)][cls];
    if (passedOver_) {
        if (state_ == LexState::Ground && step.action == LexAction::Skip) {
            noise_.push_back(byte);
            if (noise_.size() >= kNoiseReportBytes)
                FlushNoise();
        } else {
            if (state_ == LexState::Ground) {
                FlushNoise();
                wire_.clear();
            }
            wire_.push_back(byte);
        }
    }
    switch (step.action) {
    case LexAction::None:
    case LexAction::Skip:
    case LexAction::Finish:
        break;
    case LexAction::Push:
        PushBack(byte);
        break;
    case LexAction::Abandon:
        Abandon(step.cause);
        return false;
    }
    state_ = step.next;
    return state_ == LexState::Complete;
}

bool CRxBuffer::ReadFrame()
{
    if (state_ == LexState::Complete)
        return true;
    while (port_->BytesWaiting() > 0) {
        std::uint8_t byte = 0;
        if (port_->Read(&byte, 1) != 1)
            break;
        if (FeedByte(byte))
            return true;
    }
    FlushNoise();
    return false;
}

bool CRxBuffer::ExposeHeader()
{
    std::fill(std::begin(header_), std::end(header_), std::uint8_t{0});
    headerCount_ = 0;
    if (Count() > 2) {
        PopFront(header_[0]);
        PopFront(header_[1]);
        headerCount_ = 2;
    }
    if (Count() > 2) {
        const int n = Count() < 4 ? Count() : 4;
        for (int i = 0; i < n; ++i)
            header_[2 + i] = Peek(static_cast<std::size_t>(i));
        headerCount_ += n;
    }
    return true;
}

std::uint8_t CRxBuffer::LengthByte() const { return Count() >= 3 ? Peek(static_cast<std::size_t>(Count() - 3)) : 0; }

std::uint16_t CRxBuffer::ReceivedChecksum() const
{
    if (Count() < 2)
        return 0;
    const auto count = static_cast<std::size_t>(Count());
    return static_cast<std::uint16_t>(Peek(count - 2) * 256 + Peek(count - 1));
}

std::uint16_t CRxBuffer::ComputedChecksum() const
{
    std::uint16_t sum = header_[1];
    for (int i = 0; i + 2 < Count(); ++i)
        sum = static_cast<std::uint16_t>(sum + Peek(static_cast<std::size_t>(i)));
    return sum;
}

FrameCheck CRxBuffer::Check() const
{
    // What follows the message id: the rest of the body and the three trailer bytes.
    if (headerCount_ < 2 || Count() < 3)
        return FrameCheck::TooShort;
    if (LengthByte() + 2 != Count())
        return FrameCheck::BadLength;
    if (ReceivedChecksum() != ComputedChecksum())
        return FrameCheck::BadChecksum;
    return FrameCheck::Good;
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
    lastFrame_.clear();
    bool ok = BuildFrame(lastFrame_, addLength, addChecksum);
    // The whole frame goes out in one write; the bytes on the wire are the same
    // as writing them one at a time.
    if (!lastFrame_.empty())
        port_->Write(lastFrame_.data(), lastFrame_.size());
    return ok;
}

} // namespace halcyra
