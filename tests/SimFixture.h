#pragma once
// A simulated controller on a pseudo-terminal and a link to it (with the
// scratch directory most of their tests want).

#include "RecordingNotifier.h"
#include "ScratchDir.h"
#include "link/ControllerLink.h"
#include "sim/BlockFeature.h"
#include "sim/FaultFeature.h"
#include "sim/SimServer.h"

#include <gtest/gtest.h>

#include <string>

namespace halcyra::test {

// A simulator the test keeps, so its state can be examined afterwards.
struct Served {
    explicit Served(sim::SimOptions options = {}) : server(std::move(options))
    {
        std::string error;
        EXPECT_TRUE(server.Open(error)) << error;
        server.Start();
    }
    template <typename F> auto With(F f)
    {
        decltype(f(std::declval<sim::CSimController&>())) result{};
        server.WithController([&](sim::CSimController& s) { result = f(s); });
        return result;
    }
    std::uint64_t Requests()
    {
        return With([](sim::CSimController& s) { return s.RequestsSeen(); });
    }
    std::string Param(const std::string& name)
    {
        return With([&](sim::CSimController& s) { return s.Params().Get(name).value_or("<none>"); });
    }
    sim::CSimServer server;
};

// ... and a link to it.
struct Connected : Served {
    explicit Connected(sim::SimOptions options = {}) : Served(std::move(options)), link(notifier)
    {
        link.Open(server.DevicePath(), false);
    }
    CRecordingNotifier notifier;
    CControllerLink link;
};

inline sim::SimOptions WithExtra(std::initializer_list<std::pair<const char*, std::string>> extra)
{
    sim::SimOptions o;
    for (const auto& [name, value] : extra)
        o.settings.extra[name] = value;
    return o;
}

inline std::string AsText(const sim::Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

} // namespace halcyra::test
