// The diagnostics sheet against a simulated controller in the test's own
// thread, its ticks on a manual clock: only the active page polls, an outage
// shows one box and polling recovers by itself, and the contents page opens
// the page picked.

#include "FileScript.h"
#include "ScratchDir.h"
#include "diagnostics/DiagController.h"
#include "diagnostics/ui/DiagContentsPage.h"
#include "diagnostics/ui/DiagSheet.h"
#include "diagnostics/ui/DiagTrendView.h"
#include "diagnostics/ui/HCDiagnosticsPropertyPage.h"
#include "pages/DataDirectories.h"
#include "pages/ui/UiContext.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <gtest/gtest.h>

#include <regex>

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

// A recording's rows, split at CR LF, without the time of each.
std::vector<std::string> RowsWithoutTimes(const std::string& csv)
{
    std::vector<std::string> rows;
    static const std::regex time("\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}[+-]\\d\\d:\\d\\d,");
    std::size_t start = 0;
    for (std::size_t end; (end = csv.find("\r\n", start)) != std::string::npos; start = end + 2) {
        const std::string row = csv.substr(start, end - start);
        std::smatch stamp;
        rows.push_back(std::regex_search(row, stamp, time) && stamp.position(0) == 0 ? "T," + stamp.suffix().str()
                                                                                     : row);
    }
    return rows;
}

// A sheet that records into a file of a scratch folder when Record... asks.
struct RecordingUi : DiagUi {
    RecordingUi() { ui.files = &files; }
    std::string Answer(const std::string& name)
    {
        files.answers.push_back(QString::fromStdString(dir.File(name)));
        return dir.File(name);
    }
    FileScript files;
    ScratchDir dir;
};

} // namespace

TEST(DiagnosticsSheet, RecordWritesWhatTheActivePagePollsUntilStopAndAsksForNothingMore)
{
    RecordingUi c;
    CDiagSheet sheet(c.ui);
    CHCDiagnosticsPropertyPage& page = *sheet.Page(DiagPage::SteeringAngle);
    sheet.SetActivePage(&page);
    sheet.show();
    c.Advance(500ms);
    EXPECT_EQ(QStringLiteral("Record..."), sheet.RecordButton()->text());
    EXPECT_TRUE(sheet.RecordButton()->isEnabled());

    const std::string path = c.Answer("angle.csv");
    c.ItemsRead();
    sheet.RecordButton()->click();
    ASSERT_EQ(1u, c.files.requests.size());
    EXPECT_EQ(FileDialogMode::Save, c.files.requests[0].mode);
    EXPECT_EQ("CSV Files (*.csv)|*.csv|All Files (*.*)|*.*||", c.files.requests[0].filter);
    EXPECT_EQ("csv", c.files.requests[0].defaultSuffix);
    EXPECT_TRUE(sheet.IsRecording());
    EXPECT_EQ(QStringLiteral("Stop"), sheet.RecordButton()->text());
    EXPECT_EQ(QStringLiteral("Recording: 0 rows"), sheet.RecordingStatus()->text());

    std::vector<QString> shown;
    for (int poll = 0; poll < 4; ++poll) {
        c.Advance(250ms);
        shown.push_back(page.Text("raw") + QStringLiteral(",") + page.Text("scaled"));
    }
    EXPECT_EQ(std::vector<int>(4, 9), c.ItemsRead()) << "the page's own four polls a second, nothing more";
    EXPECT_EQ(QStringLiteral("Recording: 4 rows"), sheet.RecordingStatus()->text());
    EXPECT_FALSE(std::filesystem::exists(path)) << "not before the recording ends";

    sheet.RecordButton()->click();
    EXPECT_FALSE(sheet.IsRecording());
    EXPECT_EQ(QStringLiteral("Record..."), sheet.RecordButton()->text());
    EXPECT_EQ(QStringLiteral("Saved 4 rows to angle.csv"), sheet.RecordingStatus()->text());
    const std::vector<std::string> rows = RowsWithoutTimes(ReadAll(path));
    ASSERT_EQ(5u, rows.size()) << ReadAll(path);
    EXPECT_EQ("Time,Raw (volts),Scaled (deg),failed", rows[0]);
    for (std::size_t i = 0; i < shown.size(); ++i)
        EXPECT_EQ("T," + shown[i].toStdString() + ",0", rows[i + 1]) << "the values as the page showed them";
    c.Advance(1000ms);
    EXPECT_EQ(5u, RowsWithoutTimes(ReadAll(path)).size()) << "Stop ends it";
    EXPECT_EQ(std::vector<std::string>{"angle.csv"}, c.dir.Names());
    EXPECT_TRUE(c.notifier.shown.empty());
    sheet.done(QDialog::Accepted);
}

TEST(DiagnosticsSheet, AnotherPageOrTheSheetClosingEndsTheRecordingAndKeepsItsRows)
{
    RecordingUi c;
    CDiagSheet sheet(c.ui);
    sheet.show();
    const std::string first = c.Answer("override.csv");
    sheet.OnRecord();
    c.Advance(500ms);
    sheet.SetActivePage(1);
    EXPECT_FALSE(sheet.IsRecording()) << "a recording is of one page";
    std::vector<std::string> rows = RowsWithoutTimes(ReadAll(first));
    ASSERT_EQ(3u, rows.size());
    EXPECT_EQ("Time,State,Raw,failed", rows[0]);
    EXPECT_TRUE(std::regex_match(rows[1], std::regex("T,(Not Active|Active|Unknown),[-0-9.e]+,0"))) << rows[1];
    c.Advance(500ms);
    EXPECT_EQ(3u, RowsWithoutTimes(ReadAll(first)).size());

    const std::string second = c.Answer("angle.csv");
    sheet.OnRecord();
    c.Advance(750ms);
    sheet.reject();
    EXPECT_EQ(4u, RowsWithoutTimes(ReadAll(second)).size()) << "Cancel keeps the rows too";
    EXPECT_EQ(2u, c.dir.Names().size());
    EXPECT_TRUE(c.notifier.shown.empty());
}

TEST(DiagnosticsSheet, APulledCableIsRecordedAsFailedRowsAndAFileThatCannotBeMadeShowsOneBox)
{
    RecordingUi c;
    CDiagSheet sheet(c.ui);
    CHCDiagnosticsPropertyPage& page = *sheet.Page(DiagPage::SteeringAngle);
    page.Values().transact = {.timeoutMs = 30, .tries = 1};
    sheet.SetActivePage(&page);
    sheet.show();

    const std::string missing = c.dir.File("gone/angle.csv");
    c.files.answers.push_back(QString::fromStdString(missing));
    sheet.OnRecord();
    EXPECT_FALSE(sheet.IsRecording());
    EXPECT_EQ(QStringLiteral("Record..."), sheet.RecordButton()->text());
    ASSERT_EQ(1u, c.notifier.shown.size());
    EXPECT_EQ("Error: " + missing + " could not be created, so nothing is being recorded. Choose another file.",
              c.notifier.shown[0].text);
    EXPECT_EQ("Record Error", c.notifier.shown[0].caption);
    c.files.answers.push_back(QString());
    sheet.OnRecord();
    EXPECT_FALSE(sheet.IsRecording()) << "a cancelled file dialog records nothing";

    const std::string path = c.Answer("angle.csv");
    sheet.OnRecord();
    c.Advance(250ms);
    c.pulled = true;
    c.Advance(500ms);
    c.pulled = false;
    c.Advance(250ms);
    sheet.StopRecording();
    const std::vector<std::string> rows = RowsWithoutTimes(ReadAll(path));
    ASSERT_EQ(5u, rows.size());
    EXPECT_TRUE(rows[1].ends_with(",0")) << rows[1];
    EXPECT_EQ("T,0,0,1", rows[2]);
    EXPECT_EQ("T,0,0,1", rows[3]);
    EXPECT_TRUE(rows[4].ends_with(",0")) << rows[4];
    EXPECT_EQ(2u, c.notifier.shown.size()) << "the outage's one box";

    DiagUi none("einum: 0\n");
    CDiagSheet empty(none.ui);
    EXPECT_FALSE(empty.RecordButton()->isEnabled()) << "no page, nothing to record";
}

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
