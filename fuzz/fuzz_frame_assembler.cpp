// Fuzzes the receive path of the controller link and the frame writer.
//
// The input is used three ways:
//  1. as a byte stream, fed one byte at a time to a lone frame finder and
//     to a straightforward model of the assembly rules; both must complete the
//     same frames with the same contents, and the checker must judge each
//     frame's length byte and checksum as the model does;
//  2. as a byte stream arriving in chunks on a memory port, read by a traced
//     controller link with messages of all three header families registered;
//     every completed frame whose header some pending message claims (and
//     does not decline) must be handed to the first such message, nothing
//     may be left behind, and the trace must account for every byte read;
//  3. as packet code and body of a frame written by the frame writer; the
//     written bytes must assemble into exactly that frame again.

#include "FuzzSupport.h"

#include "link/ControllerLink.h"
#include "link/ControllerMsg.h"
#include "link/Framing.h"
#include "link/MemoryPort.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

using namespace halcyra;
using halcyra::fuzz::Require;

namespace {

// ---------------------------------------------------------------- assembly model

// The assembly rules written out plainly, state by state.
class CAssemblyModel {
public:
    // True when the byte completed a frame; Content() then holds it.
    bool Feed(std::uint8_t byte)
    {
        if (content_.size() > static_cast<std::size_t>(kMaxBody))
            Reset();
        switch (state_) {
        case 0:
            if (byte == kDle)
                state_ = 1;
            return false;
        case 1:
            if (byte == kEtx || byte == kDle) {
                Reset();
                return false;
            }
            content_.push_back(byte);
            state_ = 2;
            return false;
        case 2:
            if (byte == kDle)
                state_ = 3;
            else
                content_.push_back(byte);
            return false;
        case 3:
            if (byte == kDle) {
                content_.push_back(kDle);
                state_ = 2;
                return false;
            }
            if (byte == kEtx) {
                state_ = 4;
                return true;
            }
            Reset();
            return false;
        default:
            Reset();
            return false;
        }
    }
    const std::vector<std::uint8_t>& Content() const { return content_; }
    // What the message layer does once it has dispatched a completed frame.
    void Reset()
    {
        state_ = 0;
        content_.clear();
    }

private:
    int state_ = 0;
    std::vector<std::uint8_t> content_;
};

// The checker's rules over a frame's unstuffed content: the length byte
// counts the body, the checksum sums the body and the length byte.
FrameCheck ModelCheck(const std::vector<std::uint8_t>& content)
{
    if (content.size() < 5)
        return FrameCheck::TooShort;
    const std::size_t body = content.size() - 4; // without packet code and trailer
    if (content[content.size() - 3] != body)
        return FrameCheck::BadLength;
    std::uint16_t sum = 0;
    for (std::size_t i = 1; i + 2 < content.size(); ++i)
        sum = static_cast<std::uint16_t>(sum + content[i]);
    const auto received = static_cast<std::uint16_t>(content[content.size() - 2] * 256 + content[content.size() - 1]);
    return sum == received ? FrameCheck::Good : FrameCheck::BadChecksum;
}


std::vector<std::uint8_t> RingContents(const CRxBuffer& rx)
{
    std::vector<std::uint8_t> out;
    for (int i = 0; i < rx.Count(); ++i)
        out.push_back(rx.Peek(static_cast<std::size_t>(i)));
    return out;
}

void CheckAssemblerAgainstModel(const std::uint8_t* data, std::size_t size)
{
    CRxBuffer rx;
    CAssemblyModel model;
    for (std::size_t i = 0; i < size; ++i) {
        const bool done = rx.FeedByte(data[i]);
        Require(done == model.Feed(data[i]));
        Require(rx.Count() <= kMaxBody + 1);
        if (done) {
            Require(rx.AssemblyState() == LexState::Complete);
            Require(RingContents(rx) == model.Content());
            // The next byte abandons the frame whatever ExposeHeader left.
            rx.ExposeHeader();
            Require(rx.Check() == ModelCheck(model.Content()));
        } else {
            Require(rx.AssemblyState() != LexState::Complete);
        }
    }
}

// ---------------------------------------------------------------- link

// A reply of fixed layout: pops fields of the given widths, most significant first.
class CProbeMsg final : public CControllerMsg {
public:
    CProbeMsg(HeaderFamily family, std::uint8_t id, std::uint8_t sub, std::uint8_t op, std::int32_t length,
              std::initializer_list<int> widths)
        : CControllerMsg(family, id, sub, op, length), widths_(widths)
    {
    }
    bool DecodePayload(CRxBuffer& rx) override
    {
        ++decoded;
        for (int w : widths_) {
            if (w == 1) {
                std::uint8_t v = 0;
                rx.PopValue(v);
            } else if (w == 2) {
                std::uint16_t v = 0;
                rx.PopValue(v);
            } else {
                float v = 0;
                rx.PopValue(v);
            }
        }
        // A frame of the expected length holds exactly these fields.
        Require(rx.Count() == 0);
        return true;
    }
    void OnRejected() override { ++rejected; }
    int decoded = 0;
    int rejected = 0;

private:
    std::vector<int> widths_;
};

// A reply of any length whose bytes are all taken.
class CDrainMsg final : public CControllerMsg {
public:
    CDrainMsg(HeaderFamily family, std::uint8_t id, std::uint8_t sub)
        : CControllerMsg(family, id, sub, 0, kAnyLength)
    {
    }
    bool DecodePayload(CRxBuffer& rx) override
    {
        std::uint8_t b = 0;
        while (rx.PopFront(b))
            ++drained;
        return true;
    }
    std::size_t drained = 0;
};

// Whether a good named-parameter get reply names another parameter than
// the one asked for.
bool ModelDeclines(const CControllerMsg& m, const std::vector<std::uint8_t>& content, std::string_view asked)
{
    if (m.messageId != 0x40 || m.subCode != 0x14 || m.operation != CParamTextMsg::Get || m.Family() != HeaderFamily::FourByte)
        return false;
    if (ModelCheck(content) != FrameCheck::Good)
        return false;
    const std::string payload(content.begin() + 4, content.end() - 3);
    const std::size_t n = NameTokenLength(payload);
    return n != 0 && std::string_view(payload).substr(0, n) != asked.substr(0, kMaxNameCompare);
}

// Which registered header, if any, the model's completed frame carries; this
// restates the matching rules of the three header families.
bool ModelFrameIsClaimed(const std::vector<std::uint8_t>& content, const std::vector<const CControllerMsg*>& msgs,
                         std::string_view asked)
{
    if (content.size() <= 2)
        return false;
    const std::size_t after = content.size() - 2; // what follows the message id
    for (const CControllerMsg* m : msgs) {
        const std::size_t headerAfterId = m->Family() == HeaderFamily::ThreeByte  ? 1
                                          : m->Family() == HeaderFamily::FourByte ? 2
                                                                                  : 4;
        if (after <= headerAfterId + 2)
            continue;
        const std::uint8_t code = m->replyCode != 0 ? m->replyCode : m->packetCode;
        if (content[0] != code || content[1] != m->messageId || content[2] != m->subCode)
            continue;
        if (headerAfterId >= 2 && content[3] != m->operation)
            continue;
        if (headerAfterId >= 4 && (content[4] != m->selector1 || content[5] != m->selector2))
            continue;
        if (ModelDeclines(*m, content, asked))
            continue;
        return true;
    }
    return false;
}

// Collects the bytes of every received record, in order.
class CByteTrace final : public IFrameTrace {
public:
    void OnFrame(const TraceRecord& r) override
    {
        Require(r.direction == TraceDirection::Received);
        Require(!r.wire.empty());
        received.insert(received.end(), r.wire.begin(), r.wire.end());
    }
    std::vector<std::uint8_t> received;
};

void CheckLink(const std::uint8_t* data, std::size_t size)
{
    fuzz::CCountingNotifier notifier;
    CMemoryPort port;
    CControllerLink link(notifier);
    link.SetPort(&port);
    CByteTrace trace;
    link.SetTrace(&trace);

    CParamTextMsg text(CParamTextMsg::Get, "MonVerCVMajor");
    CStatusMsg status;
    CStatusMsg statusShadow; // same header as status, registered later: never served
    CProbeMsg fixed3(HeaderFamily::ThreeByte, 0x42, 0x00, 0, 6, {2, 4});
    CDrainMsg any3(HeaderFamily::ThreeByte, 0x43, 0x01);
    CProbeMsg fixed4(HeaderFamily::FourByte, 0x41, 0x05, 0x01, 2, {2});
    CProbeMsg empty4(HeaderFamily::FourByte, 0x41, 0x05, 0x03, 0, {});
    CProbeMsg fixed6(HeaderFamily::SixByte, 0x4C, 0x02, 0x00, 5, {4, 1});
    fixed6.selector1 = 0x01;
    fixed6.selector2 = 0x10;
    CDrainMsg any6(HeaderFamily::SixByte, 0x4C, 0x03);
    any6.replyCode = 0; // replies carry the request's own packet code

    std::vector<CControllerMsg*> all{&text, &status, &statusShadow, &fixed3, &any3, &fixed4, &empty4, &fixed6, &any6};
    std::vector<const CControllerMsg*> claimants;
    for (CControllerMsg* m : all) {
        Require(link.Register(*m));
        claimants.push_back(m);
    }
    Require(!link.Register(status)); // already pending
    Require(link.PendingCount() == all.size());

    // The model decides how many frames the link must hand on.
    std::size_t expectedHandled = 0;
    {
        CAssemblyModel model;
        for (std::size_t i = 0; i < size; ++i) {
            if (model.Feed(data[i])) {
                if (ModelFrameIsClaimed(model.Content(), claimants, "MonVerCVMajor"))
                    ++expectedHandled;
                model.Reset(); // the link dispatches a frame, then starts afresh
            }
        }
    }

    // Bytes arrive in chunks, so frames are split over several polls.
    const std::size_t chunk = size == 0 ? 1 : 1 + data[size - 1] % 37;
    std::size_t handled = 0;
    std::size_t fed = 0;
    while (fed < size || port.BytesWaiting() > 0) {
        if (fed < size) {
            const std::size_t n = std::min(chunk, size - fed);
            port.Feed(std::vector<std::uint8_t>(data + fed, data + fed + n));
            fed += n;
        }
        while (port.BytesWaiting() > 0) {
            const std::size_t waitingBefore = port.BytesWaiting();
            if (link.ReceiveStep()) {
                ++handled;
                Require(link.Rx().Count() == 0);
                Require(link.Rx().AssemblyState() == LexState::Ground);
            } else {
                Require(link.Rx().AssemblyState() != LexState::Complete);
            }
            Require(port.BytesWaiting() < waitingBefore); // every poll makes progress
        }
    }
    Require(handled == expectedHandled);
    Require(link.BytesReceived() == size);
    // Every byte read was reported once: as noise, an abandoned or a complete
    // frame, or it belongs to the frame still being read.
    std::vector<std::uint8_t> accounted = trace.received;
    accounted.insert(accounted.end(), link.Rx().FrameWire().begin(), link.Rx().FrameWire().end());
    Require(accounted == std::vector<std::uint8_t>(data, data + size));
    Require(link.PendingCount() == all.size());

    // Only the first of two messages with the same header is ever served.
    Require(statusShadow.GetState() == CControllerMsg::Waiting);
    Require(text.Text().size() <= CParamTextMsg::kMaxText);
    for (const CProbeMsg* m : {&fixed3, &fixed4, &empty4, &fixed6})
        Require(m->GetState() != CControllerMsg::Waiting || (m->decoded == 0 && m->rejected == 0));
}

// ---------------------------------------------------------------- writer round trip

void CheckRoundTrip(const std::uint8_t* data, std::size_t size, bool addLength, bool addChecksum)
{
    CMemoryPort port;
    CTxBuffer tx(&port);
    std::vector<std::uint8_t> taken;
    for (std::size_t i = 0; i < size; ++i)
        if (tx.PushBack(data[i]))
            taken.push_back(data[i]);
    Require(taken.size() == std::min(size, tx.Capacity()));
    Require(std::equal(taken.begin(), taken.end(), data));

    const bool written = tx.WriteFrame(addLength, addChecksum);
    Require(tx.Count() == 0); // nothing stale is left for the next message
    const std::vector<std::uint8_t> wire = port.TakeWritten();

    CRxBuffer rx;
    if (!written) {
        const bool badCode = taken.empty() || taken[0] == kDle || taken[0] == kEtx;
        Require(badCode ? wire.empty() : taken.size() - 1 > static_cast<std::size_t>(kMaxBody));
        for (std::uint8_t b : wire)
            Require(!rx.FeedByte(b)); // a spoiled frame never completes
        return;
    }

    Require(!taken.empty() && taken.size() - 1 <= static_cast<std::size_t>(kMaxBody));
    const std::size_t n = taken.size() - 1;
    std::uint16_t sum = 0;
    for (std::size_t i = 1; i < taken.size(); ++i)
        sum = static_cast<std::uint16_t>(sum + taken[i]);
    std::vector<std::uint8_t> expected = taken;
    if (addLength) {
        sum = static_cast<std::uint16_t>(sum + n);
        expected.push_back(static_cast<std::uint8_t>(n));
    }
    if (addChecksum) {
        expected.push_back(static_cast<std::uint8_t>(sum >> 8));
        expected.push_back(static_cast<std::uint8_t>(sum & 0xFF));
    }

    std::size_t completedAt = wire.size();
    for (std::size_t i = 0; i < wire.size(); ++i) {
        if (rx.FeedByte(wire[i])) {
            completedAt = i;
            break;
        }
    }
    // The receiver takes frames of at most 250 unstuffed bytes whole.
    if (expected.size() > static_cast<std::size_t>(kMaxBody)) {
        Require(completedAt == wire.size());
        return;
    }
    Require(completedAt + 1 == wire.size());
    Require(RingContents(rx) == expected);
    if (!addLength || !addChecksum)
        return;

    rx.ExposeHeader();
    if (n == 0) {
        // No message id: too short to carry a header and a trailer.
        Require(rx.Check() == FrameCheck::TooShort);
        return;
    }
    Require(rx.TrailerOk());
    Require(rx.Header(0) == taken[0] && rx.Header(1) == taken[1]);
    const std::vector<std::uint8_t> rest(expected.begin() + 2, expected.end());
    Require(RingContents(rx) == rest);
    Require(rx.HeaderCount() == 2 + static_cast<int>(std::min<std::size_t>(rest.size(), 4)));
    for (std::size_t i = 0; i < 4 && i < rest.size(); ++i)
        Require(rx.Header(static_cast<int>(2 + i)) == rest[i]);
    Require(rx.LengthByte() == n);
    Require(rx.ReceivedChecksum() == sum);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CheckAssemblerAgainstModel(data, size);
    CheckLink(data, size);
    CheckRoundTrip(data, size, true, true);
    const std::uint8_t options = size == 0 ? 0 : data[size - 1];
    CheckRoundTrip(data, size, (options & 1) != 0, (options & 2) != 0);
    return 0;
}
