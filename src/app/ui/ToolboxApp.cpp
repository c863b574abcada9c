#include "app/ui/ToolboxApp.h"

#include "app/ui/AboutDlg.h"
#include "app/ui/AdvancedConfigDlg.h"
#include "app/ui/MessageBoxNotifier.h"
#include "app/ui/PortSelectDlg.h"
#include "app/ui/SetupSheet.h"
#include "app/ui/SplashDlg.h"
#include "app/ui/ToolboxDlg.h"
#include "pages/ui/ScreenListing.h"
#include "setup/Faults.h"
#include "setup/ui/FaultContents.h"
#include "setup/ui/FaultDetailsDlg.h"
#include "setup/ui/InformationPage.h"
#include "setup/ui/SaveRestoreDlg.h"
#include "sim/SimServer.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>

#include <clocale>
#include <cstdio>
#include <iostream>

// Resources live in a static library; this keeps them linked in.
static void InitToolboxResources() { Q_INIT_RESOURCE(toolbox); }

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
    return QFile::encodeName(QDir(generic).filePath(QStringLiteral("%1/%2").arg(
                                 QString::fromLatin1(kSettingsOrganization), QString::fromLatin1(kSettingsApplication))))
        .toStdString();
}

CToolboxApp::CToolboxApp(ToolboxOptions options, INotifier* notifier)
    : options_(std::move(options)), ownNotifier_(notifier ? nullptr : MakeNotifier(options_)),
      notifier_(notifier ? *notifier : *ownNotifier_), lock_(options_.lockPath), link_(notifier_),
      context_(link_, notifier_, directories_, options_)
{
    InitToolboxResources();
    // The first serial slot until a port is found or chosen.
    link_.SetCurrentPort(options_.devDir + "/ttyS0");
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
                                       ? QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString() + "/"
                                       : options_.programDir;
    const std::string dataPath = ChooseDataPath(stored, programDir, appData, notifier_);
    // Our own fallback location is made; a configured path is used as it is.
    if (!appData.empty() && dataPath == appData + "/")
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

namespace {

// The screen as a picture, and beside it the list of its controls.
bool Save(QWidget& widget, const QString& dir, const QString& name)
{
    QApplication::processEvents();
    const QString path = QDir(dir).filePath(name);
    bool ok = widget.grab().save(path, "PNG");
    QFile listing(path.left(path.size() - 4) + QStringLiteral(".txt"));
    ok = ok && listing.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
         listing.write(ListControls(widget).toUtf8()) >= 0;
    std::fprintf(ok ? stdout : stderr, "%s %s\n", ok ? "wrote" : "could not write", path.toLocal8Bit().constData());
    return ok;
}

void ShowForGrab(QWidget& widget)
{
    widget.adjustSize();
    widget.show();
    QApplication::processEvents();
}

} // namespace

int CToolboxApp::RenderTo(const std::string& dirText)
{
    const QString dir = QString::fromStdString(dirText);
    if (!QDir().mkpath(dir)) {
        std::fprintf(stderr, "halcyra-toolbox: cannot create %s\n", dirText.c_str());
        return 1;
    }
    int failures = 0;
    auto save = [&](QWidget& w, const char* name) { failures += Save(w, dir, QString::fromLatin1(name)) ? 0 : 1; };

    CSplashDlg splash;
    ShowForGrab(splash);
    save(splash, "splash.png");
    splash.hide();

    std::unique_ptr<CToolboxDlg> main = CreateMainDialog();
    main->EnsureInitialised();
    ShowForGrab(*main);
    save(*main, "main.png");

    {
        CPortSelectDlg ports(context_, main.get());
        ports.EnsureInitialised();
        ShowForGrab(ports);
        save(ports, "port-select.png");
    }
    {
        CAdvancedConfigDlg advanced(context_, main.get());
        advanced.EnsureInitialised();
        ShowForGrab(advanced);
        save(advanced, "advanced-config.png");
    }
    {
        CSaveRestoreDlg saveRestore(context_, main.get());
        saveRestore.EnsureInitialised();
        ShowForGrab(saveRestore);
        save(saveRestore, "save-restore.png");
    }
    {
        CAboutDlg about(context_, main.get());
        about.EnsureInitialised();
        ShowForGrab(about);
        save(about, "about.png");
    }
    {
        CSetupSheet sheet(context_, main.get());
        ShowForGrab(sheet);
        const char* names[] = {"contents-config.png", "contents-calibration.png", "contents-diagnostics.png",
                               "contents-faults.png", "contents-information.png"};
        for (int i = 0; i < sheet.GetPageCount() && i < 5; ++i) {
            sheet.SetActivePage(i);
            save(sheet, names[i]);
        }
        // The details of the first fault listed, as View shows them.
        const std::vector<FaultListEntry>& faults = sheet.Faults()->Faults().Entries();
        if (!faults.empty() && CFaultList::CanActOn(faults.front())) {
            CFaultInfo info;
            info.Fetch(link_, faults.front().faultNumber);
            CFaultDetailsDlg details(QString::fromStdString(info.Text()), &sheet);
            ShowForGrab(details);
            save(details, "fault-details.png");
        }
        sheet.done(QDialog::Rejected);
    }
    {
        CHCPropertySheet sheet(QStringLiteral("Halcyra Toolbox Information"), main.get());
        sheet.AddPage(new CInformationPage(context_));
        ShowForGrab(sheet);
        save(sheet, "information.png");
        sheet.done(QDialog::Rejected);
    }
    main->hide();
    return failures == 0 ? 0 : 1;
}

} // namespace halcyra
