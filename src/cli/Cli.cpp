#include "cli/Cli.h"

#include "cli/Commands.h"
#include "link/SerialPort.h"
#include "link/TraceFile.h"
#include "pages/DataDirectories.h"
#include "sim/SimOptions.h"
#include "sim/SimServer.h"

#include <functional>
#include <iostream>
#include <map>
#include <memory>

namespace halcyra::cli {

namespace {

void Usage(std::ostream& out)
{
    out << "usage: halcyra [--port DEVICE | --simulator [--sim-OPTION ...]] [--trace FILE] [--json] COMMAND [ARGS]\n"
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
           "  restore-setup FILE [--yes] [--no-backup]\n"
           "                     restore the setup from FILE after confirming its vehicle model\n"
           "                     (--yes confirms without asking), then restart the controller; the\n"
           "                     controller's setup is first saved to Configuration Files/Backups\n"
           "                     (--no-backup: not)\n"
           "  faults             list the recorded faults, one per line\n"
           "  faults --show N    the details of listed fault N\n"
           "  faults --clear N   clear listed fault N and list the faults again\n"
           "  faults --report FILE  write every listed fault to a report file\n"
           "  pages config|calibration|diagnostics\n"
           "                     the titles of the pages that sheet holds for this controller, in order\n"
           "  log status         whether the controller is logging, and how much of its log memory is used\n"
           "  log start|stop|clear\n"
           "                     start, stop or clear the controller's internal logging\n"
           "  log download FILE  the internal data log to FILE and the advanced setup to FILE.cfg\n"
           "  log configure FILE.dlc [--output LOG.dbg] [--records N | --seconds S]\n"
           "                     upload a logging configuration; one that streams the log to the PC\n"
           "                     needs --output and saves records into LOG.dbg until N records, S\n"
           "                     seconds or Ctrl-C, then restores the logging output setting\n"
           "  vehicles           the controller's vehicle list: index, a tab, the model name\n"
           "  select-vehicle INDEX [--yes]\n"
           "                     make listed vehicle INDEX the vehicle model (--yes: without asking),\n"
           "                     restart the controller and print the model read back\n"
           "  load-profile FILE [--yes] [--no-backup]\n"
           "                     upload the vehicle profile FILE (.vdb) as the vehicle model, restart\n"
           "                     the controller and print the model read back\n"
           "  diag TITLE [--count N] [--interval MS]\n"
           "                     poll diagnostics page TITLE (as pages diagnostics lists it) N times\n"
           "                     (default 1), every MS milliseconds (default 250): one line per poll\n"
           "  diff-setup FILE    compare setup file FILE with the controller: the records whose values\n"
           "                     differ, then those the controller does not know; exit status 0 when\n"
           "                     they match, 1 when they differ, 2 when they could not be compared\n"
           "  service-report FILE.zip\n"
           "                     one zip for support: the Information page, the fault report, blocks\n"
           "                     5, 6 and 8, the version, the port and the --trace of this session;\n"
           "                     exit status 1 when the controller did not give all of it\n"
           "  install-report FILE.pdf [--installer NAME] [--customer NAME]\n"
           "                     the installation report as a PDF (A4 or Letter by the locale): the\n"
           "                     controller, the vehicle, its configuration pages, calibration\n"
           "                     results and faults; exit status 1 when a value could not be read\n"
           "\n"
           "Output:\n"
           "  --json             print one JSON document for get, info, check, faults, ports, pages,\n"
           "                     vehicles, diag and log status: names and values as read, failures as objects\n"
           "                     with their message (\"error\": {\"message\": ...}); exit status as without\n"
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
    bool json; // prints a JSON document under --json
};

const std::map<std::string, Command>& Commands()
{
    static const std::map<std::string, Command> commands = {
        {"get", {CmdGet, true, true}},
        {"set", {CmdSet, true, false}},
        {"check", {CmdCheck, true, true}},
        {"info", {CmdInfo, true, true}},
        {"save-setup", {CmdSaveSetup, true, false}},
        {"restore-setup", {CmdRestoreSetup, true, false}},
        {"faults", {CmdFaults, true, true}},
        {"pages", {CmdPages, true, true}},
        {"log", {CmdLog, true, true}},
        {"vehicles", {CmdVehicles, true, true}},
        {"select-vehicle", {CmdSelectVehicle, true, false}},
        {"load-profile", {CmdLoadProfile, true, false}},
        {"diag", {CmdDiag, true, true}},
        {"diff-setup", {CmdDiffSetup, true, false}},
        {"service-report", {CmdServiceReport, true, false}},
        {"install-report", {CmdInstallReport, true, false}},
    };
    return commands;
}

int ListPorts(std::ostream& out, Json* json)
{
    CSerialPortList list;
    list.Enumerate();
    Json ports = Json::array();
    for (const SerialPortInfo& p : list.Ports()) {
        if (json)
            ports.push_back(Json{{"device", p.device}, {"description", p.description}});
        else
            out << p.device << "\t" << p.description << "\n";
    }
    if (json)
        (*json)["ports"] = std::move(ports);
    return kExitOk;
}

// Runs a command; under --json its document then goes to out, with an error
// for a failure that set none of its own.
int Run(const std::string& name, std::ostream& out, bool json, const std::function<int(Json*)>& command,
        const std::function<std::string()>& failureText)
{
    if (!json)
        return command(nullptr);
    Json document{{"command", name}};
    const int status = command(&document);
    if (status != kExitOk && !document.contains("error")) {
        const std::string text = failureText();
        document["error"] = Failure(text.empty() ? "the command failed" : text);
    }
    out << document.dump(2) << "\n" << std::flush;
    return status;
}

} // namespace

int Failed(CommandContext& c, const std::string& message, int status)
{
    // A failure the last box already told is not told again.
    if (message != c.notifier.LastText())
        c.err << "halcyra: " << message << "\n";
    if (c.json && !c.json->contains("error"))
        (*c.json)["error"] = Failure(message);
    return status;
}

int RunHalcyra(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, std::istream& in)
{
    std::string device;
    std::string tracePath;
    bool simulator = false;
    bool json = false;
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
        } else if (a == "--json") {
            json = true;
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
        return Run(name, out, json, [&](Json* document) { return ListPorts(out, document); }, [] { return ""; });
    auto it = Commands().find(name);
    if (it == Commands().end()) {
        err << "halcyra: unknown command '" << name << "'\n";
        Usage(err);
        return kExitUsage;
    }
    if (json && !it->second.json) {
        err << "halcyra: --json is not available for " << name << "\n";
        return kExitUsage;
    }
    if (simulator && !device.empty()) {
        err << "halcyra: use either --port or --simulator, not both\n";
        return kExitUsage;
    }

    // What was last said of a failure: a line of ours or a box.
    std::string lastFailure;
    CTerminalNotifier notifier(err, in);
    const auto fail = [&](const std::string& text) {
        err << "halcyra: " << text << "\n";
        lastFailure = text;
        return kExitFailed;
    };
    const auto connectAndRun = [&](Json* document) -> int {
        std::unique_ptr<CTraceFile> trace;
        if (!tracePath.empty()) {
            std::string error;
            trace = CTraceFile::Open(tracePath, error);
            if (!trace)
                return fail("cannot write the trace: " + error);
        }
        CControllerLink link(notifier);
        link.SetTrace(trace.get());
        std::unique_ptr<sim::CSimServer> server;
        if (simulator) {
            server = std::make_unique<sim::CSimServer>(simOptions);
            std::string error;
            if (!server->Open(error))
                return fail("cannot start the simulator: " + error);
            server->Start();
            device = server->DevicePath();
        }
        if (!simulator && device.empty()) {
            CSerialPortList list;
            auto first = list.FirstPortName();
            if (!first)
                return fail("no serial port found; name one with --port DEVICE or use --simulator");
            device = *first;
        }
        try {
            link.Open(device, false);
        } catch (const CSerialException& e) {
            return fail(e.what());
        }
        CDataDirectories directories;
        directories.SetDataPath(CommandLineDataPath(notifier));
        CPageContext pages(link, notifier, directories);
        CommandContext context{link, notifier, pages, out, err, in, commandArgs, tracePath, document};
        try {
            return it->second.run(context);
        } catch (const CSerialException& e) {
            if (document)
                document->erase("error"); // the port failed under whatever the command said
            if (e.Reported()) {
                // The command's own message said it, and what it cost.
                if (document)
                    (*document)["error"] = Failure(notifier.LastText());
                lastFailure = notifier.LastText();
                return kExitFailed;
            }
            return Failed(context, e.what());
        }
    };
    return Run(name, out, json, connectAndRun, [&] { return lastFailure.empty() ? notifier.LastText() : lastFailure; });
}

} // namespace halcyra::cli
