// A poll that follows the controller on a tick: one box per outage, and
// recovery by itself when the controller answers again.

#include "RecordingNotifier.h"
#include "link/ControllerLink.h"
#include "link/MemoryPort.h"
#include "link/MessageIds.h"
#include "pages/DataDirectories.h"
#include "pages/PageContext.h"
#include "pages/Poll.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace halcyra;
using namespace std::chrono_literals;

namespace {

// Records boxes; a box may stay open while the clock moves on.
struct BoxNotifier final : INotifier {
    MsgAnswer Notify(const std::string& text, const std::string& caption, MsgButtons buttons, MsgIcon icon) override
    {
        MsgAnswer answer = recorded.Notify(text, caption, buttons, icon);
        if (whileOpen)
            whileOpen();
        return answer;
    }
    test::CRecordingNotifier recorded;
    std::function<void()> whileOpen;
};

// A controller on a memory port that answers status requests while it is
// plugged in.
struct ScriptedController {
    ScriptedController() : link(boxes), context(link, boxes, directories)
    {
        link.SetPort(&port);
        port.OnWait([this] {
            if (port.TakeWritten().empty() || !answering)
                return;
            CTxBuffer tx(&port);
            for (std::uint8_t b : {kReplyCode, wire::kControllerMsg, wire::controller::kSub,
                                   wire::controller::kStatusOp, std::uint8_t{1}, std::uint8_t{0}})
                tx.PushBack(b);
            std::vector<std::uint8_t> frame;
            tx.BuildFrame(frame);
            port.Feed(frame);
        });
    }
    bool PollStatus()
    {
        CStatusMsg status;
        return link.Transact(status, {.timeoutMs = 5, .tries = 1});
    }

    BoxNotifier boxes;
    test::CRecordingNotifier& notifier = boxes.recorded;
    CMemoryPort port;
    CControllerLink link;
    CDataDirectories directories;
    CPageContext context;
    bool answering = true;
};

} // namespace

TEST(Poll, AnOutageShowsOneBoxAndPollingRecoversByItself)
{
    ScriptedController c;
    CPoll poll(c.context);
    int succeeded = 0;
    poll.Start(kPollPeriod, [&] {
        const bool ok = c.PollStatus();
        succeeded += ok ? 1 : 0;
        return ok;
    });
    c.context.ManualClock().Advance(1000ms);
    EXPECT_EQ(4, succeeded);
    EXPECT_TRUE(c.notifier.shown.empty());

    c.answering = false; // the cable is pulled
    c.context.ManualClock().Advance(2500ms);
    EXPECT_EQ(14, poll.Polls());
    ASSERT_EQ(1u, c.notifier.shown.size()) << "ten failed polls, one box";
    EXPECT_EQ(kTransactionErrorText, c.notifier.shown[0].text);
    EXPECT_EQ(kTransactionErrorCaption, c.notifier.shown[0].caption);
    EXPECT_TRUE(poll.InOutage());

    c.answering = true;
    c.context.ManualClock().Advance(250ms);
    EXPECT_FALSE(poll.InOutage());
    EXPECT_EQ(5, succeeded);

    c.answering = false; // a second outage gets its box
    c.context.ManualClock().Advance(500ms);
    EXPECT_EQ(2u, c.notifier.shown.size());
}

TEST(Poll, APortFailureIsOneBoxWithTheSystemsText)
{
    ScriptedController c;
    CPoll poll(c.context);
    c.port.SetOpen(false);
    poll.Start(kPollPeriod, [&] { return c.PollStatus(); });
    c.context.ManualClock().Advance(1000ms);
    ASSERT_EQ(1u, c.notifier.shown.size());
    EXPECT_EQ("Error: port is not open", c.notifier.shown[0].text);
    EXPECT_EQ("Error", c.notifier.shown[0].caption);
    EXPECT_TRUE(poll.IsRunning());
}

TEST(Poll, NoTickRunsWhileTheOutageBoxIsOpen)
{
    ScriptedController c;
    c.answering = false;
    CPoll poll(c.context);
    CTimer other(*c.context.timers, c.context.ticks);
    int otherTicks = 0;
    other.Start(100ms, [&] { ++otherTicks; });
    // The box stays open for a second.
    c.boxes.whileOpen = [&] { c.context.ManualClock().Advance(1000ms); };
    poll.Start(kPollPeriod, [&] { return c.PollStatus(); });
    c.context.ManualClock().Advance(250ms);
    EXPECT_EQ(1u, c.notifier.shown.size());
    EXPECT_EQ(1, poll.Polls()) << "the poll's own ticks waited for the box";
    EXPECT_EQ(2, otherTicks) << "only the ticks before the box ran";
}
