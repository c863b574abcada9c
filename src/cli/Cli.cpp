#include "cli/Cli.h"

#include "cli/Commands.h"
#include "cli/Completion.h"
#include "link/Files.h"
#include "link/SerialPort.h"
#include "link/TraceFile.h"
#include "pages/DataDirectories.h"
#include "sim/SimOptions.h"
#include "sim/SimServer.h"

#include <algorithm>
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <optional>

namespace halcyra::cli {

namespace {

// What the options before the command ask for.
struct Session {
    std::map<std::string, std::string, std::less<>> options; // each given, with its value
    sim::SimOptions simOptions;
    std::string firstSimOption;
    std::size_t command = 0; // where the command's name is

    bool Has(std::string_view option) const { return options.find(option) != options.end(); }
    std::string Value(std::string_view option) const
    {
        const auto it = options.find(option);
        return it == options.end() ? std::string() : it->second;
    }
};

std::vector<std::string> PortDevices()
{
    CSerialPortList list;
    list.Enumerate();
    std::vector<std::string> devices;
    for (const SerialPortInfo& port : list.Ports())
        devices.push_back(port.device);
    return devices;
}

// Reads the options before the command into session; a status when the run
// ends here (help, version, completion or a usage error).
std::optional<int> ReadGlobalOptions(const std::vector<std::string>& args, Session& session, std::ostream& out,
                                     std::ostream& err)
{
    std::size_t i = 0;
    for (; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            out << ProgramHelp();
            return kExitOk;
        }
        if (a == "--version") {
            out << "halcyra " HALCYRA_VERSION "\n";
            return kExitOk;
        }
        if (a == "--complete") {
            out << CompletionText(Complete({args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end()}, PortDevices));
            return kExitOk;
        }
        if (a.starts_with("--sim-")) {
            if (session.firstSimOption.empty())
                session.firstSimOption = a;
            std::string error;
            if (!sim::ParseSimOption(args, i, session.simOptions, error, "--sim-")) {
                err << "halcyra: " << error << "\n";
                return kExitUsage;
            }
            continue;
        }
        const GlobalOption* option = FindGlobalOption(a);
        if (!option && a.starts_with("-")) {
            err << "halcyra: unknown option " << EscapedName(a) << "\n";
            return kExitUsage;
        }
        if (!option)
            break;
        std::string value;
        if (option->row.value) {
            if (i + 1 >= args.size()) {
                err << "halcyra: " << a << " needs " << option->row.value << "\n";
                return kExitUsage;
            }
            value = args[++i];
        }
        session.options[a] = value;
    }
    session.command = i;
    if (!session.firstSimOption.empty() && !session.Has("--simulator")) {
        err << "halcyra: " << session.firstSimOption << " needs --simulator\n";
        return kExitUsage;
    }
    if (session.Has("--simulator") && session.Has("--port")) {
        err << "halcyra: use either --port or --simulator, not both\n";
        return kExitUsage;
    }
    if (i >= args.size()) {
        err << "halcyra: no command given; 'halcyra --help' lists them\n";
        return kExitUsage;
    }
    return std::nullopt;
}

// A word that names no command, or a command without its sub-command.
int UnknownCommand(const std::vector<std::string>& args, std::size_t at, std::ostream& err)
{
    const std::vector<const CommandRow*> family = CommandFamily(args[at]);
    if (family.empty()) {
        err << "halcyra: unknown command '" << EscapedName(args[at]) << "'; 'halcyra --help' lists them\n";
        return kExitUsage;
    }
    if (at + 1 < args.size())
        err << "halcyra: " << args[at] << " has no '" << EscapedName(args[at + 1]) << "'\n";
    err << UsageLines(family);
    return kExitUsage;
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

struct Streams {
    std::ostream& out;
    std::ostream& err;
    std::istream& in;
};

// Opens the controller's port (starting the simulator when asked) and runs
// the command; one that needs no controller runs without.
int ConnectAndRun(Session& session, const CommandRow& row, CommandArgs& args, Streams io, Json* document,
                  std::string& lastFailure)
{
    CTerminalNotifier notifier(io.err, io.in);
    const auto fail = [&](const std::string& text) {
        io.err << "halcyra: " << text << "\n";
        lastFailure = text;
        return kExitFailed;
    };
    const std::string tracePath = session.Value("--trace");
    std::unique_ptr<CTraceFile> trace;
    if (row.connects && !tracePath.empty()) {
        std::string error;
        trace = CTraceFile::Open(tracePath, error);
        if (!trace)
            return fail("cannot write the trace: " + error);
    }
    CControllerLink link(notifier);
    link.SetTrace(trace.get());
    std::unique_ptr<sim::CSimServer> server;
    std::string device = session.Value("--port");
    if (row.connects && session.Has("--simulator")) {
        server = std::make_unique<sim::CSimServer>(session.simOptions);
        std::string error;
        if (!server->Open(error))
            return fail("cannot start the simulator: " + error);
        server->Start();
        device = server->DevicePath();
    }
    if (row.connects && device.empty()) {
        CSerialPortList list;
        auto first = list.FirstPortName();
        if (!first)
            return fail("no serial port found; name one with --port DEVICE or use --simulator");
        device = *first;
    }
    if (row.connects) {
        try {
            link.Open(device, false);
        } catch (const CSerialException& e) {
            return fail(e.what());
        }
    }
    CDataDirectories directories;
    if (row.connects)
        directories.SetDataPath(CommandLineDataPath(notifier));
    CPageContext pages(link, notifier, directories);
    CommandContext context{link, notifier, pages, io.out, io.err, io.in, row, std::move(args), tracePath, document};
    try {
        const int status = row.run(context);
        // A failure a box told and no line of ours.
        if (status != kExitOk && lastFailure.empty())
            lastFailure = notifier.LastText();
        return status;
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
        lastFailure = e.what();
        return Failed(context, e.what());
    }
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

int UsageError(CommandContext& c, const std::string& message)
{
    c.err << "halcyra: " << message << "\n" << UsageLines({&c.command});
    return kExitUsage;
}

int CmdPorts(CommandContext& c)
{
    Json ports = Json::array();
    CSerialPortList list;
    list.Enumerate();
    for (const SerialPortInfo& p : list.Ports()) {
        if (c.json)
            ports.push_back(Json{{"device", p.device}, {"description", p.description}});
        else
            c.out << p.device << "\t" << p.description << "\n";
    }
    if (c.json)
        (*c.json)["ports"] = std::move(ports);
    return kExitOk;
}

int RunHalcyra(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, std::istream& in)
{
    Session session;
    if (const std::optional<int> status = ReadGlobalOptions(args, session, out, err))
        return *status;
    const std::optional<NamedCommand> named = FindCommand(args, session.command);
    if (!named)
        return UnknownCommand(args, session.command, err);
    const CommandRow& row = *named->row;
    const std::vector<std::string> words(args.begin() + static_cast<std::ptrdiff_t>(session.command + named->words),
                                         args.end());
    // --help among the command's options asks for its help.
    const auto optionsEnd = std::find(words.begin(), words.end(), "--");
    if (std::find(words.begin(), optionsEnd, "--help") != optionsEnd) {
        out << CommandHelp(row);
        return kExitOk;
    }
    CommandArgs parsed;
    if (std::string error; !ParseCommandArgs(row, words, parsed, error)) {
        err << "halcyra: " << error << "\n" << UsageLines({&row});
        return kExitUsage;
    }
    const bool json = session.Has("--json");
    if (json && !row.json) {
        err << "halcyra: --json is not available for " << row.name << "\n";
        return kExitUsage;
    }
    // What was last said of a failure: a line of ours or a box.
    std::string lastFailure;
    return Run(
        row.name, out, json,
        [&](Json* document) { return ConnectAndRun(session, row, parsed, {out, err, in}, document, lastFailure); },
        [&] { return lastFailure; });
}

} // namespace halcyra::cli
