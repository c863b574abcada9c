// Periodic ticks: the manual clock's order, and the gate that keeps ticks
// out of each other, out of transactions and out of holds.

#include "RecordingNotifier.h"
#include "link/ControllerLink.h"
#include "link/MemoryPort.h"
#include "pages/Timer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace halcyra;
using namespace std::chrono_literals;

TEST(ManualClock, RunsDueTicksInTimeOrderAndStopsTimersAsked)
{
    CManualClock clock;
    CTickGate gate;
    std::vector<std::string> log;
    CTimer fast(clock, gate);
    CTimer slow(clock, gate);
    slow.Start(250ms, [&] { log.push_back("slow@" + std::to_string(clock.Now().count())); });
    fast.Start(100ms, [&] {
        log.push_back("fast@" + std::to_string(clock.Now().count()));
        if (clock.Now() >= 300ms)
            fast.Stop(); // from inside its own tick
    });
    clock.Advance(600ms);
    EXPECT_EQ((std::vector<std::string>{"fast@100", "fast@200", "slow@250", "fast@300", "slow@500"}), log);
    EXPECT_EQ(600ms, clock.Now());
    EXPECT_FALSE(fast.IsRunning());
    EXPECT_TRUE(slow.IsRunning());
    {
        CTimer gone(clock, gate);
        gone.Start(10ms, [&] { log.push_back("gone"); });
    }
    EXPECT_EQ(1u, clock.RunningTimers()) << "a destroyed timer stops";
}

TEST(TickGate, NoTickRunsInsideAnotherTickATransactionOrAHold)
{
    test::CRecordingNotifier notifier;
    CControllerLink link(notifier);
    CMemoryPort port;
    link.SetPort(&port);
    CManualClock clock;
    CTickGate gate(&link);
    int outerTicks = 0, innerTicks = 0, ticksInTransaction = 0;
    CTimer inner(clock, gate);
    inner.Start(100ms, [&] { ++innerTicks; });
    CTimer outer(clock, gate);
    outer.Start(100ms, [&] {
        ++outerTicks;
        // A box or a nested loop inside a tick lets time pass.
        clock.Advance(250ms);
    });
    clock.Advance(100ms);
    EXPECT_EQ(1, innerTicks) << "the inner timer started first and ticked before the outer one";
    EXPECT_EQ(1, outerTicks);
    EXPECT_EQ(4u, gate.Skipped()) << "both timers' ticks at 200 and 300 fell inside the outer tick";
    EXPECT_EQ(350ms, clock.Now());

    // A transaction whose wait lets a tick fall due.
    CTimer during(clock, gate);
    port.OnWait([&] { clock.Advance(100ms); });
    outer.Stop();
    inner.Stop();
    during.Start(50ms, [&] { ticksInTransaction += link.InTransaction() ? 1 : 0; });
    CStatusMsg status;
    EXPECT_FALSE(link.Transact(status, {.timeoutMs = 1, .tries = 1, .showError = false}));
    EXPECT_EQ(0, ticksInTransaction);

    {
        CTickGate::CHold hold(gate);
        const std::size_t skippedBefore = gate.Skipped();
        clock.Advance(50ms);
        EXPECT_EQ(skippedBefore + 1, gate.Skipped());
    }
    EXPECT_TRUE(gate.IsOpen());
}
