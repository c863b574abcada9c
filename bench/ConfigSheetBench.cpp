// Opening the configuration sheet at its first page (the Vehicle Model page)
// against the simulator pacing at 38400 baud: the time from the sheet's
// construction, which chooses its pages from the controller's vehicle, until
// the page is painted, against the wire time of the bytes exchanged meanwhile.

#include "PacedSimulator.h"
#include "WireTime.h"
#include "config/ui/ConfigSheet.h"
#include "link/ControllerLink.h"
#include "link/Notifier.h"
#include "pages/DataDirectories.h"
#include "pages/ui/UiContext.h"
#include "sim/SimServer.h"

#include <QApplication>

#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>

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

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const int runs = argc > 1 ? std::atoi(argv[1]) : 5;

    bench::CPacedSimulator simulator;
    CCountingNotifier notifier;
    CControllerLink link(notifier);
    if (!simulator.Connect(link))
        return 1;
    CDataDirectories directories;
    CUiContext context(link, notifier, directories);

    double seconds = 0;
    std::uint64_t sent = 0, received = 0;
    int pages = 0;
    // The first window a process shows loads fonts and styles; in the
    // program the main dialog has done that before the sheet is opened, so
    // a first opening goes unmeasured.
    for (int i = -1; i < runs; ++i) {
        link.ResetCounters();
        const auto t0 = std::chrono::steady_clock::now();
        {
            CConfigSheet sheet(context);
            sheet.SetActivePage(0);
            sheet.show();
            QApplication::processEvents();
            const double taken = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
            pages = sheet.GetPageCount();
            sheet.done(0);
            if (i < 0)
                continue;
            seconds += taken;
        }
        sent += link.BytesSent();
        received += link.BytesReceived();
    }
    char what[128];
    std::snprintf(what, sizeof what, "Configuration sheet (%d pages) opened at its first page %d times", pages, runs);
    bench::Report(what, seconds, sent, received);
    std::printf("per opening: %.1f ms, %.1f ms on the wire\n", seconds * 1000.0 / runs,
                bench::WireSeconds(sent + received) * 1000.0 / runs);
    return notifier.shown ? 1 : 0;
}
