// Block transfers against the simulator: chunk boundaries, the last upload
// chunk and its zero fill, refused transfers.

#include "SimFixture.h"
#include "setup/BlockTransfer.h"

#include <gtest/gtest.h>

using namespace halcyra;
using namespace halcyra::test;

namespace {

using Chunks = std::vector<sim::CBlockFeature::UploadChunk>;

sim::CBlockFeature::BlockState& Block(sim::CSimController& s, std::uint8_t block)
{
    return s.Feature<sim::CBlockFeature>().Block(block);
}

using ProgressCalls = std::vector<std::pair<std::uint32_t, std::uint32_t>>;

std::string Pattern(std::size_t n)
{
    std::string s;
    for (std::size_t i = 0; i < n; ++i)
        s.push_back(static_cast<char>(1 + i % 251)); // never zero, DLE included
    return s;
}

sim::Bytes Padded(const std::string& text)
{
    sim::Bytes b(text.begin(), text.end());
    b.resize(kBlockChunkBytes, 0);
    return b;
}

} // namespace

TEST(BlockTransfer, DownloadWritesExactlyTheBlockLength)
{
    // 0: nothing at all; 228: one full chunk; 229: a second chunk giving one byte.
    for (std::size_t length : {0u, 228u, 229u}) {
        SCOPED_TRACE(length);
        Connected c(WithExtra({{"log-length", std::to_string(length)}}));
        ScratchDir dir;
        CBlockTransfer transfer(c.link);
        ASSERT_TRUE(transfer.Open(dir.File("log.dbg"), "wb"));
        ProgressCalls calls;
        transfer.SetProgress([&](std::uint32_t done, std::uint32_t total) { calls.push_back({done, total}); });
        ASSERT_TRUE(transfer.DownloadToFile(1));
        transfer.Close();

        const std::uint32_t chunks = static_cast<std::uint32_t>((length + 227) / 228);
        EXPECT_EQ(chunks, transfer.ChunkCount());
        EXPECT_EQ(length, transfer.BlockLength());
        const std::string expected = AsText(c.With([](sim::CSimController& s) { return sim::BlockContents(s, 1); }));
        ASSERT_EQ(length, expected.size());
        EXPECT_EQ(expected, ReadAll(dir.File("log.dbg")));
        ProgressCalls wanted{{0, chunks}};
        for (std::uint32_t i = 1; i <= chunks; ++i)
            wanted.push_back({i, chunks});
        EXPECT_EQ(wanted, calls);
        // The begin, then one request per chunk.
        EXPECT_EQ(1 + chunks, c.Requests());
        EXPECT_TRUE(c.notifier.shown.empty());
    }
}

TEST(BlockTransfer, UploadSendsNumberedChunksAndAZeroFilledLastOne)
{
    struct Case {
        std::size_t length;
        std::vector<std::uint32_t> indexes;
    };
    for (const Case& k : {Case{10, {0xFFFF}}, Case{228, {0xFFFF}}, Case{456, {1, 0xFFFF}},
                         Case{500, {1, 2, 0xFFFF}}}) {
        SCOPED_TRACE(k.length);
        Connected c;
        ScratchDir dir;
        const std::string bytes = Pattern(k.length);
        WriteAll(dir.File("up.bin"), bytes);
        CBlockTransfer transfer(c.link);
        ASSERT_TRUE(transfer.Open(dir.File("up.bin"), "rb"));
        ASSERT_TRUE(transfer.UploadFromFile(6));

        Chunks chunks = c.With([](sim::CSimController& s) { return Block(s, 6).chunks; });
        ASSERT_EQ(k.indexes.size(), chunks.size());
        for (std::size_t i = 0; i < chunks.size(); ++i) {
            EXPECT_EQ(k.indexes[i], chunks[i].index);
            EXPECT_EQ(Padded(bytes.substr(i * 228, 228)), chunks[i].data) << "chunk " << i;
        }
        EXPECT_EQ(bytes, AsText(c.With([](sim::CSimController& s) { return Block(s, 6).upload; })));
    }
}

TEST(BlockTransfer, BlockZeroCarriesTheTotalLengthInsteadOfAnIndex)
{
    Connected c;
    ScratchDir dir;
    WriteAll(dir.File("zero.bin"), Pattern(300));
    CBlockTransfer transfer(c.link);
    ASSERT_TRUE(transfer.Open(dir.File("zero.bin"), "rb"));
    ASSERT_TRUE(transfer.UploadFromFile(0));
    Chunks chunks = c.With([](sim::CSimController& s) { return Block(s, 0).chunks; });
    ASSERT_EQ(2u, chunks.size());
    EXPECT_EQ(300u, chunks[0].index);
    EXPECT_EQ(300u, chunks[1].index);
    EXPECT_EQ(Pattern(300), AsText(c.With([](sim::CSimController& s) { return Block(s, 0).upload; })));
}

TEST(BlockTransfer, StepwiseDownloadTakesChunksOneToNOnly)
{
    Connected c(WithExtra({{"log-length", "500"}}));
    ScratchDir dir;
    CBlockTransfer transfer(c.link);
    ASSERT_TRUE(transfer.Open(dir.File("log.dbg"), "wb"));
    std::uint32_t n = 0;
    ASSERT_TRUE(transfer.BeginDownload(1, n));
    EXPECT_EQ(3u, n);
    const std::uint64_t afterBegin = c.Requests();
    EXPECT_FALSE(transfer.DownloadChunk(0));
    EXPECT_FALSE(transfer.DownloadChunk(4));
    EXPECT_EQ(afterBegin, c.Requests());
    for (std::uint32_t i = 1; i <= n; ++i)
        EXPECT_TRUE(transfer.DownloadChunk(i));
    transfer.Close();
    EXPECT_EQ(AsText(c.With([](sim::CSimController& s) { return sim::BlockContents(s, 1); })),
              ReadAll(dir.File("log.dbg")));
}

TEST(BlockTransfer, LateRepliesAreNotTakenForTheNextChunk)
{
    // Every reply comes after the 1000 ms time-out of the step-wise download:
    // each request is answered on its second try, and the answer to that
    // second try would otherwise arrive during the next chunk's first.
    sim::SimOptions o = WithExtra({{"log-length", "456"}});
    o.faults.delay = std::chrono::milliseconds(1150);
    Connected c(o);
    ScratchDir dir;
    CBlockTransfer transfer(c.link);
    ASSERT_TRUE(transfer.Open(dir.File("log.dbg"), "wb"));
    std::uint32_t n = 0;
    ASSERT_TRUE(transfer.BeginDownload(1, n));
    ASSERT_EQ(2u, n);
    EXPECT_TRUE(transfer.DownloadChunk(1));
    EXPECT_TRUE(transfer.DownloadChunk(2));
    transfer.Close();
    EXPECT_EQ(AsText(c.With([](sim::CSimController& s) { return sim::BlockContents(s, 1); })),
              ReadAll(dir.File("log.dbg")));
}

TEST(BlockTransfer, RefusedOrImpossibleTransfersFailWithoutData)
{
    Connected c(WithExtra({{"begin-status", "3"}}));
    ScratchDir dir;
    CBlockTransfer down(c.link);
    ASSERT_TRUE(down.Open(dir.File("out.cfg"), "wb"));
    EXPECT_FALSE(down.DownloadToFile(5));
    std::uint32_t n = 99;
    EXPECT_FALSE(down.BeginDownload(5, n));
    down.Close();
    EXPECT_EQ("", ReadAll(dir.File("out.cfg")));

    WriteAll(dir.File("in.cfg"), "vms: \"X\"\r\n");
    CBlockTransfer up(c.link);
    ASSERT_TRUE(up.Open(dir.File("in.cfg"), "rb"));
    const std::uint64_t before = c.Requests();
    EXPECT_FALSE(up.UploadFromFile(5));
    EXPECT_EQ(before + 1, c.Requests()); // the begin only
    EXPECT_TRUE(c.With([](sim::CSimController& s) { return Block(s, 5).chunks; }).empty());
    // The controller answered each time: no communication error box.
    EXPECT_TRUE(c.notifier.shown.empty());

    // An empty file has no last chunk to send: nothing goes out.
    WriteAll(dir.File("empty.cfg"), "");
    CBlockTransfer empty(c.link);
    ASSERT_TRUE(empty.Open(dir.File("empty.cfg"), "rb"));
    const std::uint64_t beforeEmpty = c.Requests();
    EXPECT_FALSE(empty.UploadFromFile(5));
    EXPECT_EQ(beforeEmpty, c.Requests());
}
