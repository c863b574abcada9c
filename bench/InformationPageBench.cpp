// Showing the Information page (in a sheet of its own, as the Information
// command does) against the simulator pacing at 38400 baud: the time from
// the sheet's construction until it is painted, against the wire time of
// the bytes exchanged meanwhile.

#include "CountingNotifier.h"
#include "PacedSimulator.h"
#include "WireTime.h"
#include "link/ControllerLink.h"
#include "link/Notifier.h"
#include "pages/DataDirectories.h"
#include "pages/ui/HCPropertySheet.h"
#include "pages/ui/UiContext.h"
#include "setup/ui/InformationPage.h"
#include "sim/SimServer.h"

#include <QApplication>

#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>

using namespace halcyra;

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const int runs = argc > 1 ? std::atoi(argv[1]) : 5;

    bench::CPacedSimulator simulator;
    bench::CCountingNotifier notifier;
    CControllerLink link(notifier);
    if (!simulator.Connect(link))
        return 1;
    CDataDirectories directories;
    CUiContext context(link, notifier, directories);

    double seconds = 0;
    std::uint64_t sent = 0, received = 0;
    for (int i = 0; i < runs; ++i) {
        link.ResetCounters();
        const auto t0 = std::chrono::steady_clock::now();
        {
            CHCPropertySheet sheet(QStringLiteral("Halcyra Toolbox Information"));
            sheet.AddPage(new CInformationPage(context));
            sheet.show();
            QApplication::processEvents();
            seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
            sheet.done(0);
        }
        sent += link.BytesSent();
        received += link.BytesReceived();
    }
    char what[96];
    std::snprintf(what, sizeof what, "Information page shown %d times", runs);
    bench::Report(what, seconds, sent, received);
    std::printf("per showing: %.1f ms, %.1f ms on the wire\n", seconds * 1000.0 / runs,
                bench::WireSeconds(sent + received) * 1000.0 / runs);
    return notifier.shown ? 1 : 0;
}
