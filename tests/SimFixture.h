#pragma once
// A simulated controller on a pseudo-terminal, a link to it, and a scratch
// directory.

#include "RecordingNotifier.h"
#include "link/ControllerLink.h"
#include "sim/BlockFeature.h"
#include "sim/FaultFeature.h"
#include "sim/SimServer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

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

class ScratchDir {
public:
    ScratchDir()
    {
        static int sequence = 0;
        path_ = std::filesystem::temp_directory_path() /
                ("halcyra-test-" + std::to_string(::getpid()) + "-" + std::to_string(sequence++));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(path_))
            names.push_back(e.path().filename().string());
        return names;
    }

private:
    std::filesystem::path path_;
};

inline std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void WriteAll(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline std::string AsText(const sim::Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

} // namespace halcyra::test
