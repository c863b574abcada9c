// Internal logging as its window follows it: the status every 500 ms, the
// buttons it allows, the fill level, and the commands.

#include "LoggingTestSupport.h"
#include "logging/InternalLogging.h"
#include "pages/DataDirectories.h"
#include "pages/PageContext.h"
#include "sim/BlockFeature.h"
#include "sim/LoggingFeature.h"

#include <gtest/gtest.h>

#include <functional>

using namespace halcyra;
using namespace halcyra::test;
using namespace std::chrono_literals;

namespace {

struct InternalRig {
    InternalRig() : c(Settings()), requests(c), context(c.link, c.notifier, directories), logging(context)
    {
        logging.StartPolling([this] { ++changes; });
    }
    static sim::SimSettings Settings()
    {
        sim::SimSettings s;
        s.extra["log-length"] = "3000";
        s.extra["log-capacity"] = "65536";
        s.extra["log-fill-rate"] = "512";
        return s;
    }
    int StatusRequests() const
    {
        int n = 0;
        for (const sim::Request& r : requests.seen)
            n += r.messageId == wire::kLogStatusMsg ? 1 : 0;
        return n;
    }
    void Tick() { context.ManualClock().Advance(kLogStatusPeriod); }
    CInternalLogging::Buttons Allowed() const { return logging.Allowed(); }
    sim::CLoggingFeature& Sim() { return c.controller.Feature<sim::CLoggingFeature>(); }

    InProcessController c;
    RequestLog requests;
    CDataDirectories directories;
    CPageContext context;
    CInternalLogging logging;
    int changes = 0;
};

bool operator==(const CInternalLogging::Buttons& a, const CInternalLogging::Buttons& b)
{
    return a.start == b.start && a.stop == b.stop && a.download == b.download;
}

const CInternalLogging::Buttons kIdle{.start = true, .stop = false, .download = true};
const CInternalLogging::Buttons kLogging{.start = false, .stop = true, .download = false};

} // namespace

TEST(InternalLogging, PollsEvery500msAndFollowsWhateverStartedTheLogging)
{
    InternalRig r;
    EXPECT_TRUE(r.Allowed() == kIdle) << "Stop waits for a status that says logging";
    r.context.ManualClock().Advance(499ms);
    EXPECT_EQ(0, r.StatusRequests());
    r.context.ManualClock().Advance(1ms);
    EXPECT_EQ(1, r.StatusRequests());
    ASSERT_TRUE(r.logging.Status());
    EXPECT_EQ(3000u, r.logging.Status()->Used());
    EXPECT_EQ(65536u, r.logging.Status()->Total());

    r.logging.Start();
    r.Tick();
    EXPECT_TRUE(r.Sim().Active());
    EXPECT_TRUE(r.Allowed() == kLogging);
    // The fill level follows the controller's own time.
    r.c.now += 2s;
    r.Tick();
    EXPECT_EQ(3000u + 2 * 512, r.logging.Status()->Used());

    r.logging.Clear();
    r.Tick();
    EXPECT_EQ(0u, r.logging.Status()->Used());

    r.logging.Stop();
    r.Tick();
    EXPECT_TRUE(r.Allowed() == kIdle);
    EXPECT_EQ(5, r.changes);
    EXPECT_TRUE(r.c.notifier.shown.empty());
}

TEST(InternalLogging, AFailedPollShowsNoBoxKeepsTheButtonsAndPollingGoesOn)
{
    struct Case {
        const char* what;
        int failedPolls;
        std::function<void(InternalRig&, bool)> unplug;
    };
    const Case cases[] = {
        // Every poll fails at once.
        {"the adapter is pulled out", 4, [](InternalRig& r, bool out) { r.c.port.SetOpen(!out); }},
        // Every poll waits out its three tries.
        {"the cable to the controller is pulled", 2, [](InternalRig& r, bool out) { r.requests.silent = out; }},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        InternalRig r;
        r.logging.Start();
        r.Tick();
        ASSERT_TRUE(r.Allowed() == kLogging);
        EXPECT_FALSE(r.logging.StatusUnreadable());
        const int changes = r.changes;
        const int polls = r.logging.Poll().Polls();
        k.unplug(r, true);
        r.Tick();
        EXPECT_TRUE(r.logging.StatusUnreadable());
        EXPECT_EQ(changes + 1, r.changes) << "the window is told once";
        for (int i = 1; i < k.failedPolls; ++i)
            r.Tick();
        EXPECT_EQ(polls + k.failedPolls, r.logging.Poll().Polls());
        EXPECT_TRUE(r.logging.StatusUnreadable());
        EXPECT_TRUE(r.Allowed() == kLogging);
        EXPECT_EQ(3000u, r.logging.Status()->Used());
        EXPECT_EQ(changes + 1, r.changes);
        // Plugged in again, the poll goes on by itself.
        k.unplug(r, false);
        r.logging.Stop();
        r.Tick();
        EXPECT_FALSE(r.logging.StatusUnreadable());
        EXPECT_TRUE(r.Allowed() == kIdle);
        EXPECT_TRUE(r.c.notifier.shown.empty()) << r.c.notifier.Texts().front();
    }
}

TEST(InternalLogging, UsedIsBMinusAOfBAndNeverBelowNothing)
{
    EXPECT_EQ(300u, (LogStatus{true, 700, 1000}.Used()));
    EXPECT_EQ(0u, (LogStatus{true, 1200, 1000}.Used()));
    EXPECT_EQ(1000u, (LogStatus{false, 0, 1000}.Used()));
}
