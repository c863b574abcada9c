// Named-parameter gets against a simulator that delays, drops, damages and
// prefixes its replies with noise: every answer taken must be the right
// parameter's value, and nearly every get must be answered.
//
//   bench_param_soak [COUNT] [--paced]
//
// Defaults: 10000 gets; replies 3 % delayed by 1500 ms (past the 1000 ms
// time-out, so they reach later gets), 2 % damaged, 2 % dropped, 16 noise
// bytes before each; unpaced unless --paced (38400 baud).

#include "WireTime.h"
#include "link/ControllerLink.h"
#include "link/Notifier.h"
#include "params/Param.h"
#include "sim/SimServer.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

using namespace halcyra;

int main(int argc, char** argv)
{
    int count = 10000;
    bool paced = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--paced") == 0)
            paced = true;
        else
            count = std::atoi(argv[i]);
    }
    sim::SimOptions options;
    options.faults.delay = std::chrono::milliseconds(1500);
    options.faults.delayShare = 0.03;
    options.faults.corruptShare = 0.02;
    options.faults.dropShare = 0.02;
    options.faults.noiseBytes = 16;
    options.faults.seed = 7;
    options.faults.paceBaud = paced ? 38400 : 0;
    sim::CSimServer server(options);
    std::string error;
    if (!server.Open(error)) {
        std::fprintf(stderr, "bench: %s\n", error.c_str());
        return 1;
    }
    server.Start();
    CSilentNotifier notifier;
    CControllerLink link(notifier);
    link.Open(server.DevicePath(), false);

    std::map<std::string, std::string> store;
    server.WithController([&](sim::CSimController& s) { store = s.Params().Values(); });
    // Settings only: read-only readings change by themselves between the
    // snapshot and the get.
    std::vector<std::string> names;
    for (const auto& [name, value] : store)
        if (!IsReadOnlyReading(name))
            names.push_back(name);

    int answered = 0, wrong = 0, unanswered = 0, rejectedFrames = 0, declinedFrames = 0;
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < count; ++i) {
        const std::string& name = names[static_cast<std::size_t>(i) % names.size()];
        CParamTextMsg msg(CParamTextMsg::Get, name);
        if (link.Transact(msg, kQuietTransact)) {
            ++answered;
            if (msg.Text() != name + ": " + store[name]) {
                ++wrong;
                std::printf("wrong answer to get %s: %s\n", name.c_str(), msg.Text().c_str());
            }
        } else {
            ++unanswered;
        }
        rejectedFrames += msg.RejectedFrames();
        declinedFrames += msg.DeclinedFrames();
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    char what[96];
    std::snprintf(what, sizeof what, "%d gets%s", count, paced ? " paced at 38400 baud" : "");
    bench::Report(what, seconds, link.BytesSent(), link.BytesReceived());
    const double share = count ? 100.0 * answered / count : 100.0;
    std::printf("answered %d (%.2f %%), unanswered %d, wrong values %d; damaged replies rejected %d, late replies "
                "passed over %d\n",
                answered, share, unanswered, wrong, rejectedFrames, declinedFrames);
    return wrong == 0 && share >= 99.0 ? 0 : 1;
}
