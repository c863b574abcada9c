// halcyra-sim: a simulated Halcyra controller on a pseudo-terminal.

#include "link/TraceFile.h"
#include "sim/SimServer.h"
#include "sim/TraceReplay.h"

#include <atomic>
#include <csignal>
#include <iostream>
#include <memory>

namespace {

std::atomic<bool> g_stop{false};

void OnSignal(int) { g_stop = true; }

void Usage(std::ostream& out)
{
    out << "usage: halcyra-sim [--link PATH] [--trace FILE] [--replay TRACE] [OPTION...]\n"
           "Simulates a Halcyra controller on a pseudo-terminal and prints the device to open.\n"
           "  --link PATH         also make PATH a symbolic link to that device\n"
           "  --trace FILE        write every frame received and sent to FILE\n"
           "  --replay TRACE      answer each request with the reply recorded in TRACE (a --trace\n"
           "                      file); requests the trace never saw are reported and not answered\n"
        << halcyra::sim::SimOptionsUsage("--");
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string tracePath;
    std::string replayPath;
    // --trace and --replay belong to this program, not to the simulated
    // controller's options.
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--trace" && args[i] != "--replay")
            continue;
        if (i + 1 >= args.size()) {
            std::cerr << "halcyra-sim: " << args[i] << " needs a file\n";
            return 2;
        }
        (args[i] == "--trace" ? tracePath : replayPath) = args[i + 1];
        args.erase(args.begin() + static_cast<std::ptrdiff_t>(i), args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
        --i;
    }
    halcyra::sim::SimOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--help" || args[i] == "-h") {
            Usage(std::cout);
            return 0;
        }
        if (args[i] == "--version") {
            std::cout << "halcyra-sim " HALCYRA_VERSION "\n";
            return 0;
        }
        std::string error;
        if (!halcyra::sim::ParseSimOption(args, i, options, error)) {
            std::cerr << "halcyra-sim: " << error << "\n";
            Usage(std::cerr);
            return 2;
        }
    }
    // Made before the server, so they outlive it.
    std::unique_ptr<halcyra::CTraceFile> trace;
    halcyra::sim::CTraceReplay replay;
    halcyra::sim::CSimServer server(options);
    // A setup file that is no setup is a mistake on the command line.
    if (std::string error; !server.LoadSetup(error)) {
        std::cerr << "halcyra-sim: " << error << "\n";
        return 2;
    }
    if (!tracePath.empty()) {
        std::string error;
        trace = halcyra::CTraceFile::Open(tracePath, error, "halcyra-sim");
        if (!trace) {
            std::cerr << "halcyra-sim: cannot write the trace: " << error << "\n";
            return 1;
        }
    }
    if (!replayPath.empty()) {
        std::string error;
        if (!replay.Load(replayPath, error)) {
            std::cerr << "halcyra-sim: cannot replay: " << error << "\n";
            return 1;
        }
    }
    server.SetTrace(trace.get());
    if (!replayPath.empty())
        server.SetReplay(&replay, [](const std::string& request) {
            std::cerr << "halcyra-sim: no recorded reply to request " << request << "\n";
        });
    std::string error;
    if (!server.Open(error)) {
        std::cerr << "halcyra-sim: " << error << "\n";
        return 1;
    }
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    std::cout << server.DevicePath() << std::endl;
    server.Run(g_stop);
    if (!replayPath.empty() && replay.Unmatched() > 0) {
        std::cerr << "halcyra-sim: " << replay.Unmatched() << " request(s) had no recorded reply\n";
        return 1;
    }
    return 0;
}
