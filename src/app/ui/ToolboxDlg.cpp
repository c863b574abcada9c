#include "app/ui/ToolboxDlg.h"

#include "app/ConnectionCheck.h"
#include "app/ToolboxCommands.h"
#include "app/ui/AboutDlg.h"
#include "app/ui/AdvancedConfigDlg.h"
#include "app/ui/InstallationReportDlg.h"
#include "app/ui/NewInstallationWizardPages.h"
#include "app/ui/PortSelectDlg.h"
#include "app/ui/SetupSheet.h"
#include "app/ui/SplashDlg.h"
#include "app/ui/ToolboxContext.h"
#include "link/ControllerLink.h"
#include "logging/ui/DataLogging.h"
#include "pages/DataDirectories.h"
#include "pages/SerialGuard.h"
#include "setup/ServiceReport.h"
#include "setup/ui/InformationPage.h"
#include "setup/ui/SaveRestoreDlg.h"

#include <QApplication>
#include <QDialog>
#include <QIcon>
#include <QLabel>
#include <QTimer>
#include <QMenu>
#include <QMenuBar>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace halcyra {

CToolboxDlg::CToolboxDlg(CToolboxContext& context, QWidget* parent)
    : CHCDialog(context, parent), toolbox_(context), reconnect_(context.link)
{
    setWindowTitle(QStringLiteral("Halcyra Toolbox II"));
    setWindowIcon(QIcon(QStringLiteral(":/res/halcyra.png")));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 10, 16, 14);
    layout->setSpacing(10);

    menuBar_ = new QMenuBar(this);
    auto item = [this](QMenu* menu, const QString& text, int id) {
        QAction* action = menu->addAction(text);
        action->setData(id);
        connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
        actions_[id] = action;
    };
    QMenu* tools = menuBar_->addMenu(QStringLiteral("&Tools"));
    item(tools, QStringLiteral("&New Installation Wizard"), cmd::kNewInstallationWizard);
    item(tools, QStringLiteral("&Edit Setup"), cmd::kEditSetup);
    item(tools, QStringLiteral("&Save / Restore Setup"), cmd::kSaveRestoreSetup);
    tools->addSeparator();
    item(tools, QStringLiteral("&Advanced Configuration"), cmd::kAdvancedConfiguration);
    item(tools, QStringLiteral("&Data Logging"), cmd::kDataLogging);
    tools->addSeparator();
    item(tools, QStringLiteral("&Information"), cmd::kInformation);
    item(tools, QStringLiteral("Installation Re&port..."), cmd::kInstallationReport);
    item(tools, QStringLiteral("Create Service &Report..."), cmd::kServiceReport);
    tools->addSeparator();
    item(tools, QStringLiteral("E&xit"), cmd::kExit);
    QMenu* setup = menuBar_->addMenu(QStringLiteral("&Setup"));
    item(setup, QStringLiteral("&Select COM port"), cmd::kSelectComPort);
    QMenu* help = menuBar_->addMenu(QStringLiteral("&Help"));
    item(help, QStringLiteral("&About"), cmd::kAbout);
    layout->setMenuBar(menuBar_);

    layout->addWidget(MakePictureButton(cmd::kNewInstallationButton, QStringLiteral(":/res/wizard.png"),
                                        QStringLiteral("New Installation Wizard")),
                      0, Qt::AlignHCenter);
    layout->addWidget(MakePictureButton(cmd::kEditSetupButton, QStringLiteral(":/res/setup.png"),
                                        QStringLiteral("Edit Setup / Diagnostics")),
                      0, Qt::AlignHCenter);
    layout->addWidget(MakePictureButton(cmd::kSaveRestoreButton, QStringLiteral(":/res/saverestore.png"),
                                        QStringLiteral("Save/Restore Setup")),
                      0, Qt::AlignHCenter);
    layout->addStretch(1);

    // Not modal: the program stays usable, and the window goes when the
    // controller is back.
    disconnected_ = new QDialog(this, Qt::Tool | Qt::WindowStaysOnTopHint);
    disconnected_->setObjectName(QStringLiteral("disconnected"));
    disconnected_->setWindowTitle(QStringLiteral("Halcyra Toolbox"));
    disconnected_->setModal(false);
    auto* away = new QVBoxLayout(disconnected_);
    auto* text = new QLabel(QString::fromLatin1(kControllerDisconnectedText), disconnected_);
    text->setObjectName(QStringLiteral("disconnectedText"));
    auto* port = new QLabel(disconnected_);
    port->setObjectName(QStringLiteral("disconnectedPort"));
    away->addWidget(text);
    away->addWidget(port);

    reconnectTimer_ = new QTimer(this);
    connect(reconnectTimer_, &QTimer::timeout, this, [this] { CheckConnection(); });
}

void CToolboxDlg::CheckConnection()
{
    if (reconnect_.Check())
        ShowConnectionState();
}

void CToolboxDlg::ShowConnectionState()
{
    if (reconnect_.Disconnected()) {
        if (auto* port = disconnected_->findChild<QLabel*>(QStringLiteral("disconnectedPort")))
            port->setText(QStringLiteral("Port: %1").arg(QString::fromStdString(reconnect_.Identity())));
        disconnected_->adjustSize();
        disconnected_->show();
        disconnected_->raise();
    } else {
        disconnected_->hide();
    }
}

QToolButton* CToolboxDlg::MakePictureButton(int id, const QString& picture, const QString& label)
{
    auto* button = new QToolButton(this);
    button->setObjectName(QStringLiteral("button%1").arg(id));
    button->setIcon(QIcon(picture));
    button->setIconSize(QSize(64, 64));
    button->setText(label);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(false);
    button->setMinimumWidth(170);
    connect(button, &QToolButton::clicked, this, [this, id] { OnCommand(id); });
    buttons_[id] = button;
    return button;
}

QAction* CToolboxDlg::Action(int id) const
{
    auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

QToolButton* CToolboxDlg::PictureButton(int id) const
{
    auto it = buttons_.find(id);
    return it == buttons_.end() ? nullptr : it->second;
}

bool CToolboxDlg::OnInitDialog()
{
    CHCDialog::OnInitDialog();
    if (!toolbox_.options.noSplash) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        CSplashDlg splash;
        Context().RunModal(splash);
        QApplication::restoreOverrideCursor();
    }
    if (!Context().link.IsOpen())
        OpenStartupPort(Context().link, toolbox_.StartupDevice());
    reconnect_.Watch();
    reconnectTimer_->start(kReconnectPeriodMs);
    ShowInverterWarning(Context().notifier);
    return true;
}

void CToolboxDlg::showEvent(QShowEvent* event)
{
    CHCDialog::showEvent(event);
    if (!shown_ && !event->spontaneous()) {
        shown_ = true;
        emit firstShown();
    }
}

bool CToolboxDlg::OnCommand(int id)
{
    void (CToolboxDlg::*handler)() = nullptr;
    switch (id) {
    case cmd::kNewInstallationWizard:
    case cmd::kNewInstallationButton:
        handler = &CToolboxDlg::OnNewInstallationWizard;
        break;
    case cmd::kEditSetup:
    case cmd::kEditSetupButton:
        handler = &CToolboxDlg::OnEditSetup;
        break;
    case cmd::kSaveRestoreSetup:
    case cmd::kSaveRestoreButton:
        handler = &CToolboxDlg::OnSaveRestoreSetup;
        break;
    case cmd::kAdvancedConfiguration:
        handler = &CToolboxDlg::OnAdvancedConfiguration;
        break;
    case cmd::kDataLogging:
        handler = &CToolboxDlg::OnDataLogging;
        break;
    case cmd::kInformation:
        handler = &CToolboxDlg::OnInformation;
        break;
    case cmd::kExit:
        handler = &CToolboxDlg::OnExit;
        break;
    case cmd::kSelectComPort:
        handler = &CToolboxDlg::OnSelectComPort;
        break;
    case cmd::kAbout:
        handler = &CToolboxDlg::OnAbout;
        break;
    case cmd::kServiceReport:
        handler = &CToolboxDlg::OnServiceReport;
        break;
    case cmd::kInstallationReport:
        handler = &CToolboxDlg::OnInstallationReport;
        break;
    default:
        return false;
    }
    RunGuarded(Context().notifier, [&] { (this->*handler)(); });
    return true;
}

bool CToolboxDlg::ControllerReady()
{
    return PortTest(Context().link) && CheckHalcyraComms(Context().link, true);
}

void CToolboxDlg::OnNewInstallationWizard()
{
    if (ControllerReady())
        RunNewInstallationWizard(Context(), this);
}

void CToolboxDlg::OnEditSetup()
{
    if (!PortTest(Context().link))
        return;
    if (!CheckHalcyraComms(Context().link, true)) {
        Context().notifier.Notify(kEditSetupFailedText, kAppTitle, MsgButtons::Ok, MsgIcon::None);
        return;
    }
    RunContentsLoop([this](int startTab) {
        CSetupSheet sheet(Context(), this);
        sheet.SetActivePage(startTab);
        return Context().RunModal(sheet);
    });
}

void CToolboxDlg::OnSaveRestoreSetup()
{
    if (PortTest(Context().link))
        RunSaveRestoreDialog();
}

void CToolboxDlg::RunSaveRestoreDialog()
{
    CSaveRestoreDlg dialog(Context(), this);
    Context().RunModal(dialog);
}

void CToolboxDlg::OnAdvancedConfiguration()
{
    CAdvancedConfigDlg dialog(Context(), this);
    Context().RunModal(dialog);
}

void CToolboxDlg::OnDataLogging()
{
    if (ControllerReady())
        RunDataLogging(Context(), this);
}

void CToolboxDlg::OnInformation()
{
    if (!ControllerReady())
        return;
    CHCPropertySheet sheet(QStringLiteral("Halcyra Toolbox Information"), this);
    sheet.AddPage(new CInformationPage(Context()));
    Context().RunModal(sheet);
}

void CToolboxDlg::OnExit() { close(); }

void CToolboxDlg::OnSelectComPort()
{
    CPortSelectDlg dialog(toolbox_, this);
    if (Context().RunModal(dialog) == QDialog::Accepted) {
        OpenSelectedPort(Context().link, dialog.SelectedDevice());
        reconnect_.Watch();
        ShowConnectionState();
    }
}

void CToolboxDlg::OnServiceReport()
{
    if (!PortTest(Context().link))
        return;
    FileRequest request;
    request.mode = FileDialogMode::Save;
    request.directory = Context().directories.ConfigurationDir();
    request.filter = kServiceReportFilter;
    request.defaultSuffix = "zip";
    const std::optional<std::string> path = Context().files->ChooseFile(request);
    if (!path)
        return;
    ServiceReportInputs inputs;
    inputs.program = "halcyra-toolbox " HALCYRA_VERSION;
    inputs.tracePath = toolbox_.options.tracePath;
    ServiceReportResult result;
    {
        CTransferProgress progress(this, windowTitle(), QStringLiteral("Creating the service report: %1 of %2 parts"));
        CBusyReports busy(*Context().busy);
        busy.Callback()(true);
        result = WriteServiceReport(Context().link, *path, inputs, progress.Callback());
    }
    if (!result.written)
        Context().notifier.Notify("Error: The service report could not be written: " + result.error,
                                  "Service Report Error", MsgButtons::Ok, MsgIcon::Stop);
    else
        Context().notifier.Notify(ServiceReportMessage(*path, result), "Service Report", MsgButtons::Ok,
                                  result.missing.empty() ? MsgIcon::Information : MsgIcon::Exclamation);
}

void CToolboxDlg::OnInstallationReport()
{
    if (ControllerReady())
        RunInstallationReport(Context(), this);
}

void CToolboxDlg::OnAbout()
{
    CAboutDlg dialog(Context(), this);
    Context().RunModal(dialog);
}

} // namespace halcyra
