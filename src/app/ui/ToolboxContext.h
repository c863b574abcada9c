#pragma once
// What every dialog of the program reaches: the controller link, the one
// notifier, the data directories, the command-line options, and the way
// modal dialogs and file dialogs are run (tests run them their own way).

#include "app/ui/FileDialogs.h"
#include "link/SerialPort.h"
#include "sim/SimOptions.h"

#include <chrono>
#include <functional>
#include <string>
#include <vector>

class QDialog;

namespace halcyra {

class CControllerLink;
class CDataDirectories;
class INotifier;

struct ToolboxOptions {
    std::string port;           // --port DEVICE
    bool simulator = false;     // --simulator
    sim::SimOptions simOptions; // --sim-OPTION VALUE
    bool noSplash = false;      // --no-splash
    std::string renderDir;      // --render DIR
    bool measureStartup = false; // --measure-startup
    // Where ports are looked for, and the instance lock file (tests change them).
    std::string sysClassTty = "/sys/class/tty";
    std::string devDir = "/dev";
    std::string lockPath;
    std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
};

// Parses the program's arguments (without the program name). False with an
// error text for an unknown option or a missing value; help is set for
// --help.
bool ParseToolboxArgs(const std::vector<std::string>& args, ToolboxOptions& options, bool& help, std::string& error);
std::string ToolboxUsage();

class CToolboxContext {
public:
    CToolboxContext(CControllerLink& controllerLink, INotifier& boxes, CDataDirectories& dataDirectories,
                    const ToolboxOptions& programOptions)
        : link(controllerLink), notifier(boxes), directories(dataDirectories), options(programOptions)
    {
    }

    // Runs a modal dialog: initialises a plain dialog of the program, then
    // runs it through runModal when set, else its own modal loop.
    int RunModal(QDialog& dialog) const;

    // Asks for a file: through chooseFile when set, else the platform's
    // file dialog. Empty when the user cancelled.
    QString ChooseFile(QWidget* parent, const FileRequest& request) const;

    // The ports the port selection lists: those found, then extraPorts.
    std::vector<SerialPortInfo> Ports() const;
    // The device to open at start-up: --port, the simulator, the first port
    // found, or the current port (the first serial slot).
    std::string StartupDevice() const;

    CControllerLink& link;
    INotifier& notifier;
    CDataDirectories& directories;
    const ToolboxOptions& options;
    std::string simulatorDevice;           // set when --simulator runs one
    std::function<int(QDialog&)> runModal; // tests' modal runner
    FileChooser chooseFile;                // tests' file choice
};

} // namespace halcyra
