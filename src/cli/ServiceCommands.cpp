// diff-setup, service-report and the backups of the setup: the service tools for
// installers and support staff.

#include "app/DataPaths.h"
#include "cli/Commands.h"
#include "link/Files.h"
#include "setup/ServiceReport.h"
#include "setup/SetupCompare.h"

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <ostream>

namespace halcyra::cli {

std::string CommandLineDataPath(INotifier& notifier)
{
    std::optional<std::string> stored = EnvironmentVariable("HALCYRA_DATA_PATH");
    if (stored && stored->back() != '/')
        *stored += '/';
    std::error_code ec;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
    const std::string programDir = ec ? std::string() : Utf8FromPath(program.parent_path()) + "/";
    std::string appData;
    if (const auto xdg = EnvironmentVariable("XDG_DATA_HOME"))
        appData = *xdg;
    else if (const auto home = EnvironmentVariable("HOME"))
        appData = *home + "/.local/share";
    if (!appData.empty())
        appData += "/Veltrane/Fieldora Halcyra Toolbox II";
    return ChooseDataPath(stored, programDir, appData, notifier);
}

SetupBackupOptions SetupBackupFor(const CommandContext& c, bool noBackup, bool yes)
{
    // With --yes no one answers the question, so a failed backup stops the command.
    return {c.pages.directories.ConfigurationDir(), noBackup, !yes};
}

int CmdDiffSetup(CommandContext& c)
{
    // As diff(1): 0 the same, 1 different, 2 trouble.
    constexpr int kTrouble = 2;
    const std::string& path = c.args.operands[0];
    SetupComparison comparison;
    std::string error;
    try {
        if (CompareSetupWithController(c.link, path, comparison, error) != CompareResult::Compared) {
            c.err << "halcyra: " << error << "\n";
            return kTrouble;
        }
    } catch (const CSerialException& e) {
        c.err << "halcyra: " << e.what() << "\n";
        return kTrouble;
    }
    c.out << SetupComparisonText(comparison);
    return comparison.Matches() ? kExitOk : 1;
}

} // namespace halcyra::cli

namespace halcyra::cli {

int CmdServiceReport(CommandContext& c)
{
    const std::string& path = c.args.operands[0];
    ServiceReportInputs inputs;
    inputs.program = "halcyra " HALCYRA_VERSION;
    inputs.tracePath = c.tracePath;
    const ServiceReportResult result = WriteServiceReport(c.link, path, inputs);
    if (!result.written) {
        c.err << "halcyra: the service report could not be written: " << result.error << "\n";
        return kExitFailed;
    }
    std::string message = ServiceReportMessage(path, result);
    std::erase(message, '\r');
    c.out << message << "\n";
    // Written, but without everything the controller should have given.
    return result.missing.empty() ? kExitOk : kExitFailed;
}

} // namespace halcyra::cli
