// Opening the configuration sheet at its first page (the Vehicle Model page)
// against the simulator pacing at 38400 baud: the time from the sheet's
// construction, which chooses its pages from the controller's vehicle, until
// the page is painted, against the wire time of the bytes exchanged meanwhile.

#include "UiBench.h"
#include "config/ui/ConfigSheet.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace halcyra;

int main(int argc, char** argv)
{
    bench::COffscreenApp offscreen(argc, argv);
    const int runs = argc > 1 ? std::atoi(argv[1]) : 5;

    bench::CBenchController controller;
    if (!controller.Connect())
        return 1;
    CControllerLink& link = controller.link;
    CUiContext& context = controller.context;

    int pages = 0;
    // The first window a process shows loads fonts and styles; in the
    // program the main dialog has done that before the sheet is opened, so
    // a first opening goes unmeasured.
    const bench::CShowings shown = bench::MeasureShowings(link, runs, 1, [&context, &pages](auto painted) {
        CConfigSheet sheet(context);
        sheet.SetActivePage(0);
        sheet.show();
        QApplication::processEvents();
        painted();
        pages = sheet.GetPageCount();
        sheet.done(0);
    });
    char what[128];
    std::snprintf(what, sizeof what, "Configuration sheet (%d pages) opened at its first page %d times", pages, runs);
    bench::ReportShowings(what, "opening", shown, runs);
    return controller.notifier.shown ? 1 : 0;
}
