#include "logging/LoggingConfiguration.h"

#include "link/ControllerLink.h"
#include "link/Notifier.h"
#include "logging/LoggingMessages.h"
#include "pages/DataDirectories.h"
#include "pages/PageContext.h"
#include "params/Param.h"
#include "params/ParamFile.h"
#include "setup/SetupBackup.h"
#include "setup/SetupFiles.h"

#include <filesystem>

namespace halcyra {

namespace {

void Stop(INotifier& notifier, const char* text, const char* caption)
{
    notifier.Notify(text, caption, MsgButtons::Ok, MsgIcon::Stop);
}

std::string FullPath(const std::string& path)
{
    std::error_code ec;
    std::filesystem::path full = std::filesystem::absolute(path, ec);
    return ec ? path : full.lexically_normal().string();
}

bool Upload(CControllerLink& link, CBlockTransfer& file, const BlockProgress& progress)
{
    file.SetProgress(progress);
    if (file.UploadFromFile(kSetupBlock))
        return true;
    Stop(link.Notifier(), kLogUploadFailedText, kLogConfigError);
    return false;
}

} // namespace

std::optional<LoggingConfiguration> ReadLoggingConfiguration(INotifier& notifier, std::FILE* file)
{
    // A file that cannot be a configuration (a picture, a program) is
    // refused before anything of it is sent.
    CUIntParam location("DblLocation");
    if (CheckParamTextFile(file) != ParamFileCheck::Ok || !location.ReadFromFile(file)) {
        Stop(notifier, kLogConfigReadFailedText, kLocationErrorCaption);
        return std::nullopt;
    }
    CUIntParam rate("DblRate");
    if (!rate.ReadFromFile(file)) {
        Stop(notifier, kLogConfigReadFailedText, kRateErrorCaption);
        return std::nullopt;
    }
    // Any other place for the log is a file for a controller this program does not know.
    if (location.value != kInternalLocation && location.value != kExternalLocation) {
        Stop(notifier, kLogConfigReadFailedText, kLocationErrorCaption);
        return std::nullopt;
    }
    return LoggingConfiguration{location.value, rate.value};
}

void ConfigureDataLogging(CPageContext& context, const LoggingWindows& windows, const BlockProgress& uploadProgress)
{
    CControllerLink& link = context.link;
    FileRequest request;
    request.mode = FileDialogMode::Open;
    request.directory = context.directories.ConfigurationDir();
    request.filter = kLoggingConfigFilter;
    request.defaultSuffix = kLoggingConfigExtension;
    const std::optional<std::string> path = context.files->ChooseFile(request);
    if (!path) {
        // Without a new configuration the log already in the controller can be managed.
        windows.internal();
        return;
    }
    CBlockTransfer file(link);
    if (!file.Open(*path, "rb")) {
        Stop(context.notifier, kLogConfigOpenFailedText, kLogConfigError);
        return;
    }
    const std::optional<LoggingConfiguration> configuration = ReadLoggingConfiguration(context.notifier, file.File());
    if (!configuration)
        return;
    // The configuration overwrites the controller's setup: that is saved first.
    SetupBackupOptions backup;
    backup.configurationDir = context.directories.ConfigurationDir();
    if (!BackUpBeforeOverwrite(link, backup).goOn)
        return;

    if (configuration->location == kInternalLocation) {
        if (!Upload(link, file, uploadProgress))
            return;
        file.Close();
        windows.internal();
        return;
    }

    // External: the controller streams to the PC for as long as the window
    // is open, and gets its present output setting back afterwards.
    CLogOutputGetMsg current;
    if (!link.Transact(current)) {
        Stop(context.notifier, kLogOutputUnreadText, kLogConfigError);
        return;
    }
    SendLogOutput(link, wire::logging::kExternalOutput);
    if (!Upload(link, file, uploadProgress)) {
        SendLogOutput(link, current.setting);
        return;
    }
    file.Close();
    windows.external({current.setting, configuration->rateIndex, FullPath(*path)});
}

} // namespace halcyra
