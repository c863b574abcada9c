#pragma once
// Benchmarks talk to a simulated controller that paces its line like the
// real wire, through the real serial port code.

#include "link/ControllerLink.h"
#include "sim/SimServer.h"

#include <cstdio>
#include <string>

namespace halcyra::bench {

class CPacedSimulator {
public:
    explicit CPacedSimulator(sim::SimOptions options = {}) : server(Paced(std::move(options))) {}

    // Serves the simulator and opens link on it; false with a message on
    // standard error when it cannot start.
    bool Connect(CControllerLink& link)
    {
        std::string error;
        if (!server.Open(error)) {
            std::fprintf(stderr, "bench: %s\n", error.c_str());
            return false;
        }
        server.Start();
        link.Open(server.DevicePath(), false);
        return true;
    }

    sim::CSimServer server;

private:
    static sim::SimOptions Paced(sim::SimOptions options)
    {
        options.faults.paceBaud = 38400;
        return options;
    }
};

} // namespace halcyra::bench
