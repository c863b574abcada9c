#pragma once
// "Halcyra Toolbox II": the main dialog, its menu, its three picture buttons
// and the commands they send.

#include "link/PortReconnect.h"
#include "pages/ui/HCDialog.h"

#include <map>

class QAction;
class QDialog;
class QMenuBar;
class QTimer;
class QToolButton;

namespace halcyra {

// Command identifiers of the menu and the picture buttons.
namespace cmd {
inline constexpr int kNewInstallationWizard = 32778;
inline constexpr int kEditSetup = 32776;
inline constexpr int kSaveRestoreSetup = 32777;
inline constexpr int kAdvancedConfiguration = 32783;
inline constexpr int kDataLogging = 32792;
inline constexpr int kInformation = 32780;
inline constexpr int kExit = 32782;
inline constexpr int kSelectComPort = 32790;
inline constexpr int kAbout = 32775;
inline constexpr int kServiceReport = 32800;
inline constexpr int kInstallationReport = 32801;
// The picture buttons send the same commands as their menu items.
inline constexpr int kNewInstallationButton = 1022;
inline constexpr int kEditSetupButton = 1023;
inline constexpr int kSaveRestoreButton = 1074;
} // namespace cmd

class CToolboxContext;

class CToolboxDlg : public CHCDialog {
    Q_OBJECT

public:
    explicit CToolboxDlg(CToolboxContext& context, QWidget* parent = nullptr);

    // Runs the command with that identifier; false for an unknown one.
    bool OnCommand(int id);

    QMenuBar* MenuBar() const { return menuBar_; }
    QAction* Action(int id) const;
    QToolButton* PictureButton(int id) const;

    // After a cable pull: the window that says the controller is away,
    // shown without blocking anything until the port returns.
    CPortReconnect& Reconnect() { return reconnect_; }
    QDialog* DisconnectedWindow() const { return disconnected_; }
    // One look at the port (the timer's tick, every kReconnectPeriodMs).
    void CheckConnection();
    static constexpr int kReconnectPeriodMs = 500;
    // Shows or hides the window as the port's state says.
    void ShowConnectionState();

    void OnNewInstallationWizard();
    void OnEditSetup();
    void OnSaveRestoreSetup();
    void OnAdvancedConfiguration();
    void OnDataLogging();
    void OnInformation();
    void OnExit();
    void OnSelectComPort();
    void OnAbout();
    // "Create Service Report...": one zip for support.
    void OnServiceReport();
    // "Installation Report...": the printable record of the installation.
    void OnInstallationReport();

signals:
    // The first time the dialog is on screen.
    void firstShown();

protected:
    // The directories, the splash picture, the port, the inverter warning.
    bool OnInitDialog() override;
    void showEvent(QShowEvent* event) override;

    // Runs the "Save / Restore Setup" dialog.
    virtual void RunSaveRestoreDialog();

private:
    // The port test and the connection check of the controller commands.
    bool ControllerReady();
    QToolButton* MakePictureButton(int id, const QString& picture, const QString& label);

    CToolboxContext& toolbox_;
    CPortReconnect reconnect_;
    QTimer* reconnectTimer_ = nullptr;
    QDialog* disconnected_ = nullptr;
    QMenuBar* menuBar_ = nullptr;
    std::map<int, QAction*> actions_;
    std::map<int, QToolButton*> buttons_;
    bool shown_ = false;
};

} // namespace halcyra
