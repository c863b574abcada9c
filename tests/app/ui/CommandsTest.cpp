#include "FileScript.h"
#include "ScratchDir.h"
#include "UiFixture.h"

#include "app/ToolboxCommands.h"
#include "app/ui/AdvancedConfigDlg.h"
#include "app/ui/InstallationReportDlg.h"
#include "app/ui/PortSelectDlg.h"
#include "link/ControllerLink.h"
#include "app/ui/SetupSheet.h"
#include "calibration/ui/CalContentsPage.h"
#include "config/ui/ConfigContentsPage.h"
#include "diagnostics/ui/DiagContentsPage.h"
#include "setup/ui/InformationPage.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace halcyra;
using namespace halcyra::test;

namespace {

const char* const kCommFailed = "Error: Communication with the Halcyra Controller failed. Check that power is applied "
                                "and the serial cable is connected correctly and try again.";

} // namespace

TEST(Commands, ControllerCommandsStopAtAClosedPort)
{
    UiApp t;
    CToolboxDlg& dlg = t.Start();
    for (int id : {cmd::kNewInstallationWizard, cmd::kNewInstallationButton, cmd::kEditSetup, cmd::kEditSetupButton,
                   cmd::kSaveRestoreSetup, cmd::kSaveRestoreButton, cmd::kDataLogging, cmd::kInformation}) {
        t.notifier.shown.clear();
        ASSERT_TRUE(dlg.OnCommand(id));
        ASSERT_EQ(1u, t.notifier.shown.size()) << id;
        EXPECT_EQ(kPortNotOpenText, t.notifier.shown[0].text);
        EXPECT_EQ("Error", t.notifier.shown[0].caption);
        EXPECT_EQ(MsgIcon::Stop, t.notifier.shown[0].icon);
    }
    EXPECT_TRUE(t.modal.empty());
}

TEST(Commands, OldFirmwareNamesInstalledAndNeededVersions)
{
    UiApp t;
    t.UseSimulator(SimWith({{"firmware-version", "99"}}));
    t.Start().OnCommand(cmd::kInformation);
    ASSERT_EQ(2u, t.notifier.shown.size());
    EXPECT_EQ("The Halcyra firmware must be upgraded to use this program. Version 0.99 is installed and 1.00 or later "
              "is needed.",
              t.notifier.shown[1].text);
    EXPECT_EQ("Error: Upgrade Firmware", t.notifier.shown[1].caption);
    EXPECT_TRUE(t.modal.empty());
}

TEST(Commands, IncompatibleControllerShowsVersionErrorOnce)
{
    UiApp t;
    t.UseSimulator(SimWith({{"compat-b", "0"}}));
    t.Start().OnCommand(cmd::kNewInstallationWizard);
    ASSERT_EQ(2u, t.notifier.shown.size());
    EXPECT_EQ("Version Error", t.notifier.shown[1].caption);
    EXPECT_EQ(MsgIcon::Stop, t.notifier.shown[1].icon);
    EXPECT_TRUE(t.modal.empty());
}

TEST(Commands, SilentControllerOpensNothing)
{
    sim::SimOptions o;
    o.faults.silent = true;
    UiApp t;
    t.UseSimulator(o);
    t.Start().OnCommand(cmd::kEditSetup);
    const std::vector<std::string> expected = {kInverterWarningText, "Communication Error Occured", kCommFailed,
                                               kEditSetupFailedText};
    EXPECT_EQ(expected, t.notifier.Texts());
    EXPECT_EQ("Communications Error", t.notifier.shown[2].caption);
    EXPECT_EQ(kAppTitle, t.notifier.shown[3].caption);
    EXPECT_TRUE(t.modal.empty());
}

TEST(Commands, EditSetupReopensAtTheTabOfTheResult)
{
    UiApp t;
    t.UseSimulator();
    CToolboxDlg& dlg = t.Start();
    std::vector<int> tabs;
    int run = 0;
    t.onModal = [&](QDialog& d) {
        if (!dynamic_cast<CSetupSheet*>(&d))
            return static_cast<int>(QDialog::Rejected); // the sheet a contents page opens
        auto& sheet = dynamic_cast<CSetupSheet&>(d);
        WhenRunning([&sheet, &tabs, r = run++] {
            tabs.push_back(sheet.GetActiveIndex());
            switch (r) {
            case 0:
                sheet.CalContents()->EndSheet(kCalContentsResult);
                break;
            case 1:
                sheet.DiagContents()->EndSheet(kDiagContentsResult);
                break;
            case 2:
                // The configuration sheet opens and closes; the setup sheet is rebuilt at its tab.
                sheet.SetActivePage(0);
                sheet.ConfigContents()->OpenButton()->click();
                break;
            default:
                sheet.reject();
            }
        });
        return d.exec();
    };
    t.notifier.shown.clear();
    dlg.OnCommand(cmd::kEditSetupButton);
    EXPECT_EQ((std::vector<int>{0, 1, 2, 0}), tabs);
    EXPECT_EQ((std::vector<std::string>{"halcyra::CSetupSheet", "halcyra::CSetupSheet", "halcyra::CSetupSheet",
                                        "halcyra::CConfigSheet", "halcyra::CSetupSheet"}),
              t.modal);
    EXPECT_TRUE(t.notifier.shown.empty());
}

TEST(Commands, InformationRunsThePageAloneInASheet)
{
    UiApp t;
    t.UseSimulator();
    int pages = 0;
    QString serial;
    t.onModal = [&](QDialog& d) {
        auto& sheet = dynamic_cast<CHCPropertySheet&>(d);
        WhenRunning([&] {
            pages = sheet.GetPageCount();
            serial = static_cast<CInformationPage*>(sheet.GetPage(0))->Text(QStringLiteral("Serial Number:"));
            sheet.OnOK();
        });
        return d.exec();
    };
    t.Start().OnCommand(cmd::kInformation);
    EXPECT_EQ(1, pages);
    EXPECT_EQ(QStringLiteral("HC2-0042137"), serial);
    EXPECT_EQ(std::vector<std::string>{kInverterWarningText}, t.notifier.Texts());
}

TEST(Commands, SelectPortWithNoPortsChangesNothing)
{
    UiApp t;
    CToolboxDlg& dlg = t.Start();
    const std::string before = t.app->Link().CurrentPort();
    int listed = -1;
    t.onModal = [&](QDialog& d) {
        listed = static_cast<CPortSelectDlg&>(d).PortList()->count();
        d.accept();
        return d.result();
    };
    t.notifier.shown.clear();
    dlg.OnCommand(cmd::kSelectComPort);
    EXPECT_EQ(0, listed);
    EXPECT_TRUE(t.notifier.shown.empty());
    EXPECT_EQ(before, t.app->Link().CurrentPort());
    EXPECT_FALSE(t.app->Link().IsOpen());
}

TEST(Commands, SelectPortReopensTheCurrentPortOrReportsOneThatFails)
{
    UiApp t;
    t.UseSimulator();
    // A port the system lists but that is no serial device.
    QDir(QString::fromStdString(t.options.portSources.sysClassTty)).mkpath(QStringLiteral("ttyUSB0/device"));
    const std::string broken = t.options.portSources.devDir + "/ttyUSB0";
    QFile(QString::fromStdString(broken)).open(QIODevice::WriteOnly);
    CToolboxDlg& dlg = t.Start();
    const std::string simulator = t.app->Simulator()->DevicePath();

    QStringList shown;
    QString preselected;
    t.onModal = [&](QDialog& d) {
        QComboBox* list = static_cast<CPortSelectDlg&>(d).PortList();
        for (int i = 0; i < list->count(); ++i)
            shown << list->itemData(i).toString();
        preselected = list->currentData().toString();
        d.accept();
        return d.result();
    };
    t.notifier.shown.clear();
    dlg.OnCommand(cmd::kSelectComPort);
    EXPECT_EQ((QStringList{QString::fromStdString(broken), QString::fromStdString(simulator)}), shown);
    EXPECT_EQ(QString::fromStdString(simulator), preselected);
    // Choosing the open port again reopens it.
    EXPECT_TRUE(t.app->Link().IsOpen());
    EXPECT_TRUE(t.notifier.shown.empty());

    // Cancel changes nothing, whatever was chosen.
    t.onModal = [&](QDialog& d) {
        static_cast<CPortSelectDlg&>(d).PortList()->setCurrentIndex(0);
        d.reject();
        return d.result();
    };
    dlg.OnCommand(cmd::kSelectComPort);
    EXPECT_TRUE(t.app->Link().IsOpen());
    EXPECT_EQ(simulator, t.app->Link().CurrentPort());
    EXPECT_TRUE(t.notifier.shown.empty());

    t.onModal = [&](QDialog& d) {
        static_cast<CPortSelectDlg&>(d).PortList()->setCurrentIndex(0);
        d.accept();
        return d.result();
    };
    dlg.OnCommand(cmd::kSelectComPort);
    ASSERT_EQ(2u, t.notifier.shown.size());
    EXPECT_EQ("Failed to open up " + broken, t.notifier.shown[0].text);
    EXPECT_EQ(kPortOpenFailedText, t.notifier.shown[1].text);
    EXPECT_EQ("Error", t.notifier.shown[1].caption);
    EXPECT_FALSE(t.app->Link().IsOpen());
    EXPECT_EQ(simulator, t.app->Link().CurrentPort());
}

TEST(Commands, AdvancedConfigurationGetAndSet)
{
    UiApp t;
    t.UseSimulator();
    t.Start();
    CAdvancedConfigDlg dlg(t.app->Context());
    t.notifier.shown.clear();

    dlg.NameEdit()->setText(QStringLiteral("ab"));
    dlg.ValueEdit()->setText(QStringLiteral("7"));
    dlg.OnGet();
    ASSERT_EQ(1u, t.notifier.shown.size());
    EXPECT_EQ("Error", t.notifier.shown[0].text);
    EXPECT_EQ("Invalid Request", t.notifier.shown[0].caption);
    EXPECT_EQ(QStringLiteral("7"), dlg.ValueEdit()->text());
    dlg.NameEdit()->setText(QString(41, QLatin1Char('a')));
    dlg.OnSet();
    EXPECT_EQ(2u, t.notifier.shown.size());

    dlg.NameEdit()->setText(QStringLiteral("alx"));
    dlg.OnGet();
    EXPECT_EQ(QStringLiteral("1.100000"), dlg.ValueEdit()->text());
    dlg.ValueEdit()->setText(QStringLiteral("12.5 m"));
    dlg.OnSet();
    EXPECT_EQ(QStringLiteral("12.500000"), dlg.ValueEdit()->text());
    EXPECT_EQ("12.500000", t.Param("alx"));
    dlg.ValueEdit()->setText(QStringLiteral("abc"));
    dlg.OnSet();
    EXPECT_EQ(QStringLiteral("0.000000"), dlg.ValueEdit()->text());
    EXPECT_EQ("0.000000", t.Param("alx"));
    dlg.ValueEdit()->setText(QStringLiteral("-2.5e1"));
    dlg.OnSet();
    EXPECT_EQ("-25.000000", t.Param("alx"));
    // Text that is no decimal number sends 0; a number past the float range is refused.
    dlg.ValueEdit()->setText(QStringLiteral("nan"));
    dlg.OnSet();
    EXPECT_EQ("0.000000", t.Param("alx"));
    dlg.ValueEdit()->setText(QStringLiteral("1e999"));
    dlg.OnSet();
    EXPECT_EQ(QStringLiteral("ERROR"), dlg.ValueEdit()->text());
    EXPECT_EQ("0.000000", t.Param("alx"));

    // A 40-character name is a valid request (the controller has no such parameter).
    dlg.NameEdit()->setText(QString(40, QLatin1Char('a')));
    t.notifier.shown.clear();
    dlg.OnGet();
    EXPECT_EQ(QStringLiteral("ERROR"), dlg.ValueEdit()->text());
    for (const ShownBox& box : t.notifier.shown)
        EXPECT_NE("Invalid Request", box.caption);

    // A name with a line break would smuggle a second record in: nothing is sent.
    const std::uint64_t requests = t.Requests();
    dlg.NameEdit()->setText(QStringLiteral("ei11\r\nvms"));
    dlg.ValueEdit()->setText(QStringLiteral("5"));
    t.notifier.shown.clear();
    dlg.OnSet();
    dlg.OnGet();
    EXPECT_EQ(requests, t.Requests());
    ASSERT_EQ(2u, t.notifier.shown.size());
    EXPECT_EQ(0u, t.notifier.shown[0].text.find("Error: The parameter name holds a control character"));
    EXPECT_EQ(QStringLiteral("ERROR"), dlg.ValueEdit()->text());

    // On a closed port the get fails like any other.
    t.app->Link().Close();
    dlg.NameEdit()->setText(QStringLiteral("alx"));
    dlg.ValueEdit()->clear();
    dlg.OnGet();
    EXPECT_EQ(QStringLiteral("ERROR"), dlg.ValueEdit()->text());
    dlg.OnSet();
    EXPECT_EQ(QStringLiteral("ERROR"), dlg.ValueEdit()->text());
}

TEST(Commands, ExitClosesTheMainDialog)
{
    UiApp t;
    CToolboxDlg& dlg = t.Start();
    dlg.show();
    t.notifier.shown.clear();
    dlg.OnCommand(cmd::kExit);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(QDialog::Rejected, dlg.result());
    EXPECT_TRUE(t.notifier.shown.empty());
}

TEST(Commands, ALostPortShowsAWindowThatBlocksNothingUntilThePortIsBack)
{
    UiApp t;
    t.UseSimulator();
    CToolboxDlg& dlg = t.Start();
    ASSERT_TRUE(t.app->Link().IsOpen());
    EXPECT_EQ(CPortReconnect::State::Connected, dlg.Reconnect().GetState());
    EXPECT_FALSE(dlg.DisconnectedWindow()->isVisible());

    // The port goes: the link is closed and the window says so, without a box.
    t.notifier.shown.clear();
    dlg.Reconnect().LineWentAway();
    dlg.ShowConnectionState();
    EXPECT_TRUE(dlg.DisconnectedWindow()->isVisible());
    EXPECT_FALSE(dlg.DisconnectedWindow()->isModal());
    auto* text = dlg.DisconnectedWindow()->findChild<QLabel*>(QStringLiteral("disconnectedText"));
    ASSERT_NE(nullptr, text);
    EXPECT_EQ(QString::fromLatin1(kControllerDisconnectedText), text->text());
    EXPECT_TRUE(t.notifier.shown.empty());
    // A command started meanwhile meets the closed port.
    ASSERT_TRUE(dlg.OnCommand(cmd::kInformation));
    EXPECT_EQ(std::vector<std::string>{kPortNotOpenText}, t.notifier.Texts());

    // The port is there again: the next look opens it and the window goes.
    dlg.CheckConnection();
    EXPECT_TRUE(t.app->Link().IsOpen());
    EXPECT_FALSE(dlg.DisconnectedWindow()->isVisible());
}

TEST(Commands, CreateServiceReportWritesTheZipWhereTheUserChose)
{
    UiApp t;
    t.UseSimulator();
    t.Start();
    FileScript files;
    files.answers = {QString::fromStdString(t.Path("support.zip"))};
    t.app->Context().files = &files;
    t.notifier.shown.clear();
    ASSERT_TRUE(t.dialog->OnCommand(cmd::kServiceReport));
    ASSERT_EQ(1u, files.requests.size());
    EXPECT_EQ("zip", files.requests[0].defaultSuffix);
    EXPECT_TRUE(QFile::exists(QString::fromStdString(t.Path("support.zip"))));
    EXPECT_EQ(std::vector<std::string>{"Service report written to " + t.Path("support.zip")}, t.notifier.Texts());
}

TEST(Commands, InstallationReportAsksTheNamesThenWritesThePdfWhereTheUserChose)
{
    UiApp t;
    t.UseSimulator();
    t.Start();
    EXPECT_EQ(QStringLiteral("Installation Re&port..."), t.dialog->Action(cmd::kInstallationReport)->text());
    FileScript files;
    const std::string path = t.Path("installation.pdf");
    files.answers = {QString::fromStdString(path)};
    t.app->Context().files = &files;
    std::vector<std::string> refusals;
    t.onModal = [&](QDialog& d) {
        auto* names = qobject_cast<CInstallationReportDlg*>(&d);
        if (!names)
            return static_cast<int>(QDialog::Rejected);
        // A tab pasted into a name is refused, and the dialog stays.
        names->Installer()->setText(QStringLiteral("Ana\tFitter"));
        names->accept();
        refusals = t.notifier.Texts();
        EXPECT_NE(QDialog::Accepted, names->result());
        names->Installer()->setText(QStringLiteral("  Ana Fitter "));
        names->Customer()->setText(QStringLiteral("Brook Farm"));
        names->accept();
        return names->result();
    };
    t.notifier.shown.clear();
    ASSERT_TRUE(t.dialog->OnCommand(cmd::kInstallationReport));
    EXPECT_EQ(std::vector<std::string>{"Error: a name cannot hold control characters."}, refusals);
    ASSERT_EQ(1u, files.requests.size());
    EXPECT_EQ("pdf", files.requests[0].defaultSuffix);
    EXPECT_EQ(kInstallationReportFilter, files.requests[0].filter);
    EXPECT_EQ("%PDF", ReadAll(path).substr(0, 4));
    ASSERT_EQ(2u, t.notifier.shown.size());
    EXPECT_EQ("Installation report written to " + path, t.notifier.shown.back().text);
    EXPECT_EQ(MsgIcon::Information, t.notifier.shown.back().icon);
}

TEST(Commands, InstallationReportCancelledAtTheNamesAsksForNoFile)
{
    UiApp t;
    t.UseSimulator();
    t.Start();
    FileScript files;
    t.app->Context().files = &files;
    t.notifier.shown.clear();
    ASSERT_TRUE(t.dialog->OnCommand(cmd::kInstallationReport));
    EXPECT_EQ(std::vector<std::string>{"halcyra::CInstallationReportDlg"}, t.modal);
    EXPECT_TRUE(files.requests.empty());
    EXPECT_TRUE(t.notifier.shown.empty());
}
