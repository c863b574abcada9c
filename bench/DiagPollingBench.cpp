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

#include "UiBench.h"
#include "WireTime.h"
#include "diagnostics/ui/DiagSheet.h"
#include "diagnostics/ui/DiagTrendView.h"
#include "diagnostics/ui/HCDiagnosticsPropertyPage.h"

#include <QApplication>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

using namespace halcyra;

int main(int argc, char** argv)
{
    bench::COffscreenApp offscreen(argc, argv);
    const auto [seconds, port] = bench::ParsePollingArgs(argc, argv);

    bench::CBenchController controller;
    if (!controller.Connect(port))
        return 1;
    CControllerLink& link = controller.link;
    CUiContext& context = controller.context;

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
    const double threadBefore = bench::CpuSeconds(RUSAGE_THREAD);
    const double processBefore = bench::CpuSeconds(RUSAGE_SELF);
    const auto start = std::chrono::steady_clock::now();
    QTimer::singleShot(std::chrono::seconds(seconds), Qt::PreciseTimer, &offscreen.App(), &QApplication::quit);
    QApplication::exec();
    const auto end = std::chrono::steady_clock::now();
    const double elapsed = std::chrono::duration<double>(end - start).count();
    const double threadCpu = bench::CpuSeconds(RUSAGE_THREAD) - threadBefore;
    const double processCpu = bench::CpuSeconds(RUSAGE_SELF) - processBefore;
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
                port.empty() ? " (the simulator's thread included)" : "");
    return controller.notifier.shown ? 1 : 0;
}
