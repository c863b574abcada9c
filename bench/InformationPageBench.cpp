// Showing the Information page (in a sheet of its own, as the Information
// command does) against the simulator pacing at 38400 baud: the time from
// the sheet's construction until it is painted, against the wire time of
// the bytes exchanged meanwhile.

#include "UiBench.h"
#include "pages/ui/HCPropertySheet.h"
#include "setup/ui/InformationPage.h"

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

    const bench::CShowings shown = bench::MeasureShowings(link, runs, 0, [&context](auto painted) {
        CHCPropertySheet sheet(QStringLiteral("Halcyra Toolbox Information"));
        sheet.AddPage(new CInformationPage(context));
        sheet.show();
        QApplication::processEvents();
        painted();
        sheet.done(0);
    });
    char what[96];
    std::snprintf(what, sizeof what, "Information page shown %d times", runs);
    bench::ReportShowings(what, "showing", shown, runs);
    return controller.notifier.shown ? 1 : 0;
}
