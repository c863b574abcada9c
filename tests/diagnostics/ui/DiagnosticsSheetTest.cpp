// The diagnostics sheet against a simulated controller in the test's own
// thread, its ticks on a manual clock: only the active page polls, an outage
// shows one box and polling recovers by itself, and the contents page opens
// the page picked.

#include "diagnostics/DiagController.h"
#include "diagnostics/ui/DiagContentsPage.h"
#include "diagnostics/ui/DiagSheet.h"
#include "diagnostics/ui/DiagTrendView.h"
#include "diagnostics/ui/HCDiagnosticsPropertyPage.h"
#include "pages/DataDirectories.h"
#include "pages/ui/UiContext.h"

#include <QListWidget>

#include <gtest/gtest.h>

using namespace halcyra;
using namespace halcyra::test;
using namespace std::chrono_literals;

namespace {

struct DiagUi : DiagController {
    explicit DiagUi(const std::string& setup = {}) : DiagController(setup), ui(link, notifier, directories)
    {
        ui.timers = &ui.ManualClock();
    }
    void Advance(std::chrono::milliseconds step) { ui.ManualClock().Advance(step); }
    // The items read since the last call.
    std::vector<int> ItemsRead()
    {
        std::vector<int> items;
        for (const sim::Request& r : readings)
            items.push_back(r.body[2]);
        readings.clear();
        return items;
    }

    CDataDirectories directories;
    CUiContext ui;
};

} // namespace

TEST(DiagnosticsSheet, OnlyTheActivePagePollsAndClosingTheSheetStopsIt)
{
    DiagUi c;
    CDiagSheet sheet(c.ui);
    EXPECT_EQ(QStringLiteral("Installation Diagnostics"), sheet.windowTitle());
    ASSERT_EQ("Manual Override", sheet.PageNames().at(0));
    ASSERT_EQ("Steering Angle", sheet.PageNames().at(1));
    sheet.show();
    c.ItemsRead();
    c.Advance(1000ms);
    EXPECT_EQ(std::vector<int>(4, 0), c.ItemsRead()) << "four polls a second of the manual override";

    sheet.SetActivePage(1);
    c.Advance(1000ms);
    EXPECT_EQ(std::vector<int>(4, 9), c.ItemsRead()) << "the steering angle page alone";

    // Cancel does not leave the page first; the traffic stops all the same.
    sheet.reject();
    c.ItemsRead();
    const std::size_t asked = c.asked.size();
    c.Advance(2000ms);
    EXPECT_TRUE(c.ItemsRead().empty());
    EXPECT_EQ(asked, c.asked.size());
    EXPECT_EQ(0u, c.ui.ManualClock().RunningTimers());
}

TEST(DiagnosticsSheet, APulledControllerShowsOneBoxAndPollingResumesWhenItAnswers)
{
    DiagUi c;
    CDiagSheet sheet(c.ui);
    CHCDiagnosticsPropertyPage& page = *sheet.Page(DiagPage::SteeringAngle);
    page.Values().transact = {.timeoutMs = 30, .tries = 1};
    sheet.SetActivePage(&page);
    sheet.show();
    c.Advance(500ms);
    EXPECT_NE(QStringLiteral("0"), page.Text("raw"));
    EXPECT_TRUE(c.notifier.shown.empty());

    c.pulled = true;
    c.Advance(2000ms);
    ASSERT_EQ(1u, c.notifier.shown.size()) << "eight failed polls, one box";
    EXPECT_EQ(kTransactionErrorText, c.notifier.shown[0].text);
    EXPECT_EQ(QStringLiteral("0"), page.Text("raw"));
    EXPECT_EQ(QStringLiteral("0"), page.Text("scaled"));
    EXPECT_TRUE(page.Poll().InOutage());

    c.pulled = false;
    c.Advance(250ms);
    EXPECT_FALSE(page.Poll().InOutage());
    EXPECT_NE(QStringLiteral("0"), page.Text("raw"));
    EXPECT_EQ(1u, c.notifier.shown.size());
    // The trend shows the outage as a gap between two stretches of readings.
    EXPECT_EQ(2u, page.Trend()->History().Lines(0, CTrendHistory::Clock::now(), false).size());
    sheet.done(QDialog::Accepted);
}

TEST(DiagnosticsSheet, TheContentsPageListsTheSheetsPagesAndOpensThePagePicked)
{
    DiagUi c;
    CDiagContentsPage contents(c.ui);
    QString opened;
    c.ui.runModal = [&](QDialog& dialog) {
        auto& sheet = static_cast<CDiagSheet&>(dialog);
        sheet.show();
        opened = sheet.GetActivePage()->Title();
        sheet.done(QDialog::Rejected);
        return static_cast<int>(QDialog::Rejected);
    };
    contents.OnInitDialog();
    ASSERT_EQ(10, contents.List()->count());
    contents.List()->setCurrentRow(3);
    contents.OnOpen();
    EXPECT_EQ(QStringLiteral("Gear Lever (digital)"), opened);
    EXPECT_TRUE(c.notifier.shown.empty());

    DiagUi none("einum: 0\n");
    CDiagContentsPage empty(none.ui);
    empty.OnInitDialog();
    EXPECT_EQ(0, empty.List()->count());
    empty.OnOpen();
    EXPECT_EQ(std::vector<std::string>{kNoPagesText}, none.notifier.Texts());
}
