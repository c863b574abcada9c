// The processor time the program spends while a calibration page polls the
// controller four times a second: the steering sensor page shown in the
// calibration sheet, its readings on the program's own timers, for a while
// (60 s unless told). The simulator runs paced at 38400 baud on a thread of
// its own, or in another process with --port; the figure is the program's
// thread alone (and the whole process beside it).
//
//     bench_calibration_poll [SECONDS] [--port DEVICE]

#include "CountingNotifier.h"
#include "PacedSimulator.h"
#include "calibration/ui/CalSheet.h"
#include "calibration/ui/CalSteerSensorPage.h"
#include "link/ControllerLink.h"
#include "link/Notifier.h"
#include "pages/DataDirectories.h"
#include "pages/ui/UiContext.h"

#include <QApplication>
#include <QTimer>

#include <sys/resource.h>

#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

using namespace halcyra;

namespace {

double CpuSeconds(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
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
        const std::string arg = argv[i];
        if (arg == "--port" && i + 1 < argc)
            port = argv[++i];
        else
            seconds = std::atoi(argv[i]);
    }

    bench::CCountingNotifier notifier;
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

    CCalSheet sheet(context);
    auto* page = dynamic_cast<CCalSteerSensorPage*>(sheet.Page(CalPage::SteerSensor));
    if (sheet.GetPageIndex(page) < 0) {
        std::fprintf(stderr, "bench: the controller's calibration sheet has no steering sensor page\n");
        return 1;
    }
    sheet.SetActivePage(page);
    sheet.show();
    int readings = 0;
    // Counted on the way to the page, which still shows every reading.
    page->Procedure().onChanged = [&readings, show = page->Procedure().onChanged] {
        ++readings;
        show();
    };

    link.ResetCounters();
    const double threadBefore = CpuSeconds(RUSAGE_THREAD);
    const double processBefore = CpuSeconds(RUSAGE_SELF);
    const auto t0 = std::chrono::steady_clock::now();
    QTimer::singleShot(std::chrono::seconds(seconds), &app, &QApplication::quit);
    app.exec();
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    const double thread = CpuSeconds(RUSAGE_THREAD) - threadBefore;
    const double process = CpuSeconds(RUSAGE_SELF) - processBefore;
    sheet.done(0);

    std::printf("steering sensor page polling for %.1f s: %d readings (%.2f per second), %llu bytes sent, %llu "
                "received\n",
                wall, readings, readings / wall, static_cast<unsigned long long>(link.BytesSent()),
                static_cast<unsigned long long>(link.BytesReceived()));
    std::printf("program thread: %.3f s of processor time = %.2f %% of one core\n", thread, 100.0 * thread / wall);
    std::printf("whole process%s: %.3f s = %.2f %% of one core\n", port.empty() ? " (simulator thread included)" : "",
                process, 100.0 * process / wall);
    return notifier.shown ? 1 : 0;
}
