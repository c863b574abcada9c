// Downloading a 100 KB internal data log (and the advanced setup beside it)
// from the simulator pacing at 38400 baud: once as the command line does it,
// once through the "File Download Progress" window, which paints and takes
// Cancel between chunks. Each against the wire time of the bytes exchanged.

#include "UiBench.h"
#include "PacedSimulator.h"
#include "WireTime.h"
#include "link/ControllerLink.h"
#include "link/Notifier.h"
#include "logging/LogDownload.h"
#include "logging/ui/FileTransferProgressDlg.h"
#include "pages/DataDirectories.h"
#include "pages/ui/UiContext.h"

#include <QApplication>

#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

using namespace halcyra;

namespace {

template <typename F> bool Measure(const char* what, CControllerLink& link, F download)
{
    link.ResetCounters();
    const auto t0 = std::chrono::steady_clock::now();
    const bool saved = download();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    bench::Report(what, seconds, link.BytesSent(), link.BytesReceived());
    return saved;
}

} // namespace

int main(int argc, char** argv)
{
    bench::COffscreenApp offscreen(argc, argv);
    const unsigned long length = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100 * 1024;

    sim::SimOptions options;
    options.settings.extra["log-length"] = std::to_string(length);
    bench::CPacedSimulator simulator(options);
    bench::CCountingNotifier notifier;
    CControllerLink link(notifier);
    if (!simulator.Connect(link))
        return 1;
    CDataDirectories directories;
    CUiContext context(link, notifier, directories);

    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("halcyra-bench-log-" + std::to_string(::getpid()) + ".dbg");
    char what[128];
    std::snprintf(what, sizeof what, "a %lu-byte data log and its setup copy, command line", length);
    bool ok = Measure(what, link, [&] {
        return DownloadDataLog(link, file.string()).outcome == LogDownloadOutcome::Saved;
    });
    std::snprintf(what, sizeof what, "a %lu-byte data log and its setup copy, progress window", length);
    ok = Measure(what, link, [&] {
             CFileTransferProgressDlg progress(context);
             return progress.Download(file.string()).outcome == LogDownloadOutcome::Saved;
         }) && ok;
    std::filesystem::remove(file);
    std::filesystem::remove(file.string() + ".cfg");
    return ok && notifier.shown == 0 ? 0 : 1;
}
