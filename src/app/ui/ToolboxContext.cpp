#include "app/ui/ToolboxContext.h"

#include "link/ControllerLink.h"

namespace halcyra {

bool ParseToolboxArgs(const std::vector<std::string>& args, ToolboxOptions& o, bool& help, std::string& error)
{
    help = false;
    std::string firstSimOption;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) {
                error = a + " needs a value";
                return false;
            }
            out = args[++i];
            return true;
        };
        if (a == "--help" || a == "-h") {
            help = true;
        } else if (a == "--version") {
            o.version = true;
        } else if (a == "--port") {
            if (!value(o.port))
                return false;
        } else if (a == "--simulator") {
            o.simulator = true;
        } else if (a == "--no-splash") {
            o.noSplash = true;
        } else if (a == "--render") {
            if (!value(o.renderDir))
                return false;
        } else if (a == "--trace") {
            if (!value(o.tracePath))
                return false;
        } else if (a == "--measure-startup") {
            o.measureStartup = true;
        } else if (a.rfind("--sim-", 0) == 0) {
            if (firstSimOption.empty())
                firstSimOption = a;
            if (!sim::ParseSimOption(args, i, o.simOptions, error, "--sim-"))
                return false;
        } else {
            error = "unknown option " + a;
            return false;
        }
    }
    if (!firstSimOption.empty() && !o.simulator) {
        error = firstSimOption + " needs --simulator";
        return false;
    }
    if (o.simulator && !o.port.empty()) {
        error = "use either --port or --simulator, not both";
        return false;
    }
    return true;
}

std::string ToolboxUsage()
{
    return "usage: halcyra-toolbox [--port DEVICE | --simulator [--sim-OPTION ...]] [--no-splash]\n"
           "                       [--render DIR] [--measure-startup] [--trace FILE]\n"
           "\n"
           "  --port DEVICE      the controller's serial port (default: the first port found)\n"
           "  --simulator        start a simulated controller in-process and talk to it\n"
           "                     through a pseudo-terminal; its options carry a sim- prefix:\n" +
           sim::SimOptionsUsage("--sim-") +
           "  --no-splash        start without the splash picture\n"
           "  --render DIR       draw the main dialog, its dialogs, each tab of the setup sheet,\n"
           "                     the details of the first fault listed and the Information page\n"
           "                     into PNG files in DIR, each with a text listing of its controls,\n"
           "                     then exit;\n"
           "                     message boxes go to standard error. Without a display:\n"
           "                     QT_QPA_PLATFORM=offscreen halcyra-toolbox --simulator --no-splash --render build/shots\n"
           "  --trace FILE       write every frame sent to and received from the controller to FILE,\n"
           "                     one per line\n"
           "  --measure-startup  print the milliseconds from start to the interactive main dialog\n"
           "                     and exit (message boxes go to standard error)\n";
}

std::vector<SerialPortInfo> CToolboxContext::Ports() const
{
    CSerialPortList list(options.sysClassTty, options.devDir);
    list.Enumerate();
    std::vector<SerialPortInfo> ports = list.Ports();
    if (!simulatorDevice.empty())
        ports.push_back({simulatorDevice, "Halcyra controller simulator"});
    return ports;
}

std::string CToolboxContext::StartupDevice() const
{
    if (!options.port.empty())
        return options.port;
    if (!simulatorDevice.empty())
        return simulatorDevice;
    CSerialPortList list(options.sysClassTty, options.devDir);
    if (auto first = list.FirstPortName())
        return *first;
    return link.CurrentPort();
}

} // namespace halcyra
