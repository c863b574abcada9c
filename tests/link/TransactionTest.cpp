// The request/reply loop of the controller link.

#include "RecordingNotifier.h"
#include "link/ControllerLink.h"
#include "link/MemoryPort.h"

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <string>
#include <vector>

namespace halcyra {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A four-byte-header message that keeps its reply payload; it takes at most
// `take` payload bytes (all of them when negative).
class CTestMsg final : public CControllerMsg {
public:
    CTestMsg(std::uint8_t id, std::uint8_t sub, std::uint8_t op, std::int32_t length, int take = -1)
        : CControllerMsg(HeaderFamily::FourByte, id, sub, op, length), take_(take)
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

// A reply frame; checksumDelta and lengthDelta spoil the trailer.
Bytes Reply(std::uint8_t id, std::uint8_t sub, std::uint8_t op, const Bytes& payload, int checksumDelta = 0,
            int lengthDelta = 0)
{
    CMemoryPort port;
    CTxBuffer tx(&port);
    Bytes body = {id, sub, op};
    body.insert(body.end(), payload.begin(), payload.end());
    auto length = static_cast<std::uint8_t>(static_cast<int>(body.size()) + lengthDelta);
    unsigned sum = length;
    for (std::uint8_t b : body)
        sum += b;
    sum = (sum + static_cast<unsigned>(checksumDelta)) & 0xFFFF;
    tx.PushBack(kReplyCode);
    for (std::uint8_t b : body)
        tx.PushBack(b);
    tx.PushBack(length);
    tx.PushBack(static_cast<std::uint8_t>(sum >> 8));
    tx.PushBack(static_cast<std::uint8_t>(sum & 0xFF));
    tx.WriteFrame(false, false);
    return port.TakeWritten();
}

Bytes TextBytes(const std::string& s) { return Bytes(s.begin(), s.end()); }

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
    CParamTextMsg ok(CParamTextMsg::Get, "vms");
    replies.push_back(Reply(0x40, 0x14, 0x00, TextBytes(std::string(227, 'x'))));
    ASSERT_TRUE(link.Transact(ok, {.timeoutMs = 500, .tries = 1, .showError = false}));
    EXPECT_EQ(ok.Text(), std::string(227, 'x'));

    CParamTextMsg tooLong(CParamTextMsg::Get, "vms");
    replies.push_back(Reply(0x40, 0x14, 0x00, TextBytes(std::string(228, 'x'))));
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
