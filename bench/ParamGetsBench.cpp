// 200 named-parameter gets against the simulator pacing at 38400 baud.

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
    sim::SimOptions options;
    options.faults.paceBaud = 38400;
    sim::CSimServer server(options);
    std::string error;
    if (!server.Open(error)) {
        std::fprintf(stderr, "bench: %s\n", error.c_str());
        return 1;
    }
    std::vector<std::string> names;
    server.WithController([&](sim::CSimController& s) {
        for (const auto& [name, value] : s.Params().Values())
            names.push_back(name);
    });
    server.Start();

    CSilentNotifier notifier;
    CControllerLink link(notifier);
    link.Open(server.DevicePath(), false);

    int failures = 0;
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < count; ++i) {
        CStringParam raw(names[static_cast<std::size_t>(i) % names.size()]);
        CParamTextMsg msg(CParamTextMsg::Get, raw.Name());
        if (!link.Transact(msg, 1000, 3, true, false))
            ++failures;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    char what[64];
    std::snprintf(what, sizeof what, "%d named-parameter gets", count);
    bench::Report(what, seconds, link.BytesSent(), link.BytesReceived());
    if (failures)
        std::printf("%d gets failed\n", failures);
    server.Stop();
    return failures ? 1 : 0;
}
