// halcyra-sim: a simulated Halcyra controller on a pseudo-terminal.

#include "sim/SimServer.h"

#include <atomic>
#include <csignal>
#include <iostream>

namespace {

std::atomic<bool> g_stop{false};

void OnSignal(int) { g_stop = true; }

void Usage(std::ostream& out)
{
    out << "usage: halcyra-sim [--link PATH] [OPTION...]\n"
           "Simulates a Halcyra controller on a pseudo-terminal and prints the device to open.\n"
           "  --link PATH         also make PATH a symbolic link to that device\n"
        << halcyra::sim::SimOptionsUsage("--");
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    halcyra::sim::SimOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--help" || args[i] == "-h") {
            Usage(std::cout);
            return 0;
        }
        std::string error;
        if (!halcyra::sim::ParseSimOption(args, i, options, error)) {
            std::cerr << "halcyra-sim: " << error << "\n";
            Usage(std::cerr);
            return 2;
        }
    }
    halcyra::sim::CSimServer server(options);
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
