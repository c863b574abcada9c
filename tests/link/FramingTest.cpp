// Byte rings, the frame writer and the frame assembler.

#include "link/Framing.h"
#include "link/MemoryPort.h"

#include <gtest/gtest.h>

#include <vector>

namespace halcyra {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

Bytes Repeat(std::size_t n, std::uint8_t b) { return Bytes(n, b); }

Bytes Drain(CByteRing& ring)
{
    Bytes out;
    std::uint8_t b = 0;
    while (ring.PopFront(b))
        out.push_back(b);
    return out;
}

// A reply carrying the text "A" for message 0x40/0x14/0: body 40 14 00 41, length 4, sum 0x0099.
const Bytes kReplyA = {0x10, 0xBF, 0x40, 0x14, 0x00, 0x41, 0x04, 0x00, 0x99, 0x10, 0x03};

class FramingWriteTest : public ::testing::Test {
protected:
    bool Write(const Bytes& codeAndBody)
    {
        for (std::uint8_t b : codeAndBody)
            EXPECT_TRUE(tx.PushBack(b));
        return tx.WriteFrame(true, true);
    }
    CMemoryPort port;
    CTxBuffer tx{&port};
};

TEST_F(FramingWriteTest, DleIsDoubledInBodyLengthAndChecksumButCountedOnce)
{
    ASSERT_TRUE(Write({0xBE, 0x10, 0x01}));
    EXPECT_EQ(port.TakeWritten(), (Bytes{0x10, 0xBE, 0x10, 0x10, 0x01, 0x02, 0x00, 0x13, 0x10, 0x03}));

    // Sixteen body bytes: the length byte and the checksum's low byte are both 0x10.
    ASSERT_TRUE(Write(Concat({{0xBE}, Repeat(16, 0x00)})));
    EXPECT_EQ(port.TakeWritten(), Concat({{0x10, 0xBE}, Repeat(16, 0x00), {0x10, 0x10, 0x00, 0x10, 0x10, 0x10, 0x03}}));

    // 17 x 0xF1 + 17 = 0x1012: the checksum's high byte is 0x10.
    ASSERT_TRUE(Write(Concat({{0xBE}, Repeat(17, 0xF1)})));
    EXPECT_EQ(port.TakeWritten(), Concat({{0x10, 0xBE}, Repeat(17, 0xF1), {0x11, 0x10, 0x10, 0x12, 0x10, 0x03}}));
}

TEST_F(FramingWriteTest, BodyOf250IsSentWholeAnd251IsSpoiledAndDropped)
{
    ASSERT_TRUE(Write(Concat({{0xBE}, Repeat(250, 0x01)})));
    EXPECT_EQ(port.TakeWritten(), Concat({{0x10, 0xBE}, Repeat(250, 0x01), {0xFA, 0x01, 0xF4, 0x10, 0x03}}));
    EXPECT_EQ(tx.Count(), 0);

    EXPECT_FALSE(Write(Concat({{0xBE}, Repeat(251, 0x01)})));
    EXPECT_EQ(port.TakeWritten(), Concat({{0x10, 0xBE}, Repeat(251, 0x01), {0x00, 0x00, 0x00, 0x10, 0x03}}));
    EXPECT_EQ(tx.Count(), 0);

    // Bytes beyond the 251st are dropped, not left for the next message.
    EXPECT_FALSE(Write(Concat({{0xBE}, Repeat(254, 0x02)})));
    EXPECT_EQ(port.TakeWritten(), Concat({{0x10, 0xBE}, Repeat(251, 0x02), {0x00, 0x00, 0x00, 0x10, 0x03}}));
    EXPECT_EQ(tx.Count(), 0);

    // Nothing of the failed frame precedes the next one.
    ASSERT_TRUE(Write({0xBE, 0x10, 0x01}));
    EXPECT_EQ(port.TakeWritten(), (Bytes{0x10, 0xBE, 0x10, 0x10, 0x01, 0x02, 0x00, 0x13, 0x10, 0x03}));
}

TEST_F(FramingWriteTest, BadPacketCodeOrEmptyBufferWritesNothing)
{
    EXPECT_FALSE(tx.WriteFrame(true, true));
    for (std::uint8_t code : {kDle, kEtx}) {
        EXPECT_FALSE(Write({code, 0x40, 0x14}));
        EXPECT_TRUE(port.Written().empty());
        EXPECT_EQ(tx.Count(), 0);
    }
}

// What the frame finder makes of a byte string: the contents of the frames
// it completes (each taken and reset, as the link does), and what it passes
// over with the state it gave up in.
struct Lexed {
    std::vector<Bytes> frames;
    std::vector<std::pair<Bytes, LexState>> passedOver;
};

Lexed Lex(const Bytes& input)
{
    CRxBuffer rx;
    Lexed out;
    rx.OnPassedOver([&out](const PassedOverInput& p) { out.passedOver.emplace_back(p.bytes, p.state); });
    for (std::uint8_t b : input) {
        if (rx.FeedByte(b)) {
            Bytes content;
            for (int i = 0; i < rx.Count(); ++i)
                content.push_back(rx.Peek(static_cast<std::size_t>(i)));
            out.frames.push_back(content);
            rx.Reset();
        }
    }
    rx.FlushNoise();
    EXPECT_NE(rx.AssemblyState(), LexState::Complete);
    return out;
}

const Bytes kContentA = {0xBF, 0x40, 0x14, 0x00, 0x41, 0x04, 0x00, 0x99};

TEST(FramingLexer, ByteStringsAndTheFramesTheyYield)
{
    struct Case {
        const char* what;
        Bytes input;
        std::vector<Bytes> frames;
    };
    const Case cases[] = {
        {"noise alone", {0x55, 0x03, 0xAA}, {}},
        {"a whole reply", kReplyA, {kContentA}},
        {"noise before a reply", Concat({{0x55, 0x03, 0xAA}, kReplyA}), {kContentA}},
        {"a doubled DLE counts once", {0x10, 0xBF, 0x40, 0x10, 0x10, 0x41, 0x10, 0x03}, {{0xBF, 0x40, 0x10, 0x41}}},
        {"DLE ETX right after the opening DLE", Concat({{0x10, 0x03, 0xBF, 0x40, 0x10, 0x03}, kReplyA}), {kContentA}},
        {"DLE DLE right after the opening DLE", Concat({{0x10, 0x10, 0xBF, 0x40, 0x10, 0x03}, kReplyA}), {kContentA}},
        {"DLE and another byte in a body", Concat({{0x10, 0xBF, 0x40, 0x14, 0x10, 0x05, 0x00, 0x10, 0x03}, kReplyA}),
         {kContentA}},
        // The opening DLE of the next frame ends the broken one, and that
        // frame's packet code goes with it: the next frame is lost too.
        {"a frame cut short by the next", Concat({{0x10, 0xBF, 0x40, 0x14}, kReplyA, kReplyA}), {kContentA}},
        {"250 unstuffed bytes", Concat({{0x10, 0xBF}, Repeat(249, 0x01), {0x10, 0x03}}),
         {Concat({{0xBF}, Repeat(249, 0x01)})}},
        {"251 unstuffed bytes", Concat({{0x10, 0xBF}, Repeat(250, 0x01), {0x10, 0x03}, kReplyA}), {kContentA}},
        {"the 251st byte a doubled DLE", Concat({{0x10, 0xBF}, Repeat(249, 0x01), {0x10, 0x10, 0x10, 0x03}, kReplyA}),
         {kContentA}},
        {"the 250th byte a doubled DLE", Concat({{0x10, 0xBF}, Repeat(248, 0x01), {0x10, 0x10, 0x10, 0x03}}),
         {Concat({{0xBF}, Repeat(248, 0x01), {0x10}})}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Lex(c.input).frames, c.frames) << c.what;
}

TEST(FramingLexer, PassedOverInputIsReportedWithTheStateItWasGivenUpIn)
{
    const Lexed lexed = Lex(Concat({{0x55, 0xAA}, {0x10, 0xBF, 0x40, 0x10, 0x05}, {0x10, 0x10}, kReplyA, {0x33}}));
    EXPECT_EQ(lexed.frames, std::vector<Bytes>{kContentA});
    const std::vector<std::pair<Bytes, LexState>> expected = {
        {{0x55, 0xAA}, LexState::Ground},
        {{0x10, 0xBF, 0x40, 0x10, 0x05}, LexState::DleInBody},
        {{0x10, 0x10}, LexState::OpeningDle},
        {{0x33}, LexState::Ground},
    };
    EXPECT_EQ(lexed.passedOver, expected);
    EXPECT_STREQ(LexStateName(LexState::DleInBody), "DLE seen, in body");

    const Lexed overlong = Lex(Concat({{0x10, 0xBF}, Repeat(250, 0x01), {0x10, 0x03}}));
    ASSERT_EQ(overlong.passedOver.size(), 2u);
    EXPECT_EQ(overlong.passedOver[0].first.size(), 252u); // DLE, code and 250 body bytes
    EXPECT_EQ(overlong.passedOver[0].second, LexState::InBody);
}

class FramingReadTest : public ::testing::Test {
protected:
    CMemoryPort port;
    CRxBuffer rx{&port};
};

TEST_F(FramingReadTest, SplitFrameCompletesOnItsEtxAndLeavesTheRestInThePort)
{
    port.Feed(Bytes(kReplyA.begin(), kReplyA.begin() + 4));
    EXPECT_FALSE(rx.ReadFrame());
    port.Feed(Bytes(kReplyA.begin() + 4, kReplyA.end() - 1));
    EXPECT_FALSE(rx.ReadFrame());
    port.Feed({0x03, 0x10, 0xBF, 0x40});
    ASSERT_TRUE(rx.ReadFrame());
    EXPECT_EQ(port.BytesWaiting(), 3u);
    EXPECT_EQ(rx.Count(), 8);

    // The next frame starts from what stayed in the port.
    rx.Reset();
    port.Feed(Bytes(kReplyA.begin() + 3, kReplyA.end()));
    ASSERT_TRUE(rx.ReadFrame());
    EXPECT_EQ(rx.Count(), 8);
}

TEST_F(FramingReadTest, ExposeHeaderLeavesWhatFollowedTheMessageId)
{
    port.Feed(kReplyA);
    ASSERT_TRUE(rx.ReadFrame());
    EXPECT_TRUE(rx.ExposeHeader());
    const std::uint8_t header[6] = {0xBF, 0x40, 0x14, 0x00, 0x41, 0x04};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(rx.Header(i), header[i]) << i;
    EXPECT_EQ(rx.LengthByte(), 4);
    EXPECT_EQ(rx.ReceivedChecksum(), 0x0099);
    EXPECT_EQ(rx.Check(), FrameCheck::Good);
    EXPECT_EQ(Drain(rx), (Bytes{0x14, 0x00, 0x41, 0x04, 0x00, 0x99}));
}

TEST_F(FramingReadTest, CheckerJudgesLengthAndChecksumOfCompleteFrames)
{
    struct Case {
        const char* what;
        Bytes content; // unstuffed: packet code, body, trailer
        FrameCheck check;
        int countAfterExpose;
    };
    const Case cases[] = {
        {"good", kContentA, FrameCheck::Good, 6},
        {"only a message id in the body", {0xBF, 0x40, 0x01, 0x00, 0x41}, FrameCheck::Good, 3},
        {"checksum one off", {0xBF, 0x40, 0x14, 0x00, 0x41, 0x04, 0x00, 0x98}, FrameCheck::BadChecksum, 6},
        {"length byte one off", {0xBF, 0x40, 0x14, 0x00, 0x41, 0x05, 0x00, 0x9A}, FrameCheck::BadLength, 6},
        // Too short for ExposeHeader to take the packet code and message id.
        {"packet code alone", {0xBF}, FrameCheck::TooShort, 1},
        {"packet code and id", {0xBF, 0x40}, FrameCheck::TooShort, 2},
        {"no room for a trailer", {0xBF, 0x40, 0x41, 0x00}, FrameCheck::TooShort, 2},
    };
    for (const Case& c : cases) {
        // A good frame first, so nothing of it may count for the next one.
        port.Feed(kReplyA);
        ASSERT_TRUE(rx.ReadFrame());
        rx.ExposeHeader();
        rx.Reset();

        CTxBuffer tx(&port);
        for (std::uint8_t b : c.content)
            tx.PushBack(b);
        tx.WriteFrame(false, false);
        CMemoryPort wire;
        wire.Feed(port.TakeWritten());
        rx.Bind(&wire);
        ASSERT_TRUE(rx.ReadFrame()) << c.what;
        EXPECT_TRUE(rx.ExposeHeader());
        EXPECT_EQ(rx.Check(), c.check) << c.what;
        EXPECT_EQ(rx.TrailerOk(), c.check == FrameCheck::Good) << c.what;
        EXPECT_EQ(rx.Count(), c.countAfterExpose) << c.what;
        rx.Reset();
        rx.Bind(&port);
    }
}

TEST(FramingRing, ValuesTravelMostSignificantByteFirst)
{
    CByteRing ring(32);
    ring.PushValue(std::uint8_t{0xA5});
    ring.PushValue(std::uint16_t{0x1234});
    ring.PushValue(std::int16_t{-2});
    ring.PushValue(std::uint32_t{0x89ABCDEF});
    ring.PushValue(-2.5f);
    const Bytes expected = {0xA5, 0x12, 0x34, 0xFF, 0xFE, 0x89, 0xAB, 0xCD, 0xEF, 0xC0, 0x20, 0x00, 0x00};
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(ring.Peek(i), expected[i]) << i;

    std::uint8_t u8 = 0;
    std::uint16_t u16 = 0;
    std::int16_t i16 = 0;
    std::uint32_t u32 = 0;
    float f = 0;
    ring.PopValue(u8);
    ring.PopValue(u16);
    ring.PopValue(i16);
    ring.PopValue(u32);
    ring.PopValue(f);
    EXPECT_EQ(u8, 0xA5);
    EXPECT_EQ(u16, 0x1234);
    EXPECT_EQ(i16, -2);
    EXPECT_EQ(u32, 0x89ABCDEFu);
    EXPECT_EQ(f, -2.5f);
}

TEST(FramingRing, PopValueFromAnExhaustedRingKeepsTheRemainingBytes)
{
    CByteRing ring(8);
    ring.PushBack(0xAB);
    std::uint32_t v = 0x11223344;
    ring.PopValue(v);
    EXPECT_EQ(v, 0xAB223344u);
    std::uint16_t w = 0x5566;
    ring.PopValue(w);
    EXPECT_EQ(w, 0x5566);
}

TEST(FramingRing, FullAndEmptyAreToldApartWhenPositionsMeet)
{
    CByteRing ring(4);
    std::uint8_t b = 0;
    EXPECT_EQ(ring.Count(), 0);
    EXPECT_FALSE(ring.PopFront(b));
    EXPECT_FALSE(ring.PopBack(b));
    for (std::uint8_t i = 1; i <= 4; ++i)
        EXPECT_TRUE(ring.PushBack(i));
    EXPECT_EQ(ring.Count(), 4);
    EXPECT_FALSE(ring.PushBack(5));
    EXPECT_FALSE(ring.PushFront(5));

    // Wrap around: pop two, push two, then take from both ends.
    ASSERT_TRUE(ring.PopFront(b));
    EXPECT_EQ(b, 1);
    ASSERT_TRUE(ring.PopFront(b));
    EXPECT_TRUE(ring.PushBack(6));
    EXPECT_EQ(ring.Count(), 3);
    EXPECT_TRUE(ring.PushFront(9));
    EXPECT_EQ(ring.Count(), 4);
    ASSERT_TRUE(ring.PopBack(b));
    EXPECT_EQ(b, 6);
    EXPECT_EQ(Drain(ring), (Bytes{9, 3, 4}));
    EXPECT_EQ(ring.Count(), 0);

    ring.PushBack(1);
    ring.Clear();
    EXPECT_EQ(ring.Count(), 0);
    EXPECT_FALSE(ring.PopFront(b));
}

} // namespace
} // namespace halcyra
