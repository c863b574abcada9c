// The halcyra command line against the simulator over a real pseudo-terminal.

#include "CliSupport.h"
#include "SimFixture.h"
#include "link/SerialPort.h"
#include "sim/SimServer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include <atomic>
#include <fcntl.h>
#include <functional>
#include <optional>
#include <poll.h>
#include <sstream>
#include <termios.h>
#include <thread>
#include <unistd.h>

using namespace halcyra;
using namespace halcyra::test;

namespace {

std::string LastLine(const std::string& text)
{
    std::string t = text;
    while (!t.empty() && t.back() == '\n')
        t.pop_back();
    return t.substr(t.rfind('\n') == std::string::npos ? 0 : t.rfind('\n') + 1);
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// A controller that answers named-parameter requests from a script, on a
// pseudo-terminal: answer(operation, request text) gives the reply text, or
// nothing to stay silent.
class ScriptedController {
public:
    using Answer = std::function<std::optional<std::string>(std::uint8_t operation, const std::string& text)>;
    explicit ScriptedController(Answer answer) : answer_(std::move(answer))
    {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
        EXPECT_GE(master_, 0);
        ::grantpt(master_);
        ::unlockpt(master_);
        device_ = ::ptsname(master_);
        slave_ = ::open(device_.c_str(), O_RDWR | O_NOCTTY);
        termios tio{};
        ::tcgetattr(slave_, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(slave_, TCSANOW, &tio);
        thread_ = std::thread([this] { Serve(); });
    }
    ~ScriptedController()
    {
        stop_ = true;
        thread_.join();
        ::close(slave_);
        ::close(master_);
    }
    const std::string& Device() const { return device_; }
    int Requests() const { return requests_; }

private:
    void Serve()
    {
        CRxBuffer rx;
        while (!stop_) {
            pollfd p{master_, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0)
                continue;
            std::uint8_t buf[256];
            const ssize_t n = ::read(master_, buf, sizeof buf);
            for (ssize_t i = 0; i < n; ++i) {
                if (!rx.FeedByte(buf[i]))
                    continue;
                rx.ExposeHeader();
                const std::uint8_t operation = rx.Header(3);
                std::string text;
                for (int k = 2; k + 3 < rx.Count(); ++k)
                    text.push_back(static_cast<char>(rx.Peek(static_cast<std::size_t>(k))));
                rx.Reset();
                ++requests_;
                if (auto reply = answer_(operation, text)) {
                    const std::string bodyText = std::string{'\x40', '\x14', static_cast<char>(operation)} + *reply;
                    const sim::Bytes body(bodyText.begin(), bodyText.end());
                    const sim::Bytes frame = sim::CSimController::FrameReply(body);
                    EXPECT_EQ(::write(master_, frame.data(), frame.size()), static_cast<ssize_t>(frame.size()));
                }
            }
        }
    }

    Answer answer_;
    int master_ = -1;
    int slave_ = -1;
    std::string device_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<int> requests_{0};
};


} // namespace

TEST(Cli, GetPrintsEachReplyExactly)
{
    CliRun r = Halcyra({"--simulator", "get", "MonVerCVMajor", "vms", "dsu"});
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_EQ("MonVerCVMajor: 3\nvms: \"Fieldora 8240W\"\ndsu: 1\n", r.out);
    EXPECT_EQ("", r.err);
}

TEST(Cli, GetFailsForAnUnknownNameButGoesOn)
{
    CliRun r = Halcyra({"--simulator", "--sim-set", "zzq=7", "get", "nosuch", "zzq"});
    EXPECT_EQ(1, r.status);
    EXPECT_EQ("zzq: 7\n", r.out);
    EXPECT_NE(std::string::npos, r.err.find("get nosuch failed"));
}

TEST(Cli, AGetAnsweredWithAnotherNameFailsAtOnceAndSaysSo)
{
    // A firmware that answers a name it does not know with a text of its own.
    const auto started = std::chrono::steady_clock::now();
    CliRun r = Halcyra({"--simulator", "--sim-refusal-text", "ERR: unknown parameter", "get", "nosuch", "vtt"});
    const auto took = std::chrono::steady_clock::now() - started;
    EXPECT_EQ(1, r.status);
    EXPECT_EQ("vtt: 5\n", r.out);
    EXPECT_EQ("halcyra: get nosuch failed: the controller answered with another name: \"ERR: unknown parameter\"\n",
              r.err);
    // No three tries of a second each, no box.
    EXPECT_LT(took, std::chrono::milliseconds(2500));
}

TEST(Cli, GetSurvivesDroppedAndCorruptedReplies)
{
    CliRun dropped = Halcyra({"--simulator", "--sim-drop", "30", "--sim-seed", "1", "get", "vtt", "dsu", "vms", "vti"});
    EXPECT_EQ(0, dropped.status) << dropped.err;
    EXPECT_EQ("vtt: 5\ndsu: 1\nvms: \"Fieldora 8240W\"\nvti: 3\n", dropped.out);

    CliRun corrupted = Halcyra({"--simulator", "--sim-corrupt", "30", "--sim-seed", "1", "get", "vtt", "dsu", "vms", "vti"});
    EXPECT_EQ(0, corrupted.status) << corrupted.err;
    EXPECT_EQ(dropped.out, corrupted.out);
}

TEST(Cli, GetSaysForEachFailedNameWhetherTheControllerWasSilentOrGarbled)
{
    CliRun silent = Halcyra({"--simulator", "--sim-silent", "get", "vtt"});
    EXPECT_EQ(1, silent.status);
    EXPECT_EQ("", silent.out);
    EXPECT_EQ("Data Transfer Error: Communication Error Occured", silent.err.substr(0, silent.err.find('\n')));
    EXPECT_EQ(0u, LastLine(silent.err).find("halcyra: get vtt failed: no answer from the controller on /dev/"));

    // Every reply damaged: each name fails on its own, and the rest are still asked.
    CliRun garbled = Halcyra({"--simulator", "--sim-corrupt", "100", "get", "vtt", "dsu"});
    EXPECT_EQ(1, garbled.status);
    EXPECT_EQ("", garbled.out);
    for (const char* name : {"vtt", "dsu"})
        EXPECT_TRUE(Contains(garbled.err, std::string("halcyra: get ") + name + " failed: the controller answered, but its "))
            << garbled.err;
}

TEST(Cli, SetReadsTheValueBackAndPrintsTheControllersReply)
{
    Served sim;
    CliRun r = Halcyra({"--port", sim.server.DevicePath(), "set", "vms", "\"New Model\""});
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_EQ("vms: \"New Model\"\n", r.out);
    EXPECT_EQ("\"New Model\"", sim.Param("vms"));

    const std::uint64_t before = sim.Requests();
    CliRun unchecked = Halcyra({"--port", sim.server.DevicePath(), "set", "vtt", "4", "--no-verify"});
    EXPECT_EQ(0, unchecked.status) << unchecked.err;
    EXPECT_EQ("", unchecked.out);
    EXPECT_EQ(before + 1, sim.Requests());
}

TEST(Cli, SetFailsWhenTheControllerHoldsAnotherValueOrCannotBeRead)
{
    // Takes every set, but "dsu" stays 1 and "vms" never answers a get.
    ScriptedController controller([](std::uint8_t op, const std::string& text) -> std::optional<std::string> {
        if (op == 1)
            return "OK";
        if (text == "dsu")
            return "dsu: 1.000000";
        return std::nullopt;
    });
    CliRun other = Halcyra({"--port", controller.Device(), "set", "dsu", "3"});
    EXPECT_EQ(1, other.status);
    EXPECT_EQ("dsu: 1.000000\n", other.out);
    EXPECT_EQ("halcyra: set dsu failed: the controller holds 1.000000, not 3\n", other.err);

    // Numbers compare as numbers.
    CliRun same = Halcyra({"--port", controller.Device(), "set", "dsu", "1"});
    EXPECT_EQ(0, same.status) << same.err;

    CliRun unread = Halcyra({"--port", controller.Device(), "set", "vms", "\"X\""});
    EXPECT_EQ(1, unread.status);
    EXPECT_EQ("", unread.out);
    EXPECT_EQ(0u, LastLine(unread.err).find("halcyra: set vms: reading the value back failed: no answer"))
        << unread.err;
}

TEST(Cli, SetRefusesControlCharactersAndEmptyNamesBeforeSending)
{
    Served sim;
    const std::uint64_t before = sim.Requests();
    CliRun injected = Halcyra({"--port", sim.server.DevicePath(), "set", "ei11", "5\r\nvms: \"Injected\""});
    EXPECT_EQ(2, injected.status);
    EXPECT_EQ("halcyra: The value of ei11 holds a control character (CR at character 2); nothing was sent\n",
              injected.err);
    CliRun empty = Halcyra({"--port", sim.server.DevicePath(), "set", "", "5"});
    EXPECT_EQ(2, empty.status);
    EXPECT_TRUE(Contains(empty.err, "name is empty")) << empty.err;
    EXPECT_EQ(before, sim.Requests());
    EXPECT_EQ("\"Fieldora 8240W\"", sim.Param("vms"));
}

TEST(Cli, OverlongSetIsRefusedAndNothingIsSent)
{
    Served sim;
    const std::uint64_t before = sim.Requests();
    CliRun r = Halcyra({"--port", sim.server.DevicePath(), "set", "vms", "\"" + std::string(240, 'x') + "\""});
    EXPECT_EQ(1, r.status);
    EXPECT_EQ(0u, r.err.find("Error: The value of vms is too long")) << r.err;
    EXPECT_EQ(before, sim.Requests());
    EXPECT_EQ("\"Fieldora 8240W\"", sim.Param("vms"));
}

TEST(Cli, InfoChecksTheControllerFirstAndPrintsOnlyWhatWasRead)
{
    ScratchDir dir;
    // No monitor day: the date cannot be shown, everything else can.
    WriteAll(dir.File("setup.cfg"), "vms: \"Fieldora 8240W\"\r\nvtt: 5\r\nvti: 3\r\nMonVerCVMajor: 3\r\n"
                                    "MonVerCVMinor: 5\r\nMonVerCVMonth: 7\r\nMonVerCVYear: 9\r\n");
    CliRun partial = Halcyra({"--simulator", "--sim-setup", dir.File("setup.cfg"), "info"});
    EXPECT_EQ(1, partial.status);
    EXPECT_EQ("Serial Number: HC2-0042137\nApplication Version: 2.86\nApplication Date: 7/2/2009\n"
              "Options Installed: Logging, IMU, Lightbar, RTK\nVehicle Model: Fieldora 8240W\n"
              "Monitor Version: 3.05\nMonitor Date: ?\n",
              partial.out);

    CliRun incompatible = Halcyra({"--simulator", "--sim-compat-c", "0", "info"});
    EXPECT_EQ(1, incompatible.status);
    EXPECT_EQ("", incompatible.out);
    EXPECT_TRUE(Contains(incompatible.err, "Version Error: ")) << incompatible.err;
}

TEST(Cli, AFailedConnectionCheckIsToldOnce)
{
    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"check"}, {"info"}, {"diag", "Steering Angle"}}) {
        std::vector<std::string> args{"--simulator", "--sim-compat-c", "0"};
        args.insert(args.end(), command.begin(), command.end());
        const CliRun r = Halcyra(args);
        EXPECT_EQ(1, r.status) << command[0];
        EXPECT_EQ(1, std::count(r.err.begin(), r.err.end(), '\n')) << command[0] << ":\n" << r.err;
        EXPECT_EQ(0u, r.err.find("Version Error: ")) << r.err;
    }
}

TEST(Cli, TraceWritesOneLinePerFrame)
{
    ScratchDir dir;
    CliRun r = Halcyra({"--simulator", "--trace", dir.File("trace.txt"), "get", "vtt"});
    EXPECT_EQ(0, r.status) << r.err;
    std::istringstream trace(ReadAll(dir.File("trace.txt")));
    std::vector<std::string> lines;
    for (std::string line; std::getline(trace, line);)
        lines.push_back(line);
    ASSERT_EQ(3u, lines.size()) << ReadAll(dir.File("trace.txt"));
    EXPECT_EQ(0u, lines[0].find("# halcyra frame trace"));
    EXPECT_TRUE(Contains(lines[1], " TX sent [BE 40 14 00] 10 BE 40 14 00 76 74 74 ")) << lines[1];
    EXPECT_TRUE(Contains(lines[2], " RX accepted [BF 40 14 00] ")) << lines[2];
    EXPECT_TRUE(Contains(lines[2], "\"vtt: 5\"")) << lines[2];

    EXPECT_EQ(1, Halcyra({"--simulator", "--trace", dir.File("missing/trace.txt"), "get", "vtt"}).status);
}

TEST(Cli, PortsThatCannotBeOpenedSaySoInOneLine)
{
    CliRun missing = Halcyra({"--port", "/dev/halcyra-no-such-port", "get", "vtt"});
    EXPECT_EQ(1, missing.status);
    EXPECT_EQ("halcyra: /dev/halcyra-no-such-port does not exist\n", missing.err);

    Served sim;
    CSerialPort holder;
    holder.Open(sim.server.DevicePath());
    CliRun busy = Halcyra({"--port", sim.server.DevicePath(), "get", "vtt"});
    EXPECT_EQ(1, busy.status);
    EXPECT_NE(std::string::npos, busy.err.find("in use by another program"));
    EXPECT_EQ(1, std::count(busy.err.begin(), busy.err.end(), '\n'));
}

TEST(Cli, UsageErrorsExitWithTwo)
{
    EXPECT_EQ(2, Halcyra({}).status);
    EXPECT_EQ(2, Halcyra({"--simulator", "frobnicate"}).status);
    EXPECT_EQ(2, Halcyra({"--simulator", "set", "vtt"}).status);
    EXPECT_EQ(2, Halcyra({"--simulator", "--sim-drop", "150", "get", "vtt"}).status);
    EXPECT_EQ(2, Halcyra({"--port", "/dev/null", "--simulator", "get", "vtt"}).status);
}
