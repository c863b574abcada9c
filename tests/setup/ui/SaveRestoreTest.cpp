#include "FileScript.h"
#include "UiFixture.h"
#include "SimFixture.h"

#include "app/DataPaths.h"
#include "app/ui/AdvancedConfigDlg.h"
#include "link/ControllerLink.h"
#include "pages/PageLogic.h"
#include "setup/SetupFiles.h"
#include "setup/ui/SaveRestoreDlg.h"
#include "setup/ui/SetupCompareDlg.h"

#include <QApplication>
#include <QLineEdit>
#include <QTableView>
#include <QProgressDialog>
#include <QPushButton>
#include <QToolButton>

#include <sstream>

using namespace halcyra;
using namespace halcyra::test;
using namespace std::chrono_literals;

namespace {

// A started application whose file dialogs follow a script.
struct SaveRestoreRig {
    explicit SaveRestoreRig(sim::SimOptions o = {})
    {
        t.UseSimulator(std::move(o));
        t.Start();
        t.app->Context().files = &files;
        t.notifier.shown.clear();
    }
    QString ConfigFile(const char* name) const
    {
        return QDir(QString::fromStdString(t.app->Directories().ConfigurationDir())).filePath(QString::fromLatin1(name));
    }
    std::string Contents(const char* name) const { return ReadAll(ConfigFile(name).toStdString()); }
    QStringList ConfigFiles() const { return QDir(ConfigFile("")).entryList(QDir::Files); }
    // Runs Save / Restore Setup from its picture button; act works the dialog.
    void Run(const std::function<void(CSaveRestoreDlg&)>& act)
    {
        t.onModal = [act](QDialog& d) {
            act(dynamic_cast<CSaveRestoreDlg&>(d));
            return static_cast<int>(QDialog::Accepted);
        };
        t.dialog->OnCommand(cmd::kSaveRestoreButton);
    }
    std::string Block(std::uint8_t block)
    {
        std::string text;
        t.app->Simulator()->WithController([&](sim::CSimController& s) { text = AsText(sim::BlockContents(s, block)); });
        return text;
    }
    void ExpectSetupFileRequest(std::size_t i, FileDialogMode mode) const
    {
        ASSERT_LT(i, files.requests.size());
        EXPECT_EQ(mode, files.requests[i].mode);
        EXPECT_EQ(ConfigFile(""), QDir(QString::fromStdString(files.requests[i].directory)).path());
        EXPECT_EQ(QStringLiteral("Vehicle Configuration Files (*.CFG *.cfg);;All Files (*)"),
                  QtFileFilter(QString::fromStdString(files.requests[i].filter)));
        EXPECT_EQ("cfg", files.requests[i].defaultSuffix);
    }

    UiApp t;
    FileScript files;
};

} // namespace

TEST(SaveRestore, SaveWritesTheSetupBlockToTheChosenFile)
{
    SaveRestoreRig r;
    const std::uint64_t before = r.t.Requests();
    // Cancelled file dialogs show and send nothing; the command runs no
    // connection check either.
    r.Run([](CSaveRestoreDlg& d) {
        d.SaveButton()->click();
        d.RestoreButton()->click();
    });
    EXPECT_EQ(std::vector<std::string>{"halcyra::CSaveRestoreDlg"}, r.t.modal);
    r.ExpectSetupFileRequest(0, FileDialogMode::Save);
    r.ExpectSetupFileRequest(1, FileDialogMode::Open);
    EXPECT_TRUE(r.t.notifier.shown.empty());
    EXPECT_EQ(before, r.t.Requests());
    EXPECT_TRUE(r.ConfigFiles().isEmpty());

    r.files.answers = {r.ConfigFile("tractor.cfg")};
    r.Run([](CSaveRestoreDlg& d) { d.SaveButton()->click(); });
    EXPECT_EQ(r.Block(kSetupBlock), r.Contents("tractor.cfg"));
    ASSERT_EQ(1u, r.t.notifier.shown.size());
    EXPECT_EQ("Setup saved successfully", r.t.notifier.shown[0].text);
    EXPECT_EQ("Save Complete", r.t.notifier.shown[0].caption);
    EXPECT_EQ(MsgIcon::Information, r.t.notifier.shown[0].icon);
}

TEST(SaveRestore, AFailedTransferPutsItsProgressAwayBeforeTheBox)
{
    sim::SimOptions stalling;
    stalling.faults.paceBaud = 19200;
    stalling.settings.extra["stall-chunk"] = "6";
    SaveRestoreRig r(stalling);
    r.files.answers = {r.ConfigFile("stalled.cfg")};
    bool progressSeen = false;
    std::vector<bool> progressUnderBox;
    r.t.notifier.onShow = [&](const ShownBox&) {
        bool visible = false;
        for (QWidget* w : QApplication::topLevelWidgets())
            visible = visible || (qobject_cast<QProgressDialog*>(w) && w->isVisible());
        progressUnderBox.push_back(visible);
    };
    {
        CQueuedRepeater watch(50ms, [&] {
            progressSeen = progressSeen || qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
        });
        r.Run([](CSaveRestoreDlg& d) { d.SaveButton()->click(); });
    }
    EXPECT_TRUE(progressSeen);
    ASSERT_FALSE(progressUnderBox.empty());
    EXPECT_EQ(std::vector<bool>(progressUnderBox.size(), false), progressUnderBox) << "no box over the progress";
    EXPECT_TRUE(r.ConfigFiles().isEmpty());
}

TEST(SaveRestore, FailedSaveKeepsTheExistingFile)
{
    sim::SimOptions silent;
    silent.faults.silent = true;
    SaveRestoreRig r(silent);
    const std::string old = "vms: \"Old Tractor\"\r\nvtt: 5\r\n";
    WriteAll(r.ConfigFile("keep.cfg").toStdString(), old);
    r.files.answers = {r.ConfigFile("keep.cfg")};
    r.Run([](CSaveRestoreDlg& d) { d.SaveButton()->click(); });
    ASSERT_EQ(2u, r.t.notifier.shown.size()) << ::testing::PrintToString(r.t.notifier.Texts());
    EXPECT_EQ("Error: File download problem!", r.t.notifier.shown[1].text);
    EXPECT_EQ("Download Error", r.t.notifier.shown[1].caption);
    EXPECT_EQ(old, r.Contents("keep.cfg"));
    EXPECT_EQ(QStringList{QStringLiteral("keep.cfg")}, r.ConfigFiles());
}

TEST(SaveRestore, LongTransferShowsProgressThatCannotBeClosed)
{
    sim::SimOptions slow;
    slow.faults.paceBaud = 19200;
    SaveRestoreRig r(slow);
    r.files.answers = {r.ConfigFile("slow.cfg")};
    // Looks at the screen while the transfer keeps its window painted.
    QStringList labels;
    bool blocking = false, cancelButton = false;
    {
        CQueuedRepeater watch(20ms, [&] {
            auto* progress = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
            if (!progress)
                return;
            labels << progress->labelText();
            blocking = progress->windowModality() == Qt::ApplicationModal;
            cancelButton = cancelButton || !progress->findChildren<QPushButton*>().isEmpty();
            progress->close(); // refused: the transfer goes on
        });
        r.Run([](CSaveRestoreDlg& d) { d.SaveButton()->click(); });
    }
    const std::size_t chunks = (r.Block(kSetupBlock).size() + 227) / 228;
    ASSERT_FALSE(labels.isEmpty());
    EXPECT_TRUE(labels.last().endsWith(QStringLiteral(" of %1 chunks").arg(chunks))) << labels.last().toStdString();
    EXPECT_TRUE(blocking);
    EXPECT_FALSE(cancelButton);
    EXPECT_EQ(r.Block(kSetupBlock), r.Contents("slow.cfg"));
    EXPECT_EQ(std::vector<std::string>{"Setup saved successfully"}, r.t.notifier.Texts());
}

TEST(SaveRestore, RestoreAsksFirstAndSendsNothingWhenCancelled)
{
    sim::SimOptions quick;
    quick.settings.restartTime = 100ms;
    SaveRestoreRig r(quick);
    std::string setup = r.Block(kSetupBlock);
    const std::string model = "vms: \"Fieldora 8240W\"";
    ASSERT_NE(std::string::npos, setup.find(model));
    setup.replace(setup.find(model), model.size(), "vms: \"Fieldora 7100T\"");
    WriteAll(r.ConfigFile("7100T.cfg").toStdString(), setup);
    const std::string confirmation =
        RestoreConfirmationText("Fieldora 7100T", r.ConfigFile("7100T.cfg").toStdString());

    r.files.answers = {r.ConfigFile("7100T.cfg"), r.ConfigFile("7100T.cfg")};
    r.t.notifier.answers = {MsgAnswer::Cancel};
    const std::uint64_t before = r.t.Requests();
    r.Run([](CSaveRestoreDlg& d) { d.RestoreButton()->click(); });
    EXPECT_EQ((std::vector<std::string>{confirmation, "Setup restore has been cancelled"}), r.t.notifier.Texts());
    EXPECT_EQ("Restore Cancelled", r.t.notifier.shown.back().caption);
    EXPECT_EQ(before, r.t.Requests());
    EXPECT_EQ("\"Fieldora 8240W\"", r.t.Param("vms"));

    r.t.notifier.shown.clear();
    r.Run([](CSaveRestoreDlg& d) {
        d.SetRestartPause(150ms);
        d.RestoreButton()->click();
    });
    // The controller's setup was saved first, and the message says where.
    const QStringList backups = QDir(r.ConfigFile("Backups")).entryList(QDir::Files);
    ASSERT_EQ(1, backups.size());
    EXPECT_EQ((std::vector<std::string>{confirmation, kResetText,
                                        "Setup restored successfully\r\n\r\nThe previous setup was saved to " +
                                            QDir(r.ConfigFile("Backups")).filePath(backups[0]).toStdString()}),
              r.t.notifier.Texts());
    EXPECT_EQ("\"Fieldora 7100T\"", r.t.Param("vms"));
    EXPECT_EQ(nullptr, QApplication::overrideCursor());
}

TEST(SaveRestore, GetAdvancedSetupFileSavesBlockSix)
{
    SaveRestoreRig r;
    CAdvancedConfigDlg dlg(r.t.app->Context());
    auto* button = dlg.findChild<QPushButton*>(QStringLiteral("getSetupFile"));
    ASSERT_NE(nullptr, button);
    r.files.answers = {r.ConfigFile("advanced.cfg")};
    button->click();
    r.ExpectSetupFileRequest(0, FileDialogMode::Save);
    EXPECT_EQ(r.Block(kAdvancedSetupBlock), r.Contents("advanced.cfg"));
    EXPECT_EQ(std::vector<std::string>{"Setup saved successfully"}, r.t.notifier.Texts());

    // The dialog has no port test: a closed port fails the download with one box.
    r.t.app->Link().Close();
    r.t.notifier.shown.clear();
    r.files.answers = {r.ConfigFile("closed.cfg")};
    button->click();
    EXPECT_EQ(std::vector<std::string>{"Error: Serial port is not open"}, r.t.notifier.Texts());
    EXPECT_EQ(QStringList{QStringLiteral("advanced.cfg")}, r.ConfigFiles());
}

TEST(SaveRestore, CompareWithControllerListsDifferencesInATableThatSortsFiltersAndSaves)
{
    SaveRestoreRig r;
    std::string setup = r.Block(kSetupBlock);
    const auto change = [&](const std::string& from, const std::string& to) {
        ASSERT_NE(std::string::npos, setup.find(from)) << from;
        setup.replace(setup.find(from), from.size(), to);
    };
    change("vtt: 5\r\n", "vtt: 12\r\n");
    change("gct: 8\r\n", "gct: 9\r\n");
    setup += "zzNewer: 1\r\n";
    // Live readings change while the controller runs: not part of this file.
    std::string file;
    std::istringstream in(setup);
    for (std::string line; std::getline(in, line);)
        if (line.rfind("RO", 0) != 0)
            file += line + "\n";
    WriteAll(r.ConfigFile("other.cfg").toStdString(), file);
    r.files.answers = {r.ConfigFile("other.cfg"), r.ConfigFile("comparison.txt")};

    QStringList shown, sortedByFile, filtered;
    r.t.onModal = [&](QDialog& d) {
        if (auto* saveRestore = dynamic_cast<CSaveRestoreDlg*>(&d)) {
            saveRestore->CompareButton()->click();
        } else if (auto* compare = dynamic_cast<CSetupCompareDlg*>(&d)) {
            shown = compare->VisibleRows();
            compare->Table()->sortByColumn(1, Qt::DescendingOrder);
            sortedByFile = compare->VisibleRows();
            compare->Filter()->setText(QStringLiteral("GCT"));
            filtered = compare->VisibleRows();
            compare->SaveButton()->click();
        }
        return static_cast<int>(QDialog::Accepted);
    };
    r.t.dialog->OnCommand(cmd::kSaveRestoreButton);
    // File order: the differences, then what the controller does not know.
    EXPECT_EQ((QStringList{QStringLiteral("gct\t9\t8\tvalues differ"), QStringLiteral("vtt\t12\t5\tvalues differ"),
                           QStringLiteral("zzNewer\t1\t\tnot known by the controller")}),
              shown);
    // Numbers sort as numbers: 12 above 9.
    EXPECT_EQ(QStringLiteral("vtt\t12\t5\tvalues differ"), sortedByFile.value(0));
    EXPECT_EQ(QStringList{QStringLiteral("gct\t9\t8\tvalues differ")}, filtered);
    const std::string saved = r.Contents("comparison.txt");
    EXPECT_NE(std::string::npos, saved.find("gct\t9\t8\nvtt\t12\t5\n")) << saved;
    EXPECT_EQ("Comparison saved to " + r.ConfigFile("comparison.txt").toStdString(), r.t.notifier.Texts().back());
}
