#include "cli/Cli.h"

#include "cli/Commands.h"
#include "link/SerialPort.h"
#include "link/TraceFile.h"
#include "pages/DataDirectories.h"
#include "sim/SimServer.h"

#include <iostream>
#include <map>
#include <memory>

namespace halcyra::cli {

namespace {

void Usage(std::ostream& out)
{
    out << "usage: halcyra [--port DEVICE | --simulator [--sim-OPTION ...]] [--trace FILE] COMMAND [ARGS]\n"
           "\n"
           "Commands:\n"
           "  ports              list the serial ports: device, a tab, the description\n"
           "  get NAME...        read named parameters; prints each reply \"NAME: value\"\n"
           "  set NAME VALUE [--no-verify]\n"
           "                     write a named parameter (VALUE in its text form, strings in quotes),\n"
           "                     then read it back and print the controller's reply; --no-verify\n"
           "                     skips the read-back (for names that only trigger an action)\n"
           "  check              check that a controller answers with compatible firmware\n"
           "  info               the controller's identity, as the Information page shows it\n"
           "  save-setup FILE [--block N]\n"
           "                     save controller block N (default 5, the setup) to FILE\n"
           "  restore-setup FILE [--yes]\n"
           "                     restore the setup from FILE after confirming its vehicle model\n"
           "                     (--yes confirms without asking), then restart the controller\n"
           "  faults             list the recorded faults, one per line\n"
           "  faults --show N    the details of listed fault N\n"
           "  faults --clear N   clear listed fault N and list the faults again\n"
           "  faults --report FILE  write every listed fault to a report file\n"
           "  pages config|calibration|diagnostics\n"
           "                     the titles of the pages that sheet holds for this controller, in order\n"
           "  vehicles           the controller's vehicle list: index, a tab, the model name\n"
           "  select-vehicle INDEX [--yes]\n"
           "                     make listed vehicle INDEX the vehicle model (--yes: without asking),\n"
           "                     restart the controller and print the model read back\n"
           "  load-profile FILE [--yes]\n"
           "                     upload the vehicle profile FILE (.vdb) as the vehicle model, restart\n"
           "                     the controller and print the model read back\n"
           "  diag TITLE [--count N] [--interval MS]\n"
           "                     poll diagnostics page TITLE (as pages diagnostics lists it) N times\n"
           "                     (default 1), every MS milliseconds (default 250): one line per poll\n"
           "\n"
           "Connection:\n"
           "  --port DEVICE      the controller's serial port (default: the first port found)\n"
           "  --trace FILE       write every frame sent and received to FILE, one per line\n"
           "  --simulator        start a simulated controller in-process and talk to it\n"
           "                     through a pseudo-terminal; its options carry a sim- prefix:\n"
        << sim::SimOptionsUsage("--sim-");
}

struct Command {
    int (*run)(CommandContext&);
    bool needsController;
};

const std::map<std::string, Command>& Commands()
{
    static const std::map<std::string, Command> commands = {
        {"get", {CmdGet, true}},
        {"set", {CmdSet, true}},
        {"check", {CmdCheck, true}},
        {"info", {CmdInfo, true}},
        {"save-setup", {CmdSaveSetup, true}},
        {"restore-setup", {CmdRestoreSetup, true}},
        {"faults", {CmdFaults, true}},
        {"pages", {CmdPages, true}},
        {"vehicles", {CmdVehicles, true}},
        {"select-vehicle", {CmdSelectVehicle, true}},
        {"load-profile", {CmdLoadProfile, true}},
        {"diag", {CmdDiag, true}},
    };
    return commands;
}

int ListPorts(std::ostream& out)
{
    CSerialPortList list;
    list.Enumerate();
    for (const SerialPortInfo& p : list.Ports())
        out << p.device << "\t" << p.description << "\n";
    return kExitOk;
}

} // namespace

int RunHalcyra(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, std::istream& in)
{
    std::string device;
    std::string tracePath;
    bool simulator = false;
    sim::SimOptions simOptions;
    std::string firstSimOption;
    std::size_t i = 0;
    for (; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            Usage(out);
            return kExitOk;
        }
        if (a == "--version") {
            out << "halcyra " HALCYRA_VERSION "\n";
            return kExitOk;
        }
        if (a == "--port") {
            if (i + 1 >= args.size()) {
                err << "halcyra: --port needs a device\n";
                return kExitUsage;
            }
            device = args[++i];
        } else if (a == "--trace") {
            if (i + 1 >= args.size()) {
                err << "halcyra: --trace needs a file\n";
                return kExitUsage;
            }
            tracePath = args[++i];
        } else if (a == "--simulator") {
            simulator = true;
        } else if (a.rfind("--sim-", 0) == 0) {
            if (firstSimOption.empty())
                firstSimOption = a;
            std::string error;
            if (!sim::ParseSimOption(args, i, simOptions, error, "--sim-")) {
                err << "halcyra: " << error << "\n";
                return kExitUsage;
            }
        } else {
            break;
        }
    }
    if (!firstSimOption.empty() && !simulator) {
        err << "halcyra: " << firstSimOption << " needs --simulator\n";
        return kExitUsage;
    }
    if (i >= args.size()) {
        Usage(err);
        return kExitUsage;
    }
    const std::string name = args[i];
    std::vector<std::string> commandArgs(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
    if (name == "ports")
        return ListPorts(out);
    auto it = Commands().find(name);
    if (it == Commands().end()) {
        err << "halcyra: unknown command '" << name << "'\n";
        Usage(err);
        return kExitUsage;
    }
    if (simulator && !device.empty()) {
        err << "halcyra: use either --port or --simulator, not both\n";
        return kExitUsage;
    }

    std::unique_ptr<CTraceFile> trace;
    if (!tracePath.empty()) {
        std::string error;
        trace = CTraceFile::Open(tracePath, error);
        if (!trace) {
            err << "halcyra: cannot write the trace: " << error << "\n";
            return kExitFailed;
        }
    }
    CTerminalNotifier notifier(err, in);
    CControllerLink link(notifier);
    link.SetTrace(trace.get());
    std::unique_ptr<sim::CSimServer> server;
    if (simulator) {
        server = std::make_unique<sim::CSimServer>(simOptions);
        std::string error;
        if (!server->Open(error)) {
            err << "halcyra: cannot start the simulator: " << error << "\n";
            return kExitFailed;
        }
        server->Start();
        device = server->DevicePath();
    } else if (device.empty()) {
        CSerialPortList list;
        auto first = list.FirstPortName();
        if (!first) {
            err << "halcyra: no serial port found; name one with --port DEVICE or use --simulator\n";
            return kExitFailed;
        }
        device = *first;
    }
    try {
        link.Open(device, false);
    } catch (const CSerialException& e) {
        err << "halcyra: " << e.what() << "\n";
        return kExitFailed;
    }
    CDataDirectories directories;
    CPageContext pages(link, notifier, directories);
    CommandContext context{link, notifier, pages, out, err, in, commandArgs};
    try {
        return it->second.run(context);
    } catch (const CSerialException& e) {
        err << "halcyra: " << e.what() << "\n";
        return kExitFailed;
    }
}

} // namespace halcyra::cli
