#pragma once
// The program's own context: the page context every page and dialog gets,
// with the command-line options and the ports to offer.

#include "link/SerialPort.h"
#include "pages/ui/UiContext.h"
#include "sim/SimOptions.h"

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace halcyra {

struct ToolboxOptions {
    std::string port;           // --port DEVICE
    bool simulator = false;     // --simulator
    sim::SimOptions simOptions; // --sim-OPTION VALUE
    bool noSplash = false;      // --no-splash
    std::string renderDir;      // --render DIR
    std::string tracePath;      // --trace FILE
    bool measureStartup = false; // --measure-startup
    bool version = false;        // --version
    // Where ports are looked for, and the instance lock file (tests change them).
    std::string sysClassTty = "/sys/class/tty";
    std::string devDir = "/dev";
    std::string lockPath;
    std::string programDir; // empty: the executable's own directory
    std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
};

// Parses the program's arguments (without the program name). False with an
// error text for an unknown option or a missing value; help is set for
// --help.
bool ParseToolboxArgs(const std::vector<std::string>& args, ToolboxOptions& options, bool& help, std::string& error);
std::string ToolboxUsage();

class CToolboxContext final : public CUiContext {
public:
    CToolboxContext(CControllerLink& controllerLink, INotifier& boxes, CDataDirectories& dataDirectories,
                    const ToolboxOptions& programOptions)
        : CUiContext(controllerLink, boxes, dataDirectories), options(programOptions)
    {
    }

    // The ports the port selection lists: those found, then extraPorts.
    std::vector<SerialPortInfo> Ports() const;
    // The device to open at start-up: --port, the simulator, the first port
    // found, or the current port (the first serial slot).
    std::string StartupDevice() const;

    const ToolboxOptions& options;
    std::string simulatorDevice; // set when --simulator runs one
};

} // namespace halcyra
