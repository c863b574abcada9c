// install-report: the installation report as a PDF, as the desktop
// program's "Installation Report..." writes it.

#include "app/ConnectionCheck.h"
#include "app/InstallationReport.h"
#include "app/InstallationReportPdf.h"
#include "cli/Commands.h"
#include "link/Files.h"
#include "setup/AtomicFile.h"

#include <ctime>
#include <optional>
#include <ostream>

namespace halcyra::cli {

namespace {

constexpr const char* kUsage = "usage: halcyra install-report FILE.pdf [--installer NAME] [--customer NAME]\n";

struct ReportArguments {
    std::string path;
    ReportPeople people;
};

// Nothing when the arguments are no report's, with what is wrong said.
std::optional<ReportArguments> ParseArguments(const CommandContext& c)
{
    ReportArguments parsed;
    for (std::size_t i = 0; i < c.args.size(); ++i) {
        const std::string& a = c.args[i];
        std::string* name = a == "--installer" ? &parsed.people.installer
                            : a == "--customer" ? &parsed.people.customer
                                                : nullptr;
        if (name) {
            if (i + 1 >= c.args.size()) {
                c.err << "halcyra: " << a << " needs a name\n";
                return std::nullopt;
            }
            *name = c.args[++i];
            if (const std::optional<std::string> problem = CheckReportName(*name)) {
                c.err << "halcyra: " << a << ": " << *problem << "\n";
                return std::nullopt;
            }
        } else if (parsed.path.empty() && !a.empty() && a[0] != '-') {
            parsed.path = a;
        } else {
            c.err << kUsage;
            return std::nullopt;
        }
    }
    if (parsed.path.empty()) {
        c.err << kUsage;
        return std::nullopt;
    }
    return parsed;
}

ProgressCallback PartProgress(std::ostream& err)
{
    return [&err](std::uint32_t done, std::uint32_t total) {
        if (done > 0)
            err << "reading the controller: part " << done << " of " << total << "\n" << std::flush;
    };
}

} // namespace

int CmdInstallReport(CommandContext& c)
{
    const std::optional<ReportArguments> arguments = ParseArguments(c);
    if (!arguments)
        return kExitUsage;
    // A destination that cannot be written is said before the controller is asked anything.
    CAtomicFile file;
    if (!file.Open(arguments->path))
        return Failed(c, "cannot write " + EscapedName(arguments->path) +
                             ": it is no writable file, or its folder does not take new files");
    if (!CheckHalcyraComms(c.link, true))
        return Failed(c, CheckFailureText(c));

    const InstallationReport report =
        GatherInstallationReport(c.link, arguments->people, std::time(nullptr), PartProgress(c.err));
    if (report.controllerStopped)
        c.err << "halcyra: " << ControllerStoppedText() << "\n";
    std::string pdf, error;
    if (!DrawInstallationReport(report, LocalePaper(), pdf, error))
        return Failed(c, "the installation report could not be drawn: " + error);
    if (std::fwrite(pdf.data(), 1, pdf.size(), file.File()) != pdf.size() || !file.Commit())
        return Failed(c, "cannot write " + EscapedName(arguments->path));

    std::string message = InstallationReportMessage(arguments->path, report);
    std::erase(message, '\r');
    c.out << message << "\n";
    // Written, but without everything the controller should have given.
    return report.NotReadCount() == 0 ? kExitOk : kExitFailed;
}

} // namespace halcyra::cli
