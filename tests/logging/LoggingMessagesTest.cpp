// The block frames of a streamed item: how an item is put together, and the
// frames that cannot belong to it.

#include "LoggingTestSupport.h"
#include "logging/LoggingMessages.h"

#include <gtest/gtest.h>

using namespace halcyra;
using namespace halcyra::test;

namespace {

constexpr std::uint8_t kRecord = wire::logging::kRecordOp;

// A record message registered on a link; each frame is handed to it alone.
struct Collector {
    Collector()
    {
        link.SetPort(&port);
        link.Register(record);
    }
    int Deliver(const sim::Bytes& frame)
    {
        port.Feed(frame);
        record.SetState(CControllerMsg::Waiting);
        EXPECT_TRUE(link.ReceiveStep());
        return record.GetState();
    }
    int Deliver(std::uint8_t block, std::uint8_t last, std::size_t bytes, int sizeByte = -1)
    {
        return Deliver(ItemFrame(kRecord, block, last, ItemBytes(bytes, block), sizeByte));
    }

    CRecordingNotifier notifier;
    CMemoryPort port;
    CControllerLink link{notifier};
    CDataLogBlockMsg record{kRecord};
};

constexpr int kTaken = CControllerMsg::Accepted;
constexpr int kRefused = CControllerMsg::Rejected;

} // namespace

TEST(DataLogBlockMsg, ThreeBlocksWithTwentyInTheLastFinishAt360Bytes)
{
    Collector c;
    ASSERT_EQ(kTaken, c.Deliver(1, 3, 170));
    ASSERT_EQ(kTaken, c.Deliver(2, 3, 170));
    EXPECT_FALSE(c.record.Finished());
    EXPECT_EQ(340, c.record.ReceivedBytes());
    ASSERT_EQ(kTaken, c.Deliver(3, 3, 20));
    EXPECT_TRUE(c.record.Finished());
    EXPECT_EQ(360, c.record.ReceivedBytes());
    sim::Bytes expected = ItemBytes(170, 1);
    for (auto [block, n] : {std::pair{2, 170}, std::pair{3, 20}}) {
        const sim::Bytes part = ItemBytes(static_cast<std::size_t>(n), static_cast<std::uint8_t>(block));
        expected.insert(expected.end(), part.begin(), part.end());
    }
    EXPECT_EQ(expected, sim::Bytes(c.record.Data().begin(), c.record.Data().end()));
    EXPECT_TRUE(c.notifier.shown.empty());

    // A one-block item is finished by its only frame, even an empty one.
    for (std::size_t n : {5u, 0u}) {
        c.record.Restart();
        ASSERT_EQ(kTaken, c.Deliver(1, 1, n));
        EXPECT_TRUE(c.record.Finished());
        EXPECT_EQ(n, c.record.ReceivedBytes());
    }
}

TEST(DataLogBlockMsg, RefusesFramesThatCannotBelongToTheItemAndKeepsWhatItHas)
{
    struct Case {
        const char* what;
        std::uint8_t block, last;
        std::size_t bytes;
        int sizeByte = -1;
        std::uint8_t taken = 1; // blocks of the item taken before the frame
    };
    for (const Case& k : {Case{"skips block 2", 3, 3, 20}, Case{"another last block", 2, 4, 170},
                         Case{"a short block before the last", 2, 3, 100}, Case{"block 0", 0, 3, 170},
                         Case{"past the last block", 4, 3, 20}, Case{"over 170 bytes", 2, 3, 171},
                         Case{"fewer bytes than its size says", 2, 3, 169, 170},
                         Case{"more bytes than its size says", 2, 3, 170, 169},
                         Case{"a last block with more bytes than its size says", 3, 3, 25, 20, 2},
                         Case{"a last block with fewer bytes than its size says", 3, 3, 15, 20, 2}}) {
        SCOPED_TRACE(k.what);
        Collector c;
        for (std::uint8_t b = 1; b <= k.taken; ++b)
            ASSERT_EQ(kTaken, c.Deliver(b, 3, 170));
        EXPECT_EQ(kRefused, c.Deliver(k.block, k.last, k.bytes, k.sizeByte));
        EXPECT_EQ(170 * k.taken, c.record.ReceivedBytes()) << "none of its bytes counted";
        EXPECT_FALSE(c.record.Finished());
        // The right frames still finish the item.
        for (auto b = static_cast<std::uint8_t>(k.taken + 1); b <= 3; ++b)
            ASSERT_EQ(kTaken, c.Deliver(b, 3, b == 3 ? 20 : 170));
        EXPECT_TRUE(c.record.Finished());
        EXPECT_EQ(360, c.record.ReceivedBytes());
        EXPECT_EQ(0, c.record.AbandonedItems());
    }
    // Without its first block no frame of an item is taken.
    Collector orphan;
    EXPECT_EQ(kRefused, orphan.Deliver(2, 3, 170));
    EXPECT_FALSE(orphan.record.Collecting());
}

TEST(DataLogBlockMsg, RefusesAnItemLongerThanItsBuffer)
{
    // 13 blocks cannot fit 2000 bytes: refused at the first frame.
    Collector c;
    EXPECT_EQ(kRefused, c.Deliver(1, 13, 170));
    EXPECT_FALSE(c.record.Collecting());

    // 12 blocks fit only while the last holds at most 130 bytes.
    for (std::size_t lastBytes : {170u, 131u, 130u}) {
        SCOPED_TRACE(lastBytes);
        Collector twelve;
        for (std::uint8_t b = 1; b <= 11; ++b)
            ASSERT_EQ(kTaken, twelve.Deliver(b, 12, 170));
        const bool fits = lastBytes <= 130;
        EXPECT_EQ(fits ? kTaken : kRefused, twelve.Deliver(12, 12, lastBytes));
        EXPECT_EQ(fits, twelve.record.Finished());
        EXPECT_EQ(fits ? 2000 : 1870, twelve.record.ReceivedBytes());
    }
}

TEST(DataLogBlockMsg, AFirstBlockStartsAgainAndCountsTheItemLeftUnfinished)
{
    Collector c;
    ASSERT_EQ(kTaken, c.Deliver(1, 3, 170));
    ASSERT_EQ(kTaken, c.Deliver(2, 3, 170));
    ASSERT_EQ(kTaken, c.Deliver(1, 2, 170));
    EXPECT_EQ(1, c.record.AbandonedItems());
    EXPECT_EQ(170, c.record.ReceivedBytes());
    ASSERT_EQ(kTaken, c.Deliver(2, 2, 10));
    EXPECT_TRUE(c.record.Finished());
    EXPECT_EQ(180, c.record.ReceivedBytes());
    // A finished item is not abandoned by the next one.
    ASSERT_EQ(kTaken, c.Deliver(1, 1, 3));
    EXPECT_EQ(1, c.record.AbandonedItems());
}
