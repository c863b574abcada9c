// The internal data log's download: exactly the block's bytes, the advanced
// setup beside it, and nothing changed on disk unless all of the log arrived.

#include "LoggingTestSupport.h"
#include "SimFixture.h"
#include "logging/LogDownload.h"
#include "setup/SetupFiles.h"

#include <gtest/gtest.h>

using namespace halcyra;
using namespace halcyra::test;

namespace {

struct DownloadRig {
    explicit DownloadRig(std::uint32_t logLength) : c(Settings(logLength)), requests(c) {}
    static sim::SimSettings Settings(std::uint32_t logLength)
    {
        sim::SimSettings s;
        s.extra["log-length"] = std::to_string(logLength);
        return s;
    }
    std::string Block(std::uint8_t block) { return AsText(sim::BlockContents(c.controller, block)); }
    // The indexes of the data log chunks asked for, in order.
    std::vector<std::uint16_t> ChunksAsked() const
    {
        std::vector<std::uint16_t> indexes;
        for (const sim::Request& r : requests.seen)
            if (r.messageId == wire::kBlockMsg && r.SubCode() == kDataLogBlock &&
                r.Operation() == wire::block::kDownloadChunkOp)
                indexes.push_back(r.PayloadU16(0));
        return indexes;
    }

    InProcessController c;
    RequestLog requests;
    ScratchDir dir;
    std::string path = dir.File("run1.dbg");
};

using Calls = std::vector<std::pair<std::uint32_t, std::uint32_t>>;

} // namespace

TEST(LogDownload, AnEmptyLogGivesAnEmptyFileAnd229BytesComeAs228AndOne)
{
    for (std::uint32_t length : {0u, 229u}) {
        SCOPED_TRACE(length);
        DownloadRig r(length);
        Calls calls;
        LogDownloadOptions options;
        options.progress = [&](std::uint32_t done, std::uint32_t total) { calls.push_back({done, total}); };
        const LogDownloadResult result = DownloadDataLog(r.c.link, r.path, options);
        EXPECT_EQ(LogDownloadOutcome::Saved, result.outcome);
        EXPECT_TRUE(result.setupCopySaved);
        ASSERT_EQ(length, r.Block(kDataLogBlock).size());
        EXPECT_EQ(r.Block(kDataLogBlock), ReadAll(r.path));
        // The advanced setup beside it: run1.dbg.cfg.
        EXPECT_EQ(r.Block(kAdvancedSetupBlock), ReadAll(r.dir.File("run1.dbg.cfg")));
        const std::vector<std::uint16_t> chunks = length == 0 ? std::vector<std::uint16_t>{}
                                                              : std::vector<std::uint16_t>{1, 2};
        EXPECT_EQ(chunks, r.ChunksAsked());
        EXPECT_EQ(length == 0 ? (Calls{{0, 0}}) : (Calls{{0, 2}, {1, 2}, {2, 2}}), calls);
        EXPECT_TRUE(r.c.notifier.shown.empty());
    }
}

TEST(LogDownload, CancelledBetweenChunksAsksForNoMoreAndKeepsTheFileThatWasThere)
{
    DownloadRig r(5 * 228);
    WriteAll(r.path, "an earlier log");
    std::uint32_t lastDone = 0;
    LogDownloadOptions options;
    options.progress = [&](std::uint32_t done, std::uint32_t) { lastDone = done; };
    options.cancelled = [&] { return lastDone == 2; };
    EXPECT_EQ(LogDownloadOutcome::Cancelled, DownloadDataLog(r.c.link, r.path, options).outcome);
    EXPECT_EQ((std::vector<std::uint16_t>{1, 2}), r.ChunksAsked());
    EXPECT_EQ("an earlier log", ReadAll(r.path));
    EXPECT_EQ(std::vector<std::string>{"run1.dbg"}, r.dir.Names());
    EXPECT_TRUE(r.c.notifier.shown.empty());
}

TEST(LogDownload, AFailedDownloadKeepsTheFileThatWasThere)
{
    // The controller refuses the log.
    {
        sim::SimSettings refusing = DownloadRig::Settings(1000);
        refusing.extra["begin-status"] = "2";
        InProcessController c(refusing);
        ScratchDir dir;
        WriteAll(dir.File("run1.dbg"), "an earlier log");
        EXPECT_EQ(LogDownloadOutcome::Failed, DownloadDataLog(c.link, dir.File("run1.dbg")).outcome);
        EXPECT_EQ("an earlier log", ReadAll(dir.File("run1.dbg")));
        EXPECT_EQ(std::vector<std::string>{"run1.dbg"}, dir.Names());
        ASSERT_EQ(1u, c.notifier.shown.size());
        EXPECT_EQ(kLogDownloadFailedText, c.notifier.shown[0].text);
        EXPECT_EQ(kLogDownloadError, c.notifier.shown[0].caption);
        EXPECT_EQ(MsgIcon::Stop, c.notifier.shown[0].icon);
    }
    // The line goes in the middle of the log.
    DownloadRig r(5 * 228);
    WriteAll(r.path, "an earlier log");
    r.c.unanswered = [&](const sim::Request& q) {
        r.requests.seen.push_back(q);
        if (q.Operation() == wire::block::kDownloadChunkOp && q.PayloadU16(0) == 3)
            r.c.port.SetOpen(false);
        return !r.c.port.IsOpen();
    };
    EXPECT_THROW(DownloadDataLog(r.c.link, r.path), CSerialException);
    EXPECT_EQ("an earlier log", ReadAll(r.path));
    EXPECT_EQ(std::vector<std::string>{"run1.dbg"}, r.dir.Names());
}
