// External logging: the header and the records in the file in arrival
// order, the records lost on the way counted, and the controller's logging
// output setting given back.

#include "LoggingTestSupport.h"
#include "SimFixture.h"
#include "logging/ExternalLog.h"
#include "logging/LoggingConfiguration.h"
#include "pages/DataDirectories.h"
#include "pages/PageContext.h"
#include "sim/LoggingFeature.h"

#include <gtest/gtest.h>

using namespace halcyra;
using namespace halcyra::test;
using namespace std::chrono_literals;

namespace {

using Clock = CExternalLog::Clock;
constexpr std::uint8_t kHeader = wire::logging::kHeaderOp;
constexpr std::uint8_t kRecord = wire::logging::kRecordOp;

struct ExternalRig {
    explicit ExternalRig(sim::SimSettings settings = {})
        : c(std::move(settings)), requests(c), context(c.link, c.notifier, directories)
    {
        context.files = &files;
        files.answers = {path};
    }
    void Send(const std::vector<sim::Bytes>& frames)
    {
        for (const sim::Bytes& frame : frames)
            c.port.Feed(frame);
    }
    std::unique_ptr<CExternalLog> Prepare()
    {
        return CExternalLog::Prepare(context, {.previousOutput = 3, .rateIndex = 2, .configurationPath = "a.dlc"});
    }
    // The logging output settings sent, in order.
    std::vector<std::uint32_t> OutputsSet()
    {
        c.AnswerWritten();
        std::vector<std::uint32_t> values;
        for (const sim::Request& r : requests.seen)
            if (r.messageId == wire::kTableMsg && r.Operation() == wire::logging::kOutputSetOp) {
                const sim::Bytes p = r.Payload();
                values.push_back(static_cast<std::uint32_t>(p[0] << 24 | p[1] << 16 | p[2] << 8 | p[3]));
            }
        return values;
    }
    bool CommandSent(std::uint32_t command)
    {
        c.AnswerWritten();
        for (const sim::Request& r : requests.seen)
            if (r.messageId == wire::kLogCommandMsg && r.Payload(1).back() == command)
                return true;
        return false;
    }

    InProcessController c;
    RequestLog requests;
    CDataDirectories directories;
    CPageContext context;
    PathScript files;
    ScratchDir dir;
    std::string path = dir.File("field.dbg");
    const sim::Bytes header = ItemBytes(400, 0x40);
    const Clock::time_point t0 = Clock::now();
};

sim::Bytes Joined(std::initializer_list<sim::Bytes> parts)
{
    sim::Bytes all;
    for (const sim::Bytes& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

} // namespace

TEST(ExternalLog, HeaderThenEveryRecordInArrivalOrderUntilStop)
{
    ExternalRig r;
    r.Send(ItemFrames(kHeader, r.header));
    std::unique_ptr<CExternalLog> log = r.Prepare();
    ASSERT_TRUE(log);
    EXPECT_EQ(400u, log->HeaderBytes());
    EXPECT_EQ(r.path, log->LogPath());

    log->Start(r.t0);
    EXPECT_TRUE(r.CommandSent(wire::logging::kStartCommand));
    const sim::Bytes three = ItemBytes(360, 1), one = ItemBytes(90, 2);
    r.Send(ItemFrames(kRecord, three));
    // Frames of no record, and a header sent again, are passed over.
    r.Send(ItemFrames(kHeader, r.header));
    r.Send(ItemFrames(kRecord, one));
    log->TakeWaitingFrames(r.t0 + 100ms);
    EXPECT_EQ(2u, log->RecordsSaved());
    EXPECT_EQ(0u, log->RecordsDropped());
    EXPECT_EQ(0u, log->ElapsedSeconds(r.t0 + 999ms));
    EXPECT_EQ(2u, log->ElapsedSeconds(r.t0 + 2500ms));

    log->Stop();
    EXPECT_TRUE(r.CommandSent(wire::logging::kStopCommand));
    EXPECT_EQ(AsString(Joined({r.header, three, one})), ReadAll(r.path));
    log->Done();
    EXPECT_EQ(std::vector<std::uint32_t>{3}, r.OutputsSet());
    EXPECT_TRUE(r.c.notifier.shown.empty());
}

TEST(ExternalLog, RecordsLostOnTheWayAreCountedOnceEach)
{
    ExternalRig r;
    r.Send(ItemFrames(kHeader, r.header));
    std::unique_ptr<CExternalLog> log = r.Prepare();
    ASSERT_TRUE(log);
    log->Start(r.t0);
    const sim::Bytes kept[] = {ItemBytes(200, 1), ItemBytes(360, 2), ItemBytes(50, 3), ItemBytes(170, 4),
                               ItemBytes(20, 5)};
    std::vector<sim::Bytes> brokenMiddle = ItemFrames(kRecord, ItemBytes(360, 5));
    brokenMiddle.erase(brokenMiddle.begin() + 1); // its second block never comes
    std::vector<sim::Bytes> damaged = ItemFrames(kRecord, ItemBytes(360, 6));
    damaged[1] = Damaged(damaged[1]);
    std::vector<sim::Bytes> headless = ItemFrames(kRecord, ItemBytes(300, 7));
    headless.erase(headless.begin()); // its first block never comes
    const std::vector<sim::Bytes> tooLong = ItemFrames(kRecord, ItemBytes(13 * 170, 8));
    std::vector<sim::Bytes> endless = ItemFrames(kRecord, ItemBytes(400, 9));
    endless.pop_back(); // its last block never comes before the next record's first

    const std::vector<sim::Bytes>* lost[] = {&brokenMiddle, &damaged, &headless, &tooLong, &endless};
    for (int i = 0; i < 5; ++i) {
        r.Send(*lost[i]);
        r.Send(ItemFrames(kRecord, kept[i]));
    }
    log->TakeWaitingFrames(r.t0);
    EXPECT_EQ(5u, log->RecordsSaved());
    EXPECT_EQ(5u, log->RecordsDropped());
    EXPECT_FALSE(log->NextDeadline()) << "nothing under way";

    // A record whose last block never comes is dropped 1000 ms after its first.
    std::vector<sim::Bytes> unfinished = ItemFrames(kRecord, ItemBytes(360, 10));
    unfinished.pop_back();
    r.Send(unfinished);
    log->TakeWaitingFrames(r.t0 + 5s);
    ASSERT_TRUE(log->NextDeadline());
    EXPECT_EQ(r.t0 + 6s, *log->NextDeadline());
    log->Expire(r.t0 + 6s - 1ms);
    EXPECT_EQ(5u, log->RecordsDropped());
    log->Expire(r.t0 + 6s);
    EXPECT_EQ(6u, log->RecordsDropped());
    EXPECT_FALSE(log->NextDeadline());

    log->Stop();
    EXPECT_EQ(AsString(Joined({r.header, kept[0], kept[1], kept[2], kept[3], kept[4]})), ReadAll(r.path));
}

TEST(ExternalLog, ALogLimitedToNRecordsSavesExactlyN)
{
    struct Case {
        std::uint32_t limit; // 0: none
        std::uint32_t saved;
    };
    // Five records come; the limit takes the first of them.
    for (const Case& k : {Case{1, 1}, Case{3, 3}, Case{5, 5}, Case{7, 5}, Case{0, 5}}) {
        SCOPED_TRACE(k.limit);
        ExternalRig r;
        r.Send(ItemFrames(kHeader, r.header));
        std::unique_ptr<CExternalLog> log = r.Prepare();
        ASSERT_TRUE(log);
        log->LimitRecords(k.limit);
        log->Start(r.t0);
        std::vector<sim::Bytes> records;
        for (std::uint8_t i = 0; i < 5; ++i) {
            records.push_back(ItemBytes(200 + 50 * i, i));
            r.Send(ItemFrames(kRecord, records.back()));
        }
        log->TakeWaitingFrames(r.t0 + 100ms);
        EXPECT_EQ(k.saved, log->RecordsSaved());
        EXPECT_EQ(0u, log->RecordsDropped());
        EXPECT_EQ(k.limit != 0 && k.limit <= 5, log->LimitReached());
        log->Stop();
        sim::Bytes expected = r.header;
        for (std::uint32_t i = 0; i < k.saved; ++i)
            expected.insert(expected.end(), records[i].begin(), records[i].end());
        EXPECT_EQ(AsString(expected), ReadAll(r.path));
    }
}

TEST(ExternalLog, DoneWithoutStopGivesTheSettingBackAndSendsNoStop)
{
    ExternalRig r;
    r.Send(ItemFrames(kHeader, r.header));
    std::unique_ptr<CExternalLog> log = r.Prepare();
    ASSERT_TRUE(log);
    log->Done();
    EXPECT_EQ(std::vector<std::uint32_t>{3}, r.OutputsSet());
    EXPECT_FALSE(r.CommandSent(wire::logging::kStopCommand));
    EXPECT_FALSE(r.requests.Sent(wire::kLogCommandMsg));
    // The file holds the header.
    EXPECT_EQ(AsString(r.header), ReadAll(r.path));
    log.reset();
    EXPECT_EQ(std::vector<std::uint32_t>{3}, r.OutputsSet());
}

TEST(ExternalLog, AFailedPreparationKeepsTheFileAndGivesTheSettingBack)
{
    struct Case {
        const char* what;
        std::string file;
        const char* text;
        const char* caption;
    };
    for (const Case& k : {Case{"no log file chosen", "", "Error:Logging file not open!", "External Logging"},
                         Case{"a log file that cannot be created", "no such folder/field.dbg",
                              "Error: Could not open specified file!", "Log Download Error"}}) {
        SCOPED_TRACE(k.what);
        ExternalRig r;
        r.Send(ItemFrames(kHeader, r.header));
        r.files.answers = {k.file.empty() ? "" : r.dir.File(k.file)};
        EXPECT_FALSE(r.Prepare());
        ASSERT_EQ(1u, r.c.notifier.shown.size());
        EXPECT_EQ(k.text, r.c.notifier.shown[0].text);
        EXPECT_EQ(k.caption, r.c.notifier.shown[0].caption);
        EXPECT_EQ(MsgIcon::Stop, r.c.notifier.shown[0].icon);
        EXPECT_EQ(std::vector<std::uint32_t>{3}, r.OutputsSet());
        EXPECT_TRUE(r.dir.Names().empty());
    }
    // No header within 1000 ms; a header cut short is no header either.
    ExternalRig r;
    WriteAll(r.path, "an earlier log");
    std::vector<sim::Bytes> cut = ItemFrames(kHeader, r.header);
    cut.pop_back();
    r.Send(cut);
    const auto before = Clock::now();
    EXPECT_FALSE(r.Prepare());
    EXPECT_GE(Clock::now() - before, CExternalLog::kHeaderWait);
    ASSERT_EQ(1u, r.c.notifier.shown.size());
    EXPECT_EQ(kLogHeaderErrorText, r.c.notifier.shown[0].text);
    EXPECT_EQ(kExternalLoggingCaption, r.c.notifier.shown[0].caption);
    EXPECT_EQ("an earlier log", ReadAll(r.path));
    EXPECT_EQ(std::vector<std::string>{"field.dbg"}, r.dir.Names());
    EXPECT_EQ(std::vector<std::uint32_t>{3}, r.OutputsSet());
}

TEST(ExternalLog, StreamsWhatTheSimulatedControllerSendsAtItsRate)
{
    sim::SimSettings settings;
    settings.extra["log-output"] = "4";
    settings.extra["log-record-bytes"] = "360";
    ExternalRig r(settings);
    WriteAll(r.dir.File("stream.dlc"), "DblLocation: 1\r\nDblRate: 2\r\nDblChannels: 12\r\n");
    r.files.answers = {r.dir.File("stream.dlc"), r.path};
    std::uint32_t saved = 0;
    LoggingWindows windows;
    windows.internal = [] { ADD_FAILURE() << "an external configuration opened the internal window"; };
    windows.external = [&](const ExternalLogPlan& plan) {
        EXPECT_EQ(4u, plan.previousOutput);
        EXPECT_EQ(2u, plan.rateIndex);
        EXPECT_EQ(r.dir.File("stream.dlc"), plan.configurationPath);
        // The controller sends the header once it has the configuration.
        r.c.Advance(50ms);
        std::unique_ptr<CExternalLog> log = CExternalLog::Prepare(r.context, plan);
        ASSERT_TRUE(log);
        log->Start(r.t0);
        r.c.AnswerWritten();
        // 10 Hz for one second.
        for (int i = 0; i < 20; ++i)
            r.c.Advance(50ms);
        log->TakeWaitingFrames(r.t0 + 1s);
        log->Stop();
        log->Done();
        saved = log->RecordsSaved();
    };
    ConfigureDataLogging(r.context, windows);
    EXPECT_EQ(10u, saved);
    sim::CLoggingFeature& logging = r.c.controller.Feature<sim::CLoggingFeature>();
    sim::Bytes expected = logging.Header();
    for (std::uint32_t i = 0; i < 10; ++i) {
        const sim::Bytes record = logging.Record(i);
        expected.insert(expected.end(), record.begin(), record.end());
    }
    EXPECT_EQ(AsString(expected), ReadAll(r.path));
    r.c.AnswerWritten();
    EXPECT_EQ(4u, logging.Output());
    EXPECT_FALSE(logging.Active());
    EXPECT_TRUE(r.c.notifier.shown.empty()) << r.c.notifier.Texts().front();
}
