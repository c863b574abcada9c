// The steering angle page of the diagnostics sheet polling, offscreen, on its
// own ticks, for a while (60 s unless told): polls per second achieved
// against the 4 a second asked for, whether the polls drift from their
// schedule, the bytes they cost against the wire time, and the CPU the
// program's user-interface thread and whole process used meanwhile.
//
//   bench_diag_polling [SECONDS] [--port DEVICE]
//
// Without --port it starts a simulator in-process, pacing its line at 38400
// baud (its thread then counts towards the process); with --port it talks
// to a controller or to a halcyra-sim started with --pace 38400.

#include "PacedSimulator.h"
#include "WireTime.h"
#include "diagnostics/ui/DiagSheet.h"
#include "diagnostics/ui/DiagTrendView.h"
#include "diagnostics/ui/HCDiagnosticsPropertyPage.h"
#include "link/ControllerLink.h"
#include "link/Notifier.h"
#include "pages/DataDirectories.h"
#include "pages/ui/UiContext.h"

#include <QApplication>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

using namespace halcyra;

namespace {

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

double ThreadCpuSeconds()
{
    rusage usage{};
    ::getrusage(RUSAGE_THREAD, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// User and system time of the whole process, from /proc/self/stat.
double ProcessCpuSeconds()
{
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    // Fields after the command's closing parenthesis; utime and stime are the 12th and 13th of them.
    std::size_t at = text.rfind(')');
    if (at == std::string::npos)
        return 0;
    const char* p = text.c_str() + at + 2;
    unsigned long long utime = 0, stime = 0;
    for (int field = 1; field <= 13 && *p; ++field) {
        char* end = nullptr;
        const unsigned long long value = std::strtoull(p, &end, 10);
        if (field == 12)
            utime = value;
        if (field == 13)
            stime = value;
        p = std::strchr(p, ' ');
        if (!p)
            break;
        ++p;
    }
    return static_cast<double>(utime + stime) / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    int seconds = 60;
    std::string port;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--port") == 0 && i + 1 < argc)
            port = argv[++i];
        else
            seconds = std::max(1, std::atoi(argv[i]));
    }

    CCountingNotifier notifier;
    CControllerLink link(notifier);
    std::unique_ptr<bench::CPacedSimulator> simulator;
    if (port.empty()) {
        simulator = std::make_unique<bench::CPacedSimulator>();
        if (!simulator->Connect(link))
            return 1;
    } else {
        link.Open(port, false);
    }
    CDataDirectories directories;
    CUiContext context(link, notifier, directories);

    CDiagSheet sheet(context);
    CHCDiagnosticsPropertyPage& page = *sheet.Page(DiagPage::SteeringAngle);
    if (!page.IsInSheet()) {
        std::fprintf(stderr, "bench: the controller has no steering angle input\n");
        return 1;
    }
    sheet.SetActivePage(&page);
    sheet.show();
    QApplication::processEvents();

    link.ResetCounters();
    const int pollsBefore = page.Poll().Polls();
    const double threadBefore = ThreadCpuSeconds();
    const double processBefore = ProcessCpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    QTimer::singleShot(std::chrono::seconds(seconds), Qt::PreciseTimer, &app, &QApplication::quit);
    QApplication::exec();
    const auto end = std::chrono::steady_clock::now();
    const double elapsed = std::chrono::duration<double>(end - start).count();
    const double threadCpu = ThreadCpuSeconds() - threadBefore;
    const double processCpu = ProcessCpuSeconds() - processBefore;
    const int polls = page.Poll().Polls() - pollsBefore;

    // When each poll of the last minute ended, from the trend it drew.
    const std::vector<TrendLine> lines = page.Trend()->History().Lines(0, end, false);
    std::vector<double> at;
    for (const TrendLine& line : lines)
        for (const TrendPoint& point : line)
            at.push_back(point.seconds);
    std::sort(at.begin(), at.end());
    double worstLate = 0, drift = 0, meanInterval = 0;
    if (at.size() > 2) {
        // Against a schedule of 250 ms steps from the first poll drawn.
        for (std::size_t i = 0; i < at.size(); ++i)
            worstLate = std::max(worstLate, (at[i] - at[0]) - 0.25 * static_cast<double>(i));
        meanInterval = (at.back() - at.front()) / static_cast<double>(at.size() - 1);
        drift = (at.back() - at.front()) - 0.25 * static_cast<double>(at.size() - 1);
    }
    sheet.done(0);

    std::printf("steering angle page polled %d times in %.2f s: %.3f polls per second (4 asked for)\n", polls, elapsed,
                polls / elapsed);
    std::printf("polls drawn: %zu; mean interval %.2f ms; latest poll %.1f ms behind its schedule; "
                "drift over the run %.1f ms\n",
                at.size(), meanInterval * 1000, worstLate * 1000, drift * 1000);
    bench::Report("polling", elapsed, link.BytesSent(), link.BytesReceived());
    std::printf("CPU: user-interface thread %.2f s = %.2f %% of one core; whole process %.2f s = %.2f %%%s\n", threadCpu,
                100 * threadCpu / elapsed, processCpu, 100 * processCpu / elapsed,
                simulator ? " (the simulator's thread included)" : "");
    return notifier.shown ? 1 : 0;
}
