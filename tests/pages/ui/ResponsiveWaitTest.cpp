// While a transaction waits, the window keeps painting, and neither timers
// nor ticks run inside the wait.

#include "UiFixture.h"

#include "link/ControllerLink.h"
#include "pages/Timer.h"

#include <QApplication>
#include <QPainter>
#include <QTest>
#include <QWidget>

#include <atomic>
#include <thread>

using namespace halcyra;
using namespace halcyra::test;
using namespace std::chrono_literals;

namespace {

class CPaintCounter final : public QWidget {
public:
    explicit CPaintCounter(const CControllerLink& link) : link_(link) { resize(120, 60); }
    int paintsInTransaction = 0;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter(this).fillRect(rect(), Qt::white);
        if (link_.InTransaction())
            ++paintsInTransaction;
    }

private:
    const CControllerLink& link_;
};

} // namespace

TEST(ResponsiveWait, TheWindowPaintsDuringADelayedReplyWhileTimersAndTicksWait)
{
    UiApp t;
    sim::SimOptions slow;
    slow.faults.delay = 900ms;
    t.UseSimulator(slow);
    t.Start();
    CControllerLink& link = t.app->Link();

    CPaintCounter window(link);
    window.show();
    QApplication::processEvents();

    bool timerFiredInWait = false;
    QTimer::singleShot(100ms, [&] { timerFiredInWait = link.InTransaction(); });
    int ticksInWait = 0;
    int ticks = 0;
    CTimer tick(*t.app->Context().timers, t.app->Context().ticks);
    tick.Start(50ms, [&] {
        ++ticks;
        ticksInWait += link.InTransaction() ? 1 : 0;
    });

    // Something asks the window to repaint while the reply is on its way.
    window.update();
    std::atomic<bool> asked{false};
    std::thread asker([&] {
        std::this_thread::sleep_for(400ms);
        QMetaObject::invokeMethod(&window, [&] { window.update(); }, Qt::QueuedConnection);
        asked = true;
    });
    CStatusMsg status;
    const auto started = std::chrono::steady_clock::now();
    EXPECT_TRUE(link.Transact(status));
    const auto waited = std::chrono::steady_clock::now() - started;
    asker.join();

    EXPECT_GE(waited, 850ms);
    EXPECT_TRUE(asked);
    EXPECT_GE(window.paintsInTransaction, 2) << "painted at the start of the wait and when asked again";
    EXPECT_EQ(0, ticks) << "ticks only run outside transactions";
    EXPECT_EQ(0, ticksInWait);
    EXPECT_FALSE(timerFiredInWait);

    // Once the transaction is over, the timers run again.
    QTest::qWait(150);
    EXPECT_GT(ticks, 0);
    EXPECT_EQ(0, ticksInWait);
}
