// halcyra-sim: a simulated Halcyra controller on a pseudo-terminal.

#include "link/TraceFile.h"
#include "sim/SimServer.h"

#include <atomic>
#include <csignal>
#include <iostream>
#include <memory>

namespace {

std::atomic<bool> g_stop{false};

void OnSignal(int) { g_stop = true; }

void Usage(std::ostream& out)
{
    out << "usage: halcyra-sim [--link PATH] [--trace FILE] [OPTION...]\n"
           "Simulates a Halcyra controller on a pseudo-terminal and prints the device to open.\n"
           "  --link PATH         also make PATH a symbolic link to that device\n"
           "  --trace FILE        write every frame received and sent to FILE\n"
        << halcyra::sim::SimOptionsUsage("--");
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string tracePath;
    // --trace belongs to this program, not to the simulated controller's options.
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--trace")
            continue;
        if (i + 1 >= args.size()) {
            std::cerr << "halcyra-sim: --trace needs a file\n";
            return 2;
        }
        tracePath = args[i + 1];
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
    std::unique_ptr<halcyra::CTraceFile> trace;
    if (!tracePath.empty()) {
        std::string error;
        trace = halcyra::CTraceFile::Open(tracePath, error, "halcyra-sim");
        if (!trace) {
            std::cerr << "halcyra-sim: cannot write the trace: " << error << "\n";
            return 1;
        }
    }
    halcyra::sim::CSimServer server(options);
    server.SetTrace(trace.get());
    std::string error;
    if (!server.Open(error)) {
        std::cerr << "halcyra-sim: " << error << "\n";
        return 1;
    }
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    std::cout << server.DevicePath() << std::endl;
    server.Run(g_stop);
    return 0;
}
