// The request/reply loop of the controller link.

#include "RecordingNotifier.h"
#include "link/ControllerLink.h"
#include "link/MemoryPort.h"
#include "link/TraceFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <string>
#include <vector>

namespace halcyra {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A message that keeps its reply payload; it takes at most `take` payload
// bytes (all of them when negative).
class CTestMsg final : public CControllerMsg {
public:
    CTestMsg(std::uint8_t id, std::uint8_t sub, std::uint8_t op, std::int32_t length, int take = -1,
             HeaderFamily family = HeaderFamily::FourByte)
        : CControllerMsg(family, id, sub, op, length), take_(take)
    {
    }
    bool DecodePayload(CRxBuffer& rx) override
    {
        payload.clear();
        std::uint8_t b = 0;
        while ((take_ < 0 || static_cast<int>(payload.size()) < take_) && rx.Count() > 0 && rx.PopFront(b))
            payload.push_back(b);
        return true;
    }
    Bytes payload;

private:
    int take_;
};

// A frame of packet code, body and trailer; checksumDelta and lengthDelta spoil the trailer.
Bytes Frame(std::uint8_t code, const Bytes& body, int checksumDelta = 0, int lengthDelta = 0)
{
    CMemoryPort port;
    CTxBuffer tx(&port);
    auto length = static_cast<std::uint8_t>(static_cast<int>(body.size()) + lengthDelta);
    unsigned sum = length;
    for (std::uint8_t b : body)
        sum += b;
    sum = (sum + static_cast<unsigned>(checksumDelta)) & 0xFFFF;
    tx.PushBack(code);
    for (std::uint8_t b : body)
        tx.PushBack(b);
    tx.PushBack(length);
    tx.PushBack(static_cast<std::uint8_t>(sum >> 8));
    tx.PushBack(static_cast<std::uint8_t>(sum & 0xFF));
    tx.WriteFrame(false, false);
    return port.TakeWritten();
}

// A four-byte-family reply frame.
Bytes Reply(std::uint8_t id, std::uint8_t sub, std::uint8_t op, const Bytes& payload, int checksumDelta = 0,
            int lengthDelta = 0)
{
    Bytes body = {id, sub, op};
    body.insert(body.end(), payload.begin(), payload.end());
    return Frame(kReplyCode, body, checksumDelta, lengthDelta);
}

Bytes TextBytes(const std::string& s) { return Bytes(s.begin(), s.end()); }

Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

class TransactionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        link.SetPort(&port);
        // Each wait of the link delivers the next scripted reply, as a
        // controller answering the request just sent would.
        port.OnWait([this] {
            if (!replies.empty()) {
                port.Feed(replies.front());
                replies.pop_front();
            }
        });
    }
    // Number of complete frames the link has written.
    int FramesWritten() const
    {
        int frames = 0;
        const Bytes& w = port.Written();
        for (std::size_t i = 0; i + 1 < w.size(); ++i) {
            if (w[i] == kDle && w[i + 1] == kDle)
                ++i;
            else if (w[i] == kDle && w[i + 1] == kEtx)
                ++frames;
        }
        return frames;
    }

    test::CRecordingNotifier notifier;
    CMemoryPort port;
    CControllerLink link{notifier};
    std::deque<Bytes> replies;
};

TEST_F(TransactionTest, AcceptedReplyIsDecodedAndTheMessageRemoved)
{
    CTestMsg msg(0x47, 0x05, 0x01, 2);
    msg.selector1 = 0x99; // not part of the four-byte header
    replies.push_back(Reply(0x47, 0x05, 0x01, {0x12, 0x34}));
    ASSERT_TRUE(link.Transact(msg, {.timeoutMs = 500}));
    EXPECT_EQ(msg.GetState(), CControllerMsg::Accepted);
    EXPECT_EQ(msg.payload, (Bytes{0x12, 0x34}));
    // Request: DLE, 0xBE, 47 05 01, length 3, sum 0x0050, DLE ETX.
    EXPECT_EQ(port.Written(), (Bytes{0x10, 0xBE, 0x47, 0x05, 0x01, 0x03, 0x00, 0x50, 0x10, 0x03}));
    EXPECT_EQ(link.PendingCount(), 0u);
    EXPECT_FALSE(msg.IsPending());
    EXPECT_TRUE(notifier.shown.empty());
}

TEST_F(TransactionTest, FrameGoesToTheEarliestRegisteredMatchingMessage)
{
    CTestMsg first(0x47, 0x05, 0x00, 1);
    CTestMsg second(0x47, 0x05, 0x00, 1);
    CTestMsg other(0x47, 0x06, 0x00, 1);
    ASSERT_TRUE(link.Register(other));
    ASSERT_TRUE(link.Register(first));
    ASSERT_TRUE(link.Register(second));
    EXPECT_FALSE(link.Register(first));
    port.Feed(Reply(0x47, 0x05, 0x00, {0x07}));
    EXPECT_TRUE(link.ReceiveStep());
    EXPECT_EQ(first.GetState(), CControllerMsg::Accepted);
    EXPECT_EQ(second.GetState(), CControllerMsg::Waiting);
    EXPECT_EQ(other.GetState(), CControllerMsg::Waiting);
}

TEST_F(TransactionTest, LateReplyIsReadByALaterTransaction)
{
    CTestMsg late(0x47, 0x05, 0x00, 1);
    EXPECT_FALSE(link.Transact(late, {.timeoutMs = 30, .tries = 1, .showError = false}));
    port.Feed(Reply(0x47, 0x05, 0x00, {0x01})); // arrives after the give-up

    // A message with other header bytes discards it and takes its own reply.
    CTestMsg other(0x47, 0x06, 0x00, 1);
    replies.push_back(Reply(0x47, 0x06, 0x00, {0x02}));
    ASSERT_TRUE(link.Transact(other, {.timeoutMs = 500, .tries = 1, .showError = false}));
    EXPECT_EQ(other.payload, (Bytes{0x02}));

    // A message with the same header bytes takes the late reply as its own.
    port.Feed(Reply(0x47, 0x05, 0x00, {0x01}));
    CTestMsg same(0x47, 0x05, 0x00, 1);
    replies.push_back(Reply(0x47, 0x05, 0x00, {0x03}));
    ASSERT_TRUE(link.Transact(same, {.timeoutMs = 500, .tries = 1, .showError = false}));
    EXPECT_EQ(same.payload, (Bytes{0x01}));
}

TEST_F(TransactionTest, RejectedReplyEndsTheTryAndTheNextTryResends)
{
    const Bytes good = Reply(0x47, 0x05, 0x00, {0xAA, 0xBB});
    const Bytes rejects[] = {
        Reply(0x47, 0x05, 0x00, {0xAA, 0xBB}, 1),       // checksum
        Reply(0x47, 0x05, 0x00, {0xAA, 0xBB}, 0, 1),    // length byte
        Reply(0x47, 0x05, 0x00, {0xAA, 0xBB, 0xCC}),    // payload length
    };
    for (const Bytes& bad : rejects) {
        port.TakeWritten();
        CTestMsg once(0x47, 0x05, 0x00, 2);
        replies = {bad};
        EXPECT_FALSE(link.Transact(once, {.timeoutMs = 500, .tries = 1, .showError = false}));
        EXPECT_EQ(once.GetState(), CControllerMsg::Rejected);

        port.TakeWritten();
        CTestMsg twice(0x47, 0x05, 0x00, 2);
        replies = {bad, good};
        ASSERT_TRUE(link.Transact(twice, {.timeoutMs = 500, .showError = false}));
        EXPECT_EQ(twice.payload, (Bytes{0xAA, 0xBB}));
        EXPECT_EQ(FramesWritten(), 2);
    }
    EXPECT_TRUE(notifier.shown.empty());
}

TEST_F(TransactionTest, RejectionOutlastsTheTriesThatTimeOut)
{
    // One damaged reply, then silence: every try resends, and the message
    // ends rejected rather than waiting.
    CTestMsg msg(0x47, 0x05, 0x00, 2);
    replies.push_back(Reply(0x47, 0x05, 0x00, {0xAA, 0xBB}, 1));
    EXPECT_FALSE(link.Transact(msg, {.timeoutMs = 30, .showError = false}));
    EXPECT_EQ(msg.GetState(), CControllerMsg::Rejected);
    EXPECT_EQ(msg.RejectedFrames(), 1);
    EXPECT_EQ(FramesWritten(), 3);
}

TEST_F(TransactionTest, SixByteFamilySendsAndComparesBothSelectors)
{
    CTestMsg msg(0x4C, 0x02, 0x00, 2, -1, HeaderFamily::SixByte);
    msg.selector1 = 0x01;
    msg.selector2 = 0x07;
    // Other selectors are other readings: not this message's reply.
    replies.push_back(Frame(kReplyCode, {0x4C, 0x02, 0x00, 0x02, 0x07, 0xEE, 0xEE}));
    replies.push_back(Frame(kReplyCode, {0x4C, 0x02, 0x00, 0x01, 0x08, 0xEE, 0xEE}));
    replies.push_back(Frame(kReplyCode, {0x4C, 0x02, 0x00, 0x01, 0x07, 0x12, 0x34}));
    ASSERT_TRUE(link.Transact(msg, {.timeoutMs = 500, .tries = 1}));
    EXPECT_EQ(msg.payload, (Bytes{0x12, 0x34}));
    // Request: DLE, 0xBE, 4C 02 00 01 07, length 5, sum 0x005B, DLE ETX.
    EXPECT_EQ(port.Written(), (Bytes{0x10, 0xBE, 0x4C, 0x02, 0x00, 0x01, 0x07, 0x05, 0x00, 0x5B, 0x10, 0x03}));
}

TEST_F(TransactionTest, HeaderMatchNeedsMoreThanTheHeaderBytesAfterTheId)
{
    // Frames that end right after the header's last byte, so the header's
    // trailing bytes are really the length byte and checksum.
    CTestMsg three(0x42, 0x01, 0x00, kAnyLength, -1, HeaderFamily::ThreeByte);
    CTestMsg four(0x41, 0x05, 0x02, kAnyLength);
    CTestMsg six(0x4C, 0x02, 0x00, kAnyLength, -1, HeaderFamily::SixByte);
    six.selector1 = 0x01;
    six.selector2 = 0x04;
    for (CTestMsg* m : {&three, &four, &six})
        ASSERT_TRUE(link.Register(*m));
    port.Feed(Frame(kReplyCode, {0x42}));                   // 42 | 01 00 43
    port.Feed(Frame(kReplyCode, {0x41, 0x05}));             // 41 05 | 02 00 48
    port.Feed(Frame(kReplyCode, {0x4C, 0x02, 0x00, 0x01})); // 4C 02 00 01 | 04 00 55
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(link.ReceiveStep()) << i;
    for (CTestMsg* m : {&three, &four, &six})
        EXPECT_EQ(m->GetState(), CControllerMsg::Waiting);
}

TEST_F(TransactionTest, ReplyCodeZeroExpectsTheRequestsOwnPacketCode)
{
    CTestMsg msg(0x4C, 0x03, 0x00, 1);
    msg.replyCode = 0;
    replies.push_back(Reply(0x4C, 0x03, 0x00, {0x01}));               // 0xBF: not this message's
    replies.push_back(Frame(kRequestCode, {0x4C, 0x03, 0x00, 0x02})); // 0xBE
    ASSERT_TRUE(link.Transact(msg, {.timeoutMs = 500, .tries = 1}));
    EXPECT_EQ(msg.payload, (Bytes{0x02}));
}

TEST_F(TransactionTest, FramesTooShortForAHeaderReachNoMessage)
{
    CTestMsg three(0x42, 0x01, 0x00, kAnyLength, -1, HeaderFamily::ThreeByte);
    ASSERT_TRUE(link.Register(three));
    // A good frame first, then frames too short to expose a header after it.
    port.Feed(Frame(kReplyCode, {0x42, 0x01, 0x09}));
    EXPECT_TRUE(link.ReceiveStep());
    three.SetState(CControllerMsg::Waiting);
    for (const Bytes& shortFrame : {Bytes{0x10, 0xBF, 0x10, 0x03}, Bytes{0x10, 0xBF, 0x42, 0x10, 0x03},
                                    Bytes{0x10, 0xBF, 0x42, 0x01, 0x10, 0x03}}) {
        port.Feed(shortFrame);
        EXPECT_FALSE(link.ReceiveStep());
        EXPECT_EQ(three.GetState(), CControllerMsg::Waiting);
        EXPECT_EQ(link.Rx().AssemblyState(), LexState::Ground);
    }
}

TEST_F(TransactionTest, AGetPassesOverLateAnswersToEarlierGetsOnly)
{
    // An earlier get of gct gave up; its answer waits in the port: this get
    // goes on waiting within the same try and takes its own answer.
    CParamTextMsg earlier(CParamTextMsg::Get, "gct");
    EXPECT_FALSE(link.Transact(earlier, {.timeoutMs = 20, .tries = 1, .showError = false}));
    CParamTextMsg get(CParamTextMsg::Get, "vtt");
    port.Feed(Reply(0x40, 0x14, 0x00, TextBytes("gct: 3")));
    replies.push_back(Reply(0x40, 0x14, 0x00, TextBytes("vtt: 5")));
    ASSERT_TRUE(link.Transact(get, {.timeoutMs = 500, .tries = 1}));
    EXPECT_EQ(get.Text(), "vtt: 5");
    EXPECT_EQ(get.DeclinedFrames(), 1);
    EXPECT_EQ(FramesWritten(), 2);

    // Once answered, gct is no longer awaited: a second gct answer, and a
    // name no get asked for (a controller's own error text), are this get's.
    for (const char* text : {"gct: 3", "ERR: unknown name", "vttx: 3", "?"}) {
        CParamTextMsg other(CParamTextMsg::Get, "vtt");
        replies.push_back(Reply(0x40, 0x14, 0x00, TextBytes(text)));
        ASSERT_TRUE(link.Transact(other, {.timeoutMs = 500, .tries = 1})) << text;
        EXPECT_EQ(other.Text(), text);
        EXPECT_EQ(other.DeclinedFrames(), 0) << text;
    }
    // A set takes any text.
    CParamTextMsg set(CParamTextMsg::Set, "vtt: 5");
    replies.push_back(Reply(0x40, 0x14, 0x01, TextBytes("gct: 3")));
    ASSERT_TRUE(link.Transact(set, {.timeoutMs = 500, .tries = 1}));

    // With two gets sent and pending, each takes the answer that names it.
    CParamTextMsg first(CParamTextMsg::Get, "aaa");
    CParamTextMsg second(CParamTextMsg::Get, "bbb");
    ASSERT_TRUE(link.Register(first));
    ASSERT_TRUE(link.Register(second));
    first.OnTrySent();
    second.OnTrySent();
    port.Feed(Reply(0x40, 0x14, 0x00, TextBytes("bbb: 2")));
    EXPECT_TRUE(link.ReceiveStep());
    EXPECT_EQ(first.GetState(), CControllerMsg::Waiting);
    EXPECT_EQ(second.Text(), "bbb: 2");
    EXPECT_TRUE(notifier.shown.empty());
}

struct RecordingTrace final : IFrameTrace {
    void OnFrame(const TraceRecord& r) override { records.push_back(r); }
    std::vector<TraceRecord> records;
};

TEST_F(TransactionTest, TraceReportsEveryFrameAndWhatBecameOfIt)
{
    RecordingTrace trace;
    link.SetTrace(&trace);
    CParamTextMsg get(CParamTextMsg::Get, "vtt");
    const Bytes damaged = Reply(0x40, 0x14, 0x00, TextBytes("vtt: 5"), 1);
    link.UnansweredGets().Sent("gct"); // an earlier get of gct gave up: its answer comes late
    const Bytes stale = Reply(0x40, 0x14, 0x00, TextBytes("gct: 3"));
    const Bytes good = Reply(0x40, 0x14, 0x00, TextBytes("vtt: 5"));
    replies.push_back(Concat({{0x55, 0xAA}, damaged}));
    replies.push_back(Concat({Reply(0x47, 0x05, 0x00, {}), stale, {0x10, 0xBF, 0x40, 0x10, 0x05}, good}));
    ASSERT_TRUE(link.Transact(get, {.timeoutMs = 500}));
    const Bytes request = {0x10, 0xBE, 0x40, 0x14, 0x00, 0x76, 0x74, 0x74, 0x06, 0x01, 0xB8, 0x10, 0x03};

    struct Expected {
        TraceDirection direction;
        TraceVerdict verdict;
        Bytes wire;
    };
    const std::vector<Expected> expected = {
        {TraceDirection::Sent, TraceVerdict::Sent, request},
        {TraceDirection::Received, TraceVerdict::Discarded, {0x55, 0xAA}},
        {TraceDirection::Received, TraceVerdict::Rejected, damaged},
        {TraceDirection::Sent, TraceVerdict::Sent, request},
        {TraceDirection::Received, TraceVerdict::Unmatched, Reply(0x47, 0x05, 0x00, {})},
        {TraceDirection::Received, TraceVerdict::Declined, stale},
        {TraceDirection::Received, TraceVerdict::Discarded, {0x10, 0xBF, 0x40, 0x10, 0x05}},
        {TraceDirection::Received, TraceVerdict::Accepted, good},
    };
    ASSERT_EQ(trace.records.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(trace.records[i].direction, expected[i].direction) << i;
        EXPECT_EQ(trace.records[i].verdict, expected[i].verdict) << i;
        EXPECT_EQ(trace.records[i].wire, expected[i].wire) << i;
    }
    EXPECT_EQ(trace.records[0].header, (Bytes{0xBE, 0x40, 0x14, 0x00}));
    EXPECT_EQ(trace.records[2].detail.find("bad checksum"), 0u);
    EXPECT_NE(trace.records[6].detail.find("DLE seen, in body"), std::string::npos);
    EXPECT_EQ(get.RejectedFrames(), 1);

    // One line per frame: time, direction, verdict and reason, header, wire bytes, text.
    const std::string line = CTraceFile::FormatLine(trace.records[2]);
    EXPECT_NE(line.find(" RX rejected (bad checksum"), std::string::npos) << line;
    EXPECT_NE(line.find("[BF 40 14 00] 10 BF 40 14 00 76 74 74 3A 20 35 09 02 4B 10 03 \"vtt: 5\""),
              std::string::npos)
        << line;
}

TEST_F(TransactionTest, AnyLengthPayloadAcceptsEveryLengthWithAGoodTrailer)
{
    for (std::size_t n : {0u, 1u, 40u, 200u}) {
        CTestMsg msg(0x47, 0x14, 0x06, kAnyLength);
        replies.push_back(Reply(0x47, 0x14, 0x06, Bytes(n, 0x5A)));
        ASSERT_TRUE(link.Transact(msg, {.timeoutMs = 500, .tries = 1})) << n;
        EXPECT_EQ(msg.payload.size(), n);
    }
    CTestMsg spoiled(0x47, 0x14, 0x06, kAnyLength);
    replies.push_back(Reply(0x47, 0x14, 0x06, Bytes(5, 0x5A), 3));
    EXPECT_FALSE(link.Transact(spoiled, {.timeoutMs = 500, .tries = 1, .showError = false}));
}

TEST_F(TransactionTest, FailureShowsOneBoxOnlyWhenAsked)
{
    CTestMsg quiet(0x47, 0x05, 0x00, 1);
    EXPECT_FALSE(link.Transact(quiet, {.timeoutMs = 20, .tries = 2, .showError = false}));
    EXPECT_TRUE(notifier.shown.empty());
    EXPECT_EQ(FramesWritten(), 2);

    CTestMsg loud(0x47, 0x05, 0x00, 1);
    EXPECT_FALSE(link.Transact(loud, {.timeoutMs = 20, .tries = 1}));
    ASSERT_EQ(notifier.shown.size(), 1u);
    EXPECT_EQ(notifier.shown[0].text, "Communication Error Occured");
    EXPECT_EQ(notifier.shown[0].caption, "Data Transfer Error");
    EXPECT_EQ(notifier.shown[0].buttons, MsgButtons::Ok);
}

TEST_F(TransactionTest, ReplyNotConsumedExactlyIsRejectedWithABox)
{
    CTestMsg msg(0x47, 0x05, 0x00, kAnyLength, 1);
    replies.push_back(Reply(0x47, 0x05, 0x00, {0x01, 0x02}));
    EXPECT_FALSE(link.Transact(msg, {.timeoutMs = 500, .tries = 1, .showError = false}));
    EXPECT_EQ(msg.GetState(), CControllerMsg::Rejected);
    ASSERT_EQ(notifier.shown.size(), 1u);
    EXPECT_EQ(notifier.shown[0].text, "msg not completely removed");
    EXPECT_EQ(notifier.shown[0].caption, "ExtractMsg()");
}

TEST_F(TransactionTest, ParamTextReplyOver227CharactersIsRejectedSilently)
{
    const std::string longest = "vms: " + std::string(222, 'x');
    CParamTextMsg ok(CParamTextMsg::Get, "vms");
    replies.push_back(Reply(0x40, 0x14, 0x00, TextBytes(longest)));
    ASSERT_TRUE(link.Transact(ok, {.timeoutMs = 500, .tries = 1, .showError = false}));
    EXPECT_EQ(ok.Text(), longest);

    CParamTextMsg tooLong(CParamTextMsg::Get, "vms");
    replies.push_back(Reply(0x40, 0x14, 0x00, TextBytes(longest + "x")));
    EXPECT_FALSE(link.Transact(tooLong, {.timeoutMs = 500, .tries = 1, .showError = false}));
    EXPECT_EQ(tooLong.GetState(), CControllerMsg::Rejected);
    EXPECT_EQ(tooLong.Text(), "vms");
    EXPECT_TRUE(notifier.shown.empty());
}

TEST_F(TransactionTest, DestroyedMessageLeavesThePendingList)
{
    {
        CTestMsg msg(0x47, 0x05, 0x00, 1);
        ASSERT_TRUE(link.Register(msg));
        EXPECT_EQ(link.PendingCount(), 1u);
    }
    EXPECT_EQ(link.PendingCount(), 0u);
    // A frame that the destroyed message would have matched is discarded.
    port.Feed(Reply(0x47, 0x05, 0x00, {0x01}));
    EXPECT_FALSE(link.ReceiveStep());

    // A message that outlives its link is destroyed safely.
    CTestMsg survivor(0x47, 0x05, 0x00, 1);
    {
        CControllerLink shortLived(notifier);
        shortLived.SetPort(&port);
        ASSERT_TRUE(shortLived.Register(survivor));
    }
    EXPECT_FALSE(survivor.IsPending());
}

TEST(TransactionPort, ClosedPortRaisesAtTheFirstWrite)
{
    test::CRecordingNotifier notifier;
    CControllerLink link(notifier); // its serial port was never opened
    CTestMsg msg(0x46, 0x00, 0x00, kAnyLength);
    EXPECT_THROW(link.Transact(msg, {.timeoutMs = 30}), CSerialException);
    EXPECT_TRUE(notifier.shown.empty());
}

} // namespace
} // namespace halcyra
