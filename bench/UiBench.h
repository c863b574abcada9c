#pragma once
// What the benchmarks of the desktop app's pages share: an offscreen
// application, a notifier that counts the boxes shown, a link to a paced
// simulator (or to a port that is given) with the pages' context, and the
// processor time spent.

#include "PacedSimulator.h"
#include "WireTime.h"
#include "link/ControllerLink.h"
#include "link/Notifier.h"
#include "pages/DataDirectories.h"
#include "pages/ui/UiContext.h"

#include <QApplication>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <memory>
#include <string>

namespace halcyra::bench {

// Boxes go to standard error and are counted: a benchmark that saw one failed.
class CCountingNotifier final : public INotifier {
public:
    MsgAnswer Notify(const std::string& text, const std::string& caption, MsgButtons, MsgIcon) override
    {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
        ++shown;
        return MsgAnswer::Ok;
    }
    int shown = 0;
};

// The offscreen platform unless another is asked for, and numbers printed
// with a point whatever the locale.
class COffscreenApp {
public:
    COffscreenApp(int& argc, char** argv) : app_((PreferOffscreen(), argc), argv) { std::setlocale(LC_NUMERIC, "C"); }
    QApplication& App() { return app_; }

private:
    static void PreferOffscreen()
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app_;
};

// The link and the pages' context, on a simulator started in-process that
// paces its line at 38400 baud, or on the port given.
class CBenchController {
public:
    bool Connect(const std::string& port = {})
    {
        if (port.empty()) {
            simulator_ = std::make_unique<CPacedSimulator>();
            if (!simulator_->Connect(link))
                return false;
        } else {
            link.Open(port, false);
        }
        return true;
    }

    CCountingNotifier notifier;
    CControllerLink link{notifier};
    CDataDirectories directories;
    CUiContext context{link, notifier, directories};

private:
    std::unique_ptr<CPacedSimulator> simulator_;
};

// User and system time of this thread (RUSAGE_THREAD) or the whole process (RUSAGE_SELF).
inline double CpuSeconds(int who)
{
    rusage usage{};
    ::getrusage(who, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Windows shown one after another: the time until each was painted and
// the bytes its exchanges took.
struct CShowings {
    double seconds = 0;
    std::uint64_t sent = 0, received = 0;
};

// show(painted) builds and shows a window, calls painted() once it is
// painted, then closes it; the first `unmeasured` showings are left out.
template <typename Show> CShowings MeasureShowings(CControllerLink& link, int runs, int unmeasured, Show show)
{
    CShowings total;
    for (int i = -unmeasured; i < runs; ++i) {
        link.ResetCounters();
        const auto t0 = std::chrono::steady_clock::now();
        double taken = 0;
        show([&] { taken = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count(); });
        if (i < 0)
            continue;
        total.seconds += taken;
        total.sent += link.BytesSent();
        total.received += link.BytesReceived();
    }
    return total;
}

// The total against the wire time, then the figures of one showing.
inline void ReportShowings(const char* what, const char* perWhat, const CShowings& shown, int runs)
{
    Report(what, shown.seconds, shown.sent, shown.received);
    std::printf("per %s: %.1f ms, %.1f ms on the wire\n", perWhat, shown.seconds * 1000.0 / runs,
                WireSeconds(shown.sent + shown.received) * 1000.0 / runs);
}

// The polling benchmarks' command line: [SECONDS] [--port DEVICE].
struct PollingArgs {
    int seconds = 60;
    std::string port;
};

inline PollingArgs ParsePollingArgs(int argc, char** argv)
{
    PollingArgs args;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--port" && i + 1 < argc)
            args.port = argv[++i];
        else
            args.seconds = std::max(1, std::atoi(argv[i]));
    }
    return args;
}

} // namespace halcyra::bench
