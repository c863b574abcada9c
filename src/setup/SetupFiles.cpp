#include "setup/SetupFiles.h"

#include "link/AtomicFile.h"
#include "link/ControllerLink.h"
#include "link/Files.h"
#include "link/Notifier.h"
#include "pages/PageLogic.h"
#include "link/SerialPort.h"
#include "params/Param.h"
#include "params/ParamFile.h"

#include <filesystem>

namespace halcyra {

namespace {

constexpr const char* kDownloadError = "Download Error";

void Stop(CControllerLink& link, const std::string& text)
{
    link.Notifier().Notify(text, kDownloadError, MsgButtons::Ok, MsgIcon::Stop);
}

std::string FullPath(const std::string& path)
{
    std::error_code ec;
    std::filesystem::path full = std::filesystem::absolute(PathFromUtf8(path), ec);
    return ec ? path : Utf8FromPath(full.lexically_normal());
}

} // namespace

bool SaveBlockToFile(CControllerLink& link, const std::string& path, std::uint8_t block, bool quiet,
                     const BlockProgress& progress)
{
    CAtomicFile file;
    if (!file.Open(path)) {
        Stop(link, "Error: Could not open specified file for writing!");
        return false;
    }
    CBlockTransfer transfer(link, file.File());
    transfer.SetProgress(progress);
    if (!transfer.DownloadToFile(block)) {
        file.Discard();
        Stop(link, "Error: File download problem!");
        return false;
    }
    if (!file.Commit()) {
        Stop(link, "Error: Could not open specified file for writing!");
        return false;
    }
    if (!quiet)
        link.Notifier().Notify("Setup saved successfully", "Save Complete", MsgButtons::Ok, MsgIcon::Information);
    return true;
}

std::string RestoreConfirmationText(const std::string& modelName, const std::string& fullPath)
{
    return "Vehicle model is: " + modelName + "\r\n\r\nConfiguration File is : " + EscapedName(fullPath) +
           "\r\n\r\nPlease verify the selected vehicle model. If it is correct, press OK to continue, otherwise "
           "press CANCEL to abort.";
}

bool RestoreBlockFromFile(CControllerLink& link, const std::string& path, const RestoreOptions& options,
                          RestoreOutcome* outcome)
{
    RestoreOutcome ignored;
    RestoreOutcome& result = outcome ? *outcome : ignored;
    result = RestoreOutcome::Failed;
    // Read whole and checked first: a file that cannot be a setup file (a
    // picture, a program, a huge log) is refused before anything is sent,
    // and what is sent is what was checked.
    const ParamTextFile file = ReadParamTextFile(path);
    if (file.result == ParamFileRead::CannotOpen) {
        Stop(link, "Error: Could not open specified file");
        return false;
    }
    CStringParam model("vms");
    if (file.result != ParamFileRead::Read || !model.ReadFromText(file.text)) {
        Stop(link, "Error reading specified configuration file!" + file.Note());
        return false;
    }
    INotifier& notifier = link.Notifier();
    const auto cancel = [&] {
        notifier.Notify("Setup restore has been cancelled", "Restore Cancelled", MsgButtons::Ok,
                        MsgIcon::Information);
        result = RestoreOutcome::Cancelled;
        return true;
    };
    if (notifier.Notify(RestoreConfirmationText(model.value, FullPath(path)), kAppTitle, MsgButtons::OkCancel,
                        MsgIcon::None) != MsgAnswer::Ok)
        return cancel();
    const SetupBackup backup = BackUpBeforeOverwrite(link, options.backup);
    if (!backup.goOn)
        return cancel();
    CBlockTransfer transfer(link);
    transfer.SetProgress(options.progress);
    bool uploaded = false;
    try {
        uploaded = transfer.UploadFromMemory(kSetupBlock, {file.text.begin(), file.text.end()});
    } catch (CSerialException& e) {
        Stop(link, InterruptedUploadText(e.what(), "restore the setup file again", backup));
        e.MarkReported();
        throw;
    }
    if (!uploaded) {
        // The controller's block may be partly written; it is not restarted.
        Stop(link, "Error: File download problem!" + BackupNote(backup));
        return false;
    }
    ResetControllerAndWait(link, options.busy, options.restartPause);
    notifier.Notify("Setup restored successfully" + BackupNote(backup), "Restore Complete", MsgButtons::Ok,
                    MsgIcon::Information);
    result = RestoreOutcome::Restored;
    return true;
}

} // namespace halcyra
