// The internal data log's download: exactly the block's bytes, the advanced
// setup beside it, and nothing changed on disk unless all of the log arrived.

#include "LoggingTestSupport.h"
#include "SimFixture.h"
#include "logging/LogDownload.h"
#include "setup/SetupFiles.h"

#include <gtest/gtest.h>

#include <algorithm>

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

TEST(LogDownload, AFileThatCannotBeCreatedIsSaidBeforeTheControllerIsAsked)
{
    DownloadRig r(1000);
    const std::string path = r.dir.File("no such folder/run1.dbg");
    EXPECT_EQ(LogDownloadOutcome::Failed, DownloadDataLog(r.c.link, path).outcome);
    ASSERT_EQ(1u, r.c.notifier.shown.size());
    EXPECT_EQ("Error: Could not open specified file!", r.c.notifier.shown[0].text);
    EXPECT_EQ("Log Download Error", r.c.notifier.shown[0].caption);
    EXPECT_EQ(MsgIcon::Stop, r.c.notifier.shown[0].icon);
    EXPECT_TRUE(r.requests.seen.empty());
    EXPECT_TRUE(r.dir.Names().empty());
}

TEST(LogDownload, AChunkThatTimesOutIsAskedAgainAndFailsTheDownloadAfterFiveTries)
{
    struct Case {
        int unansweredTries;
        LogDownloadOutcome outcome;
    };
    for (const Case& k : {Case{1, LogDownloadOutcome::Saved}, Case{5, LogDownloadOutcome::Failed}}) {
        SCOPED_TRACE(k.unansweredTries);
        DownloadRig r(3 * 228);
        WriteAll(r.path, "an earlier log");
        int triesOfChunk2 = 0;
        r.c.unanswered = [&](const sim::Request& q) {
            r.requests.seen.push_back(q);
            return q.messageId == wire::kBlockMsg && q.SubCode() == kDataLogBlock &&
                   q.Operation() == wire::block::kDownloadChunkOp && q.PayloadU16(0) == 2 &&
                   ++triesOfChunk2 <= k.unansweredTries;
        };
        EXPECT_EQ(k.outcome, DownloadDataLog(r.c.link, r.path).outcome);
        if (k.outcome == LogDownloadOutcome::Saved) {
            EXPECT_EQ((std::vector<std::uint16_t>{1, 2, 2, 3}), r.ChunksAsked());
            EXPECT_EQ(r.Block(kDataLogBlock), ReadAll(r.path));
            EXPECT_TRUE(r.c.notifier.shown.empty()) << r.c.notifier.Texts().front();
            continue;
        }
        EXPECT_EQ((std::vector<std::uint16_t>{1, 2, 2, 2, 2, 2}), r.ChunksAsked()) << "no chunk after it";
        // One box: the chunk's own time-outs show none.
        ASSERT_EQ(1u, r.c.notifier.shown.size());
        EXPECT_EQ("Error: File download problem!", r.c.notifier.shown[0].text);
        EXPECT_EQ("Log Download Error", r.c.notifier.shown[0].caption);
        EXPECT_EQ("an earlier log", ReadAll(r.path));
        EXPECT_EQ(std::vector<std::string>{"run1.dbg"}, r.dir.Names());
    }
}

namespace {

// A log and its setup copy from an earlier download, which a download whose
// setup copy fails must leave as they were.
void WriteEarlierPair(DownloadRig& r)
{
    WriteAll(r.path, "an earlier log");
    WriteAll(r.dir.File("run1.dbg.cfg"), "its setup: 1\n");
}

void ExpectEarlierPairKept(DownloadRig& r)
{
    EXPECT_EQ("an earlier log", ReadAll(r.path));
    EXPECT_EQ("its setup: 1\n", ReadAll(r.dir.File("run1.dbg.cfg")));
}

std::vector<std::string> Sorted(std::vector<std::string> names)
{
    std::sort(names.begin(), names.end());
    return names;
}

bool IsAdvancedSetupBegin(const sim::Request& q)
{
    return q.messageId == 0x41 && q.SubCode() == 6 && q.Operation() == 2;
}

std::string KeptText(DownloadRig& r, const std::string& why)
{
    return "Error: The data log was downloaded, but the advanced setup that belongs with it could not be (" + why +
           "). The log was saved without it as " + r.dir.File("run1-without-setup-copy.dbg") + ". " + r.path +
           " and " + r.path + ".cfg were left as they were. Download the log again to save both together.";
}

} // namespace

TEST(LogDownload, ALogAndItsSetupCopyReplaceTheEarlierPairTogether)
{
    DownloadRig r(3 * 228 + 5);
    WriteEarlierPair(r);
    const LogDownloadResult result = DownloadDataLog(r.c.link, r.path);
    EXPECT_EQ(LogDownloadOutcome::Saved, result.outcome);
    EXPECT_EQ(r.path, result.savedAs);
    EXPECT_EQ(r.Block(kDataLogBlock), ReadAll(r.path));
    EXPECT_EQ(r.Block(kAdvancedSetupBlock), ReadAll(r.dir.File("run1.dbg.cfg")));
    EXPECT_EQ((std::vector<std::string>{"run1.dbg", "run1.dbg.cfg"}), Sorted(r.dir.Names()));
}

TEST(LogDownload, ALogWhoseSetupCopyFailsIsKeptApartAndTheEarlierPairStays)
{
    // The controller refuses block 6: one box, no transfer error box besides.
    {
        DownloadRig r(2 * 228);
        WriteEarlierPair(r);
        r.c.unanswered = [&](const sim::Request& q) {
            if (!IsAdvancedSetupBegin(q))
                return false;
            r.c.port.Feed(sim::CSimController::FrameReply(sim::ReplyBuilder(q).U8(2).U16(0).U32(0).Build()));
            return true;
        };
        const LogDownloadResult result = DownloadDataLog(r.c.link, r.path);
        EXPECT_EQ(LogDownloadOutcome::Failed, result.outcome);
        EXPECT_FALSE(result.setupCopySaved);
        EXPECT_EQ(r.dir.File("run1-without-setup-copy.dbg"), result.savedAs);
        ExpectEarlierPairKept(r);
        EXPECT_EQ(r.Block(kDataLogBlock), ReadAll(result.savedAs));
        EXPECT_EQ((std::vector<std::string>{"run1-without-setup-copy.dbg", "run1.dbg", "run1.dbg.cfg"}),
                  Sorted(r.dir.Names()));
        ASSERT_EQ(1u, r.c.notifier.shown.size());
        EXPECT_EQ(KeptText(r, "the controller did not send it"), r.c.notifier.shown[0].text);
        EXPECT_EQ(kLogDownloadError, r.c.notifier.shown[0].caption);
        // A second such download does not take the first one's name.
        r.c.notifier.shown.clear();
        EXPECT_EQ(r.dir.File("run1-without-setup-copy-2.dbg"), DownloadDataLog(r.c.link, r.path).savedAs);
    }
    // The line goes while block 6 comes: the log is kept, the failure is
    // passed on already told.
    DownloadRig r(228);
    WriteEarlierPair(r);
    r.c.unanswered = [&](const sim::Request& q) {
        if (IsAdvancedSetupBegin(q))
            r.c.port.SetOpen(false);
        return !r.c.port.IsOpen();
    };
    bool reported = false;
    try {
        DownloadDataLog(r.c.link, r.path);
    } catch (const CSerialException& e) {
        reported = e.Reported();
    }
    EXPECT_TRUE(reported);
    ExpectEarlierPairKept(r);
    EXPECT_EQ(r.Block(kDataLogBlock), ReadAll(r.dir.File("run1-without-setup-copy.dbg")));
    ASSERT_EQ(1u, r.c.notifier.shown.size());
    EXPECT_NE(std::string::npos, r.c.notifier.shown[0].text.find("The log was saved without it as"));
}
