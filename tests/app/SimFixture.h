#pragma once
// A simulated controller on a pseudo-terminal with a link to it.

#include "RecordingNotifier.h"
#include "link/ControllerLink.h"
#include "sim/SimServer.h"

#include <gtest/gtest.h>

namespace halcyra::test {

struct SimLink {
    explicit SimLink(sim::SimOptions options = {}) : server(std::move(options)), link(notifier)
    {
        std::string error;
        EXPECT_TRUE(server.Open(error)) << error;
        server.Start();
        link.Open(server.DevicePath(), false);
    }
    std::uint64_t Requests()
    {
        std::uint64_t n = 0;
        server.WithController([&](sim::CSimController& s) { n = s.RequestsSeen(); });
        return n;
    }
    std::string Param(const std::string& name)
    {
        std::string v;
        server.WithController([&](sim::CSimController& s) { v = s.Params().Get(name).value_or("<none>"); });
        return v;
    }
    sim::CSimServer server;
    CRecordingNotifier notifier;
    CControllerLink link;
};

inline sim::SimOptions WithExtra(std::initializer_list<std::pair<const char*, const char*>> extra)
{
    sim::SimOptions o;
    for (auto [k, v] : extra)
        o.settings.extra[k] = v;
    return o;
}

} // namespace halcyra::test
