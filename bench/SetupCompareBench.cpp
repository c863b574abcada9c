// Comparing a setup file with the controller, against the simulator pacing
// at 38400 baud: the comparison as built (the setup block read once) beside
// one get per setting, each against the wire time of one block download.

#include "PacedSimulator.h"
#include "WireTime.h"
#include "link/ControllerLink.h"
#include "link/Notifier.h"
#include "params/Param.h"
#include "params/ParamFile.h"
#include "setup/SetupCompare.h"
#include "setup/SetupFiles.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

using namespace halcyra;

namespace {

double Seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::atoi(argv[1]) : 3;
    bench::CPacedSimulator simulator{sim::SimOptions{}};
    CSilentNotifier notifier;
    CControllerLink link(notifier);
    if (!simulator.Connect(link))
        return 1;
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("halcyra-bench-compare-" + std::to_string(::getpid()) + ".cfg");
    link.ResetCounters();
    if (!SaveBlockToFile(link, file.string(), kSetupBlock, true))
        return 1;
    const double blockWire = bench::WireSeconds(link.BytesSent() + link.BytesReceived());
    std::printf("one setup block download: %.3f s on the wire\n", blockWire);

    int failures = 0;
    double compared = 0;
    std::size_t settings = 0;
    link.ResetCounters();
    for (int i = 0; i < runs; ++i) {
        SetupComparison comparison;
        std::string error;
        const auto t0 = std::chrono::steady_clock::now();
        if (CompareSetupWithController(link, file.string(), comparison, error) != CompareResult::Compared ||
            !comparison.Matches())
            ++failures;
        compared += Seconds(t0);
        settings = comparison.compared;
    }
    std::printf("comparison reading the block: %.3f s each, %.3f x one block's wire time (%zu settings)\n",
                compared / runs, compared / runs / blockWire, settings);
    bench::Report("  its own traffic", compared, link.BytesSent(), link.BytesReceived());

    double byName = 0;
    link.ResetCounters();
    for (int i = 0; i < runs; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        for (const SetupRecord& record : ReadSetupRecords(ReadParamTextFile(file.string()).text)) {
            if (IsReadOnlyReading(record.name))
                continue;
            CParamTextMsg get(CParamTextMsg::Get, record.name);
            if (!link.Transact(get, kQuietTransact))
                ++failures;
        }
        byName += Seconds(t0);
    }
    std::printf("one get per setting: %.3f s each, %.3f x one block's wire time\n", byName / runs,
                byName / runs / blockWire);
    std::filesystem::remove(file);
    if (failures)
        std::printf("%d comparisons or gets failed\n", failures);
    return failures ? 1 : 0;
}
