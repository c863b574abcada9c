#include "logging/LogDownload.h"

#include "link/ControllerLink.h"
#include "link/Notifier.h"
#include "pages/DataDirectories.h"
#include "setup/AtomicFile.h"
#include "setup/SetupFiles.h"

namespace halcyra {

namespace {

LogDownloadResult Fail(CControllerLink& link, const char* text)
{
    link.Notifier().Notify(text, kLogDownloadError, MsgButtons::Ok, MsgIcon::Stop);
    return {};
}

} // namespace

FileRequest LogFileRequest(const CDataDirectories& directories)
{
    FileRequest request;
    request.mode = FileDialogMode::Save;
    request.directory = directories.ConfigurationDir();
    request.filter = kLogFileFilter;
    request.defaultSuffix = kLogFileExtension;
    return request;
}

std::string LogSetupCopyPath(const std::string& logPath) { return logPath + ".cfg"; }

LogDownloadResult DownloadDataLog(CControllerLink& link, const std::string& path, const LogDownloadOptions& options)
{
    CAtomicFile file;
    if (!file.Open(path))
        return Fail(link, kLogFileOpenFailedText);
    CBlockTransfer transfer(link, file.File());
    transfer.SetProgress(options.progress);
    std::uint32_t chunks = 0;
    if (!transfer.BeginDownload(kDataLogBlock, chunks))
        return Fail(link, kLogDownloadFailedText);
    // The chunks go back to back: each is asked for as soon as the last arrived.
    for (std::uint32_t i = 1; i <= chunks; ++i) {
        if (options.cancelled && options.cancelled())
            return {LogDownloadOutcome::Cancelled};
        if (!transfer.DownloadChunk(i)) {
            file.Discard();
            return Fail(link, kLogDownloadFailedText);
        }
    }
    if (!file.Commit())
        return Fail(link, kLogFileOpenFailedText);
    LogDownloadResult result{LogDownloadOutcome::Saved};
    result.setupCopySaved = SaveBlockToFile(link, LogSetupCopyPath(path), kAdvancedSetupBlock, true);
    return result;
}

} // namespace halcyra
