// External logging at 10 records a second from the simulator pacing at 38400
// baud: the processor time the program's own thread takes while records
// stream in, through the "External Data Logging" window (which watches the
// port) and as the command line takes them (waiting on the port). The
// simulator runs on a thread of its own and is not counted.

#include "UiBench.h"
#include "PacedSimulator.h"
#include "link/ControllerLink.h"
#include "link/Notifier.h"
#include "logging/ExternalLog.h"
#include "logging/LoggingConfiguration.h"
#include "logging/ui/ExtDataLoggingDlg.h"
#include "pages/DataDirectories.h"
#include "pages/ui/UiContext.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>

#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <deque>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

using namespace halcyra;

namespace {

using Clock = std::chrono::steady_clock;

struct GivenFiles final : IFileChooser {
    std::optional<std::string> ChooseFile(const FileRequest&) override
    {
        if (paths.empty())
            return std::nullopt;
        std::string path = paths.front();
        paths.pop_front();
        return path;
    }
    std::deque<std::string> paths;
};

void Report(const char* what, const CExternalLog& log, double seconds, double cpu)
{
    std::printf("%s: %u records saved in %.1f s (%.1f a second), %u dropped; %.1f ms of processor time, %.2f %% of "
                "one core\n",
                what, log.RecordsSaved(), seconds, log.RecordsSaved() / seconds, log.RecordsDropped(), cpu * 1000.0,
                100.0 * cpu / seconds);
}

} // namespace

int main(int argc, char** argv)
{
    bench::COffscreenApp offscreen(argc, argv);
    const double seconds = argc > 1 ? std::atof(argv[1]) : 20.0;
    const auto span = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));

    bench::CPacedSimulator simulator;
    bench::CCountingNotifier notifier;
    CControllerLink link(notifier);
    if (!simulator.Connect(link))
        return 1;
    CDataDirectories directories;
    CUiContext context(link, notifier, directories);
    GivenFiles files;
    context.files = &files;

    const std::filesystem::path dir = std::filesystem::temp_directory_path();
    const std::string stem = (dir / ("halcyra-bench-stream-" + std::to_string(::getpid()))).string();
    std::ofstream(stem + ".dlc") << "DblLocation: 1\r\nDblRate: 2\r\n";

    LoggingWindows windows;
    windows.internal = [] { std::fprintf(stderr, "bench: the configuration did not ask for external logging\n"); };
    bool window = true;
    windows.external = [&](const ExternalLogPlan& plan) {
        std::unique_ptr<CExternalLog> log = CExternalLog::Prepare(context, plan);
        if (!log)
            return;
        if (window) {
            CExtDataLoggingDlg dialog(context, *log);
            dialog.show();
            const Clock::time_point t0 = Clock::now();
            const double cpu0 = bench::CpuSeconds(RUSAGE_THREAD);
            dialog.OnStart();
            QEventLoop loop;
            QTimer::singleShot(std::chrono::duration_cast<std::chrono::milliseconds>(span), &loop, &QEventLoop::quit);
            loop.exec();
            const double cpu = bench::CpuSeconds(RUSAGE_THREAD) - cpu0;
            const double elapsed = std::chrono::duration<double>(Clock::now() - t0).count();
            dialog.OnStop();
            Report("window", *log, elapsed, cpu);
            dialog.OnDone();
            return;
        }
        const Clock::time_point t0 = Clock::now();
        const double cpu0 = bench::CpuSeconds(RUSAGE_THREAD);
        log->Start(t0);
        for (Clock::time_point now = t0; now < t0 + span; now = Clock::now()) {
            Clock::time_point wake = std::min(t0 + span, now + std::chrono::milliseconds(250));
            if (const auto deadline = log->NextDeadline())
                wake = std::min(wake, *deadline);
            log->TakeFramesUntil(wake);
        }
        const double cpu = bench::CpuSeconds(RUSAGE_THREAD) - cpu0;
        const double elapsed = std::chrono::duration<double>(Clock::now() - t0).count();
        log->Stop();
        Report("command line", *log, elapsed, cpu);
        log->Done();
    };
    for (bool inWindow : {true, false}) {
        window = inWindow;
        files.paths = {stem + ".dlc", stem + ".dbg"};
        ConfigureDataLogging(context, windows);
    }
    for (const char* suffix : {".dlc", ".dbg"})
        std::filesystem::remove(stem + suffix);
    return notifier.shown == 0 ? 0 : 1;
}
