// The Data Logging command and its windows against the simulator: the
// internal window's poll, commands and download, the download's Cancel,
// and external logging from the upload to Done.

#include "FileScript.h"
#include "SimFixture.h"
#include "UiFixture.h"

#include "logging/ExternalLog.h"
#include "logging/LogDownload.h"
#include "logging/LoggingConfiguration.h"
#include "logging/ui/ExtDataLoggingDlg.h"
#include "logging/ui/FileTransferProgressDlg.h"
#include "logging/ui/IntDataLoggingDlg.h"
#include "setup/SetupFiles.h"
#include "sim/BlockFeature.h"
#include "sim/LoggingFeature.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

using namespace halcyra;
using namespace halcyra::test;
using namespace std::chrono_literals;

namespace {

// A started application on the simulator, its file dialogs scripted.
struct LoggingRig {
    explicit LoggingRig(sim::SimOptions o = {})
    {
        t.UseSimulator(std::move(o));
        t.Start();
        t.app->Context().files = &files;
        t.notifier.shown.clear();
    }
    std::string File(const char* name) const
    {
        return QDir(QString::fromStdString(t.app->Directories().ConfigurationDir()))
            .filePath(QString::fromLatin1(name))
            .toStdString();
    }
    QStringList Files() const
    {
        return QDir(QString::fromStdString(t.app->Directories().ConfigurationDir())).entryList(QDir::Files);
    }
    template <typename F> auto Sim(F f)
    {
        decltype(f(std::declval<sim::CSimController&>())) result{};
        t.app->Simulator()->WithController([&](sim::CSimController& s) { result = f(s); });
        return result;
    }
    std::string Block(std::uint8_t block)
    {
        return Sim([&](sim::CSimController& s) { return AsText(sim::BlockContents(s, block)); });
    }
    std::uint32_t Output()
    {
        return Sim([](sim::CSimController& s) { return s.Feature<sim::CLoggingFeature>().Output(); });
    }
    std::uint32_t SetupUploads()
    {
        return Sim([](sim::CSimController& s) {
            return s.Feature<sim::CBlockFeature>().Block(kSetupBlock).uploadsCompleted;
        });
    }

    UiApp t;
    FileScript files;
};

sim::SimOptions With(std::initializer_list<std::pair<const char*, const char*>> extra, unsigned paceBaud = 0)
{
    sim::SimOptions o = SimWith(extra);
    o.faults.paceBaud = paceBaud;
    return o;
}

} // namespace

TEST(DataLogging, CancellingTheFileChoiceOpensTheInternalWindow)
{
    LoggingRig r;
    const std::uint32_t uploads = r.SetupUploads();
    r.t.dialog->OnCommand(cmd::kDataLogging);
    EXPECT_EQ(std::vector<std::string>{"halcyra::CIntDataLoggingDlg"}, r.t.modal);
    ASSERT_EQ(1u, r.files.requests.size());
    EXPECT_EQ(QStringLiteral("Data Logging Configuration Files (*.DLC *.dlc);;All Files (*)"),
              QtFileFilter(QString::fromStdString(r.files.requests[0].filter)));
    EXPECT_EQ(uploads, r.SetupUploads());
    EXPECT_TRUE(r.t.notifier.shown.empty());
}

TEST(DataLogging, InternalWindowFollowsTheControllerAndDownloadsTheLogBesideTheSetup)
{
    LoggingRig r(With({{"log-length", "1000"}, {"log-fill-rate", "2000"}}));
    CIntDataLoggingDlg dlg(r.t.app->Context());
    dlg.EnsureInitialised();
    dlg.show();
    EXPECT_TRUE(dlg.StartButton()->isEnabled());
    EXPECT_FALSE(dlg.StopButton()->isEnabled());
    EXPECT_TRUE(dlg.DownloadButton()->isEnabled());

    dlg.StartButton()->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return dlg.StopButton()->isEnabled(); }, 5000));
    EXPECT_FALSE(dlg.StartButton()->isEnabled());
    EXPECT_FALSE(dlg.DownloadButton()->isEnabled());
    // The bar shows B - A of B and grows while the controller logs.
    const int first = dlg.FillBar()->value();
    ASSERT_TRUE(QTest::qWaitFor([&] { return dlg.FillBar()->value() > first; }, 5000));
    EXPECT_EQ(65536, dlg.FillBar()->maximum());
    EXPECT_TRUE(dlg.FillBar()->text().endsWith(QStringLiteral(" of 65536 bytes"))) << dlg.FillBar()->text().toStdString();

    dlg.StopButton()->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return dlg.DownloadButton()->isEnabled(); }, 5000));
    EXPECT_TRUE(dlg.StartButton()->isEnabled());
    EXPECT_FALSE(dlg.StopButton()->isEnabled());

    r.files.answers = {QString::fromStdString(r.File("run1.dbg"))};
    dlg.DownloadButton()->click();
    ASSERT_EQ(1u, r.files.requests.size());
    EXPECT_EQ(FileDialogMode::Save, r.files.requests[0].mode);
    EXPECT_EQ(kLogFileFilter, r.files.requests[0].filter);
    const std::string log = r.Block(kDataLogBlock);
    EXPECT_GT(log.size(), 1000u);
    EXPECT_EQ(log, ReadAll(r.File("run1.dbg")));
    EXPECT_EQ(r.Block(kAdvancedSetupBlock), ReadAll(r.File("run1.dbg.cfg")));
    // Once the log is saved the window closes.
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(0, dlg.result());
    EXPECT_TRUE(r.t.notifier.shown.empty()) << r.t.notifier.Texts().front();
}

TEST(DataLogging, InternalWindowSaysInItselfThatTheStatusCannotBeReadAndGoesOnAsking)
{
    LoggingRig r;
    CIntDataLoggingDlg dlg(r.t.app->Context());
    dlg.EnsureInitialised();
    dlg.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return dlg.Logging().Status().has_value(); }, 5000));
    EXPECT_TRUE(dlg.StatusUnreadableText()->isHidden());

    // The controller is unplugged: no box, a line in the window, the buttons as they were.
    r.t.app->Simulator()->Faults().silent = true;
    ASSERT_TRUE(QTest::qWaitFor([&] { return dlg.StatusUnreadableText()->isVisible(); }, 8000));
    EXPECT_EQ(QString::fromLatin1(kLogStatusUnreadableText), dlg.StatusUnreadableText()->text());
    EXPECT_TRUE(dlg.StartButton()->isEnabled());
    EXPECT_FALSE(dlg.StopButton()->isEnabled());
    EXPECT_TRUE(dlg.DownloadButton()->isEnabled());
    EXPECT_TRUE(r.t.notifier.shown.empty()) << r.t.notifier.Texts().front();

    // Back again: the line goes once a status is read.
    r.t.app->Simulator()->Faults().silent = false;
    ASSERT_TRUE(QTest::qWaitFor([&] { return dlg.StatusUnreadableText()->isHidden(); }, 8000));
    EXPECT_TRUE(r.t.notifier.shown.empty()) << r.t.notifier.Texts().front();
    dlg.done(0);
}

TEST(DataLogging, CancelStopsTheDownloadAtOnceAndKeepsTheFileThatWasThere)
{
    LoggingRig r(With({{"log-length", "60000"}}, 38400));
    WriteAll(r.File("run1.dbg"), "an earlier log");
    CIntDataLoggingDlg dlg(r.t.app->Context());
    dlg.EnsureInitialised();
    r.files.answers = {QString::fromStdString(r.File("run1.dbg"))};
    bool blocking = false;
    int valueAtCancel = -1;
    std::chrono::steady_clock::time_point cancelled{};
    {
        CQueuedRepeater watch(30ms, [&] {
            auto* progress = qobject_cast<CFileTransferProgressDlg*>(QApplication::activeModalWidget());
            if (!progress || progress->CancelRequested() || progress->Bar()->value() < 3)
                return;
            blocking = progress->windowModality() == Qt::ApplicationModal;
            valueAtCancel = progress->Bar()->value();
            cancelled = std::chrono::steady_clock::now();
            progress->CancelButton()->click();
        });
        dlg.DownloadButton()->click();
    }
    const auto stopped = std::chrono::steady_clock::now();
    ASSERT_GE(valueAtCancel, 3) << "the progress was never seen";
    EXPECT_TRUE(blocking);
    // A chunk takes about 65 ms on the wire: Cancel ends the download within one.
    EXPECT_LT(stopped - cancelled, 500ms);
    EXPECT_EQ("an earlier log", ReadAll(r.File("run1.dbg")));
    EXPECT_EQ(QStringList{QStringLiteral("run1.dbg")}, r.Files());
    EXPECT_TRUE(r.t.notifier.shown.empty());
}

TEST(DataLogging, ExternalWithTheLogFileChoiceCancelledUploadsFirstThenSaysSo)
{
    LoggingRig r(With({{"log-output", "2"}}));
    WriteAll(r.File("stream.dlc"), "DblLocation: 1\r\nDblRate: 2\r\n");
    r.files.answers = {QString::fromStdString(r.File("stream.dlc")), QString()};
    const std::uint32_t uploads = r.SetupUploads();
    r.t.dialog->OnCommand(cmd::kDataLogging);
    EXPECT_EQ(uploads + 1, r.SetupUploads());
    EXPECT_EQ(std::vector<std::string>{kLogFileNotOpenText}, r.t.notifier.Texts());
    EXPECT_EQ(kExternalLoggingCaption, r.t.notifier.shown[0].caption);
    EXPECT_TRUE(r.t.modal.empty());
    // The controller streams to the PC no longer.
    ASSERT_TRUE(QTest::qWaitFor([&] { return r.Output() == 2; }, 2000));
}

TEST(DataLogging, ExternalLoggingSavesRecordsAsTheyArriveAndCountsThoseLost)
{
    // Three frames a record; every fifth frame is lost on the way.
    LoggingRig r(With({{"log-output", "2"}, {"log-record-bytes", "360"}, {"log-drop-every", "5"}}));
    WriteAll(r.File("stream.dlc"), "DblLocation: 1\r\nDblRate: 1\r\n");
    r.files.answers = {QString::fromStdString(r.File("stream.dlc")), QString::fromStdString(r.File("field.dbg"))};
    std::uint32_t saved = 0, dropped = 0;
    r.t.onModal = [&](QDialog& d) {
        auto& dlg = dynamic_cast<CExtDataLoggingDlg&>(d);
        EXPECT_TRUE(dlg.DoneButton()->isEnabled());
        EXPECT_TRUE(dlg.StartButton()->isEnabled());
        EXPECT_FALSE(dlg.StopButton()->isEnabled());
        EXPECT_EQ(QStringLiteral("50 Hz"), dlg.RateList()->currentText());
        EXPECT_FALSE(dlg.RateList()->isEnabled());
        EXPECT_EQ(QString::fromStdString(r.File("stream.dlc")), dlg.ConfigurationField()->text());
        EXPECT_EQ(QString::fromStdString(r.File("field.dbg")), dlg.LogFileField()->text());
        EXPECT_EQ(QStringLiteral("0"), dlg.RecordsSavedField()->text());
        WhenRunning([&] {
            dlg.StartButton()->click();
            EXPECT_FALSE(dlg.DoneButton()->isEnabled());
            EXPECT_TRUE(QTest::qWaitFor([&] { return dlg.RecordsSavedField()->text().toInt() >= 12; }, 10000));
            // Escape while records stream in closes nothing.
            dlg.reject();
            EXPECT_TRUE(dlg.isVisible());
            dlg.StopButton()->click();
            EXPECT_TRUE(dlg.DoneButton()->isEnabled());
            EXPECT_FALSE(dlg.StartButton()->isEnabled());
            saved = dlg.RecordsSavedField()->text().toUInt();
            dropped = dlg.RecordsDroppedField()->text().toUInt();
            dlg.DoneButton()->click();
        });
        return d.exec();
    };
    r.t.dialog->OnCommand(cmd::kDataLogging);
    EXPECT_EQ(std::vector<std::string>{"halcyra::CExtDataLoggingDlg"}, r.t.modal);
    EXPECT_TRUE(r.t.notifier.shown.empty()) << r.t.notifier.Texts().front();

    // The header's three frames come first; record i has frames 4 + 3i to 6 + 3i.
    auto whole = [](std::uint32_t i) {
        for (std::uint32_t frame = 4 + 3 * i; frame <= 6 + 3 * i; ++frame)
            if (frame % 5 == 0)
                return false;
        return true;
    };
    sim::Bytes expected;
    std::uint32_t lostBefore = 0;
    r.Sim([&](sim::CSimController& s) {
        auto& logging = s.Feature<sim::CLoggingFeature>();
        expected = logging.Header();
        for (std::uint32_t i = 0, kept = 0; kept < saved; ++i) {
            if (!whole(i)) {
                ++lostBefore;
                continue;
            }
            const sim::Bytes record = logging.Record(i);
            expected.insert(expected.end(), record.begin(), record.end());
            ++kept;
        }
        return 0;
    });
    EXPECT_EQ(AsText(expected), ReadAll(r.File("field.dbg")));
    EXPECT_GE(dropped, lostBefore);
    EXPECT_LE(dropped, lostBefore + 2);
    EXPECT_GT(lostBefore, 0u);
    ASSERT_TRUE(QTest::qWaitFor([&] { return r.Output() == 2; }, 2000)) << "the setting given back";
}
