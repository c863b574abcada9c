#include "app/ui/ToolboxApp.h"

#include "app/ui/AboutDlg.h"
#include "app/ui/AdvancedConfigDlg.h"
#include "app/ui/InstallationReportDlg.h"
#include "app/ui/MessageBoxNotifier.h"
#include "app/ui/NewInstallationWizardPages.h"
#include "app/ui/PortSelectDlg.h"
#include "app/ui/SetupSheet.h"
#include "app/ui/SplashDlg.h"
#include "app/ui/ToolboxDlg.h"
#include "calibration/ui/CalibrationScreens.h"
#include "config/ui/ConfigurationScreens.h"
#include "diagnostics/ui/DiagnosticsScreens.h"
#include "logging/ui/DataLogging.h"
#include "pages/ui/ScreenRenderer.h"
#include "setup/Faults.h"
#include "setup/ui/FaultContents.h"
#include "setup/ui/FaultDetailsDlg.h"
#include "setup/ui/InformationPage.h"
#include "setup/ui/SaveRestoreDlg.h"
#include "setup/ui/SetupScreens.h"
#include "sim/SimServer.h"

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>

#include <clocale>
#include <cstdio>
#include <filesystem>
#include <iostream>

// Resources live in static libraries; this keeps them linked in.
static void InitToolboxResources()
{
    Q_INIT_RESOURCE(toolbox);
    Q_INIT_RESOURCE(report);
}

namespace halcyra {

namespace {

std::unique_ptr<INotifier> MakeNotifier(const ToolboxOptions& options)
{
    if (!options.renderDir.empty() || options.measureStartup)
        return std::make_unique<CStreamNotifier>(std::cerr);
    return std::make_unique<CMessageBoxNotifier>();
}

} // namespace

void ConfigureApplication()
{
    // Parameter values travel as "%f" text: numbers must not follow the
    // user's locale (a decimal comma would reach the controller).
    std::setlocale(LC_NUMERIC, "C");
    // A box without a caption shows the product's name in its title bar.
    QApplication::setApplicationName(QString::fromLatin1(kAppTitle));
}

std::string ApplicationDataDirectory()
{
    // Where the program's own data lived when it was named for its settings.
    const QString generic = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (generic.isEmpty())
        return {};
    // In the system's own form (backslashes on Windows), as users see paths.
    return QDir::toNativeSeparators(
               QDir(generic).filePath(QStringLiteral("%1/%2").arg(QString::fromLatin1(kSettingsOrganization),
                                                                  QString::fromLatin1(kSettingsApplication))))
        .toStdString();
}

CToolboxApp::CToolboxApp(ToolboxOptions options, INotifier* notifier)
    : options_(std::move(options)), ownNotifier_(notifier ? nullptr : MakeNotifier(options_)),
      notifier_(notifier ? *notifier : *ownNotifier_), lock_(options_.lockPath), link_(notifier_),
      context_(link_, notifier_, directories_, options_)
{
    InitToolboxResources();
    // The first serial slot until a port is found or chosen.
    link_.SetCurrentPort(CSerialPortList(options_.portSources).FirstSlot());
}

CToolboxApp::~CToolboxApp()
{
    link_.SetTrace(nullptr);
    link_.Close();
    if (simulator_)
        simulator_->Stop();
}

bool CToolboxApp::InitInstance()
{
    if (!lock_.Acquire()) {
        notifier_.Notify(CInstanceLock::AlreadyRunningText(), kAppTitle, MsgButtons::Ok, MsgIcon::None);
        return false;
    }

    QSettings settings(QString::fromLatin1(kSettingsOrganization), QString::fromLatin1(kSettingsApplication));
    const QVariant value = settings.value(QString::fromLatin1(kDataPathKey));
    std::optional<std::string> stored;
    if (value.isValid())
        stored = value.toString().toStdString();
    const std::string appData = ApplicationDataDirectory();
    // The executable's own directory, however it was started.
    const std::string programDir = options_.programDir.empty()
                                       ? QDir::toNativeSeparators(QCoreApplication::applicationDirPath() +
                                                                  QLatin1Char('/'))
                                             .toStdString()
                                       : options_.programDir;
    const std::string dataPath = ChooseDataPath(stored, programDir, appData, notifier_);
    // Our own fallback location is made; a configured path is used as it is.
    if (!appData.empty() && dataPath == appData + static_cast<char>(std::filesystem::path::preferred_separator))
        QDir().mkpath(QString::fromStdString(appData));
    directories_.SetDataPath(dataPath);

    if (!options_.tracePath.empty()) {
        std::string error;
        trace_ = CTraceFile::Open(options_.tracePath, error, "halcyra-toolbox");
        if (!trace_) {
            notifier_.Notify("Error: The trace cannot be written: " + error, "Error", MsgButtons::Ok, MsgIcon::Stop);
            return false;
        }
        link_.SetTrace(trace_.get());
    }

    return !options_.simulator || StartSimulator();
}

bool CToolboxApp::StartSimulator()
{
    simulator_ = std::make_unique<sim::CSimServer>(options_.simOptions);
    std::string error;
    if (!simulator_->Open(error)) {
        notifier_.Notify("Error: The controller simulator could not be started: " + error, "Error", MsgButtons::Ok,
                         MsgIcon::Stop);
        simulator_.reset();
        return false;
    }
    simulator_->Start();
    context_.simulatorDevice = simulator_->DevicePath();
    return true;
}

std::unique_ptr<CToolboxDlg> CToolboxApp::CreateMainDialog() { return std::make_unique<CToolboxDlg>(context_); }

int CToolboxApp::Run()
{
    if (!InitInstance())
        return 1;
    if (!options_.renderDir.empty())
        return RenderTo(options_.renderDir);

    std::unique_ptr<CToolboxDlg> dialog = CreateMainDialog();
    if (options_.measureStartup) {
        QObject::connect(dialog.get(), &CToolboxDlg::firstShown, dialog.get(), [this, d = dialog.get()] {
            // Once the event loop runs with the dialog on screen, it takes input.
            QTimer::singleShot(0, d, [this, d] {
                const auto ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() -
                                                                          options_.started)
                                    .count();
                std::printf("start-up to interactive main dialog: %.1f ms\n", ms);
                std::fflush(stdout);
                d->done(0);
            });
        });
    }
    context_.RunModal(*dialog);
    return 0;
}


int CToolboxApp::RenderTo(const std::string& dirText)
{
    const QString dir = QString::fromStdString(dirText);
    if (!QDir().mkpath(dir)) {
        std::fprintf(stderr, "halcyra-toolbox: cannot create %s\n", dirText.c_str());
        return 1;
    }
    CScreenRenderer screens(dir);

    CSplashDlg splash;
    screens.Save(splash, QStringLiteral("splash"));
    splash.hide();

    std::unique_ptr<CToolboxDlg> main = CreateMainDialog();
    main->EnsureInitialised();
    screens.Save(*main, QStringLiteral("main"));
    // The other screens read the controller as they open.
    if (!link_.IsOpen()) {
        std::fprintf(stderr, "halcyra-toolbox: rendered the splash and the main dialog only: the port is not open, "
                             "and the other screens need the controller (give --port or --simulator)\n");
        return 1;
    }

    {
        CPortSelectDlg ports(context_, main.get());
        ports.EnsureInitialised();
        screens.Save(ports, QStringLiteral("port-select"));
    }
    {
        CAdvancedConfigDlg advanced(context_, main.get());
        advanced.EnsureInitialised();
        screens.Save(advanced, QStringLiteral("advanced-config"));
    }
    {
        CSaveRestoreDlg saveRestore(context_, main.get());
        saveRestore.EnsureInitialised();
        screens.Save(saveRestore, QStringLiteral("save-restore"));
    }
    {
        CAboutDlg about(context_, main.get());
        about.EnsureInitialised();
        screens.Save(about, QStringLiteral("about"));
    }
    {
        CInstallationReportDlg report(context_, main.get());
        report.EnsureInitialised();
        screens.Save(report, QStringLiteral("installation-report"));
    }
    {
        CSetupSheet sheet(context_, main.get());
        const char* names[] = {"contents-config", "contents-calibration", "contents-diagnostics", "contents-faults",
                               "contents-information"};
        CScreenRenderer::Show(sheet);
        for (int i = 0; i < sheet.GetPageCount() && i < 5; ++i) {
            sheet.SetActivePage(i);
            screens.Save(sheet, QString::fromLatin1(names[i]));
        }
        // The details of the first fault listed, as View shows them.
        const std::vector<FaultListEntry>& faults = sheet.Faults()->Faults().Entries();
        if (!faults.empty() && CFaultList::CanActOn(faults.front())) {
            CFaultInfo info;
            info.Fetch(link_, faults.front().faultNumber);
            CFaultDetailsDlg details(QString::fromStdString(info.Text()), &sheet);
            screens.Save(details, QStringLiteral("fault-details"));
        }
        sheet.done(QDialog::Rejected);
    }
    {
        CHCPropertySheet sheet(QStringLiteral("Halcyra Toolbox Information"), main.get());
        sheet.AddPage(new CInformationPage(context_));
        screens.Save(sheet, QStringLiteral("information"));
        sheet.done(QDialog::Rejected);
    }
    // Each subsystem draws its own sheets and dialogs.
    RenderConfigurationScreens(context_, main.get(), screens);
    RenderCalibrationScreens(context_, main.get(), screens);
    RenderDiagnosticsScreens(context_, main.get(), screens);
    RenderLoggingScreens(context_, main.get(), screens);
    RenderNewInstallationScreens(context_, main.get(), screens);
    RenderSetupCompareScreen(context_, main.get(), screens);
    // Last, as it closes the port: the window a cable pull brings up.
    if (link_.IsOpen()) {
        main->Reconnect().LineWentAway();
        main->ShowConnectionState();
        screens.Save(*main->DisconnectedWindow(), QStringLiteral("disconnected"));
    }
    main->hide();
    return screens.Failures() == 0 ? 0 : 1;
}

} // namespace halcyra
