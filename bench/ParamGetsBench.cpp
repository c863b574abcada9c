// 200 named-parameter gets against the simulator pacing at 38400 baud.

#include "PacedSimulator.h"
#include "WireTime.h"
#include "link/ControllerLink.h"
#include "link/Notifier.h"
#include "params/Param.h"
#include "sim/SimServer.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

using namespace halcyra;

int main(int argc, char** argv)
{
    const int count = argc > 1 ? std::atoi(argv[1]) : 200;
    bench::CPacedSimulator simulator;
    CSilentNotifier notifier;
    CControllerLink link(notifier);
    if (!simulator.Connect(link))
        return 1;
    std::vector<std::string> names;
    simulator.server.WithController([&](sim::CSimController& s) {
        for (const auto& [name, value] : s.Params().Values())
            names.push_back(name);
    });

    int failures = 0;
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < count; ++i) {
        CStringParam raw(names[static_cast<std::size_t>(i) % names.size()]);
        CParamTextMsg msg(CParamTextMsg::Get, raw.Name());
        if (!link.Transact(msg, kQuietTransact))
            ++failures;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    char what[64];
    std::snprintf(what, sizeof what, "%d named-parameter gets", count);
    bench::Report(what, seconds, link.BytesSent(), link.BytesReceived());
    if (failures)
        std::printf("%d gets failed\n", failures);
    return failures ? 1 : 0;
}
