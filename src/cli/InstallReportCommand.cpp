// install-report: the installation report as a PDF, as the desktop
// program's "Installation Report..." writes it.

#include "app/ConnectionCheck.h"
#include "app/InstallationReport.h"
#include "app/InstallationReportPdf.h"
#include "cli/Commands.h"
#include "link/Files.h"
#include "link/AtomicFile.h"

#include <ctime>
#include <optional>
#include <ostream>

namespace halcyra::cli {

namespace {

struct ReportArguments {
    std::string path;
    ReportPeople people;
};

// Nothing when a name given is none a report can print, with what is wrong said.
std::optional<ReportArguments> ParseArguments(const CommandContext& c)
{
    ReportArguments parsed{c.args.operands[0], {}};
    for (const auto& [option, name] : {std::pair{"--installer", &parsed.people.installer},
                                       std::pair{"--customer", &parsed.people.customer}}) {
        *name = c.args.Value(option).value_or("");
        if (const std::optional<std::string> problem = CheckReportName(*name)) {
            c.err << "halcyra: " << option << ": " << *problem << "\n";
            return std::nullopt;
        }
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
