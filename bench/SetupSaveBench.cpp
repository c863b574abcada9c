// Saving the setup block (at least 4 KB) from the simulator pacing at 38400 baud.

#include "PacedSimulator.h"
#include "WireTime.h"
#include "link/ControllerLink.h"
#include "link/Notifier.h"
#include "setup/SetupFiles.h"
#include "sim/SimServer.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

using namespace halcyra;

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::atoi(argv[1]) : 3;
    sim::SimOptions options;
    // Enough further records for a setup of well over 4 KB, as a fully
    // configured controller carries.
    for (int i = 0; i < 120; ++i) {
        char record[48];
        std::snprintf(record, sizeof record, "BenchRecord%03d=%f", i, 0.125 * i);
        options.assignments.push_back(record);
    }
    bench::CPacedSimulator simulator(options);
    CSilentNotifier notifier;
    CControllerLink link(notifier);
    if (!simulator.Connect(link))
        return 1;
    std::size_t setupBytes = 0;
    simulator.server.WithController([&](sim::CSimController& s) { setupBytes = s.Params().ToText().size(); });

    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("halcyra-bench-setup-" + std::to_string(::getpid()) + ".cfg");
    int failures = 0;
    double seconds = 0;
    for (int i = 0; i < runs; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        if (!SaveBlockToFile(link, file.string(), kSetupBlock, true))
            ++failures;
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    }
    std::filesystem::remove(file);
    char what[96];
    std::snprintf(what, sizeof what, "%d saves of a %zu-byte setup block (%zu chunks each)", runs, setupBytes,
                  (setupBytes + 227) / 228);
    bench::Report(what, seconds, link.BytesSent(), link.BytesReceived());
    if (failures)
        std::printf("%d saves failed\n", failures);
    return failures ? 1 : 0;
}
