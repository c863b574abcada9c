#include "logging/LoggingConfiguration.h"

#include "link/ControllerLink.h"
#include "link/Files.h"
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
    std::filesystem::path full = std::filesystem::absolute(PathFromUtf8(path), ec);
    return ec ? path : Utf8FromPath(full.lexically_normal());
}

bool Upload(CControllerLink& link, const std::string& text, const BlockProgress& progress)
{
    CBlockTransfer transfer(link);
    transfer.SetProgress(progress);
    if (transfer.UploadFromMemory(kSetupBlock, {text.begin(), text.end()}))
        return true;
    Stop(link.Notifier(), kLogUploadFailedText, kLogConfigError);
    return false;
}

} // namespace

std::optional<LoggingConfiguration> ReadLoggingConfiguration(INotifier& notifier, const ParamTextFile& file)
{
    // A file that cannot be a configuration (a picture, a program) is
    // refused before anything of it is sent.
    CUIntParam location("DblLocation");
    if (file.result != ParamFileRead::Read || !location.ReadFromText(file.text)) {
        notifier.Notify(kLogConfigReadFailedText + file.Note(), kLocationErrorCaption, MsgButtons::Ok,
                        MsgIcon::Stop);
        return std::nullopt;
    }
    CUIntParam rate("DblRate");
    if (!rate.ReadFromText(file.text)) {
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
    // Read whole and checked before anything is sent; what is sent is what was checked.
    const ParamTextFile file = ReadParamTextFile(*path);
    if (file.result == ParamFileRead::CannotOpen) {
        Stop(context.notifier, kLogConfigOpenFailedText, kLogConfigError);
        return;
    }
    const std::optional<LoggingConfiguration> configuration = ReadLoggingConfiguration(context.notifier, file);
    if (!configuration)
        return;
    // The configuration overwrites the controller's setup: that is saved first.
    SetupBackupOptions backup;
    backup.configurationDir = context.directories.ConfigurationDir();
    if (!BackUpBeforeOverwrite(link, backup).goOn)
        return;

    if (configuration->location == kInternalLocation) {
        if (!Upload(link, file.text, uploadProgress))
            return;
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
    if (!Upload(link, file.text, uploadProgress)) {
        SendLogOutput(link, current.setting);
        return;
    }
    windows.external({current.setting, configuration->rateIndex, FullPath(*path)});
}

} // namespace halcyra
