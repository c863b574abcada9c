#include "logging/LogDownload.h"

#include "link/AtomicFile.h"
#include "link/ControllerLink.h"
#include "link/Notifier.h"
#include "pages/DataDirectories.h"
#include "link/SerialPort.h"
#include "setup/SetupFiles.h"

#include <filesystem>

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

std::string LogWithoutCopyPath(const std::string& logPath)
{
    const std::filesystem::path path(logPath);
    const std::string stem = (path.parent_path() / path.stem()).string() + "-without-setup-copy";
    const std::string extension = path.extension().string();
    std::string candidate = stem + extension;
    std::error_code ec;
    for (int n = 2; std::filesystem::exists(std::filesystem::symlink_status(candidate, ec)); ++n)
        candidate = stem + "-" + std::to_string(n) + extension;
    return candidate;
}

namespace {

// The log arrived whole but its setup copy did not: the log is kept apart,
// and the pair already at path stays as it was.
LogDownloadResult KeepWithoutCopy(CControllerLink& link, CAtomicFile& log, const std::string& path,
                                  const std::string& why)
{
    const std::string keptAs = LogWithoutCopyPath(path);
    std::string text = "Error: The data log was downloaded, but the advanced setup that belongs with it could not "
                       "be (" + why + ").";
    LogDownloadResult result;
    if (log.CommitAs(keptAs)) {
        result.savedAs = keptAs;
        text += " The log was saved without it as " + keptAs + ".";
    } else {
        text += " The log could not be saved either.";
    }
    text += " " + path + " and " + LogSetupCopyPath(path) +
            " were left as they were. Download the log again to save both together.";
    link.Notifier().Notify(text, kLogDownloadError, MsgButtons::Ok, MsgIcon::Stop);
    return result;
}

// Block 6 into a temporary beside the log's copy path; then both files are
// put in place.
LogDownloadResult SaveWithSetupCopy(CControllerLink& link, CAtomicFile& log, const std::string& path)
{
    CAtomicFile copy;
    if (!copy.Open(LogSetupCopyPath(path)))
        return KeepWithoutCopy(link, log, path, "its file could not be written");
    bool copied = false;
    try {
        // The box below says it once, for the silent controller too.
        CControllerLink::CQuietErrors quiet(link);
        CBlockTransfer transfer(link, copy.File());
        copied = transfer.DownloadToFile(kAdvancedSetupBlock) && copy.Finish();
    } catch (CSerialException& e) {
        KeepWithoutCopy(link, log, path, e.what());
        e.MarkReported();
        throw;
    }
    if (!copied)
        return KeepWithoutCopy(link, log, path, "the controller did not send it");
    // The copy goes in first: a log is never left beside an older copy.
    if (!copy.Commit() || !log.Commit())
        return Fail(link, kLogFileOpenFailedText);
    LogDownloadResult result{LogDownloadOutcome::Saved, true, path};
    return result;
}

} // namespace

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
            return {LogDownloadOutcome::Cancelled, false, {}};
        if (!transfer.DownloadChunk(i)) {
            file.Discard();
            return Fail(link, kLogDownloadFailedText);
        }
    }
    if (!file.Finish())
        return Fail(link, kLogFileOpenFailedText);
    return SaveWithSetupCopy(link, file, path);
}

} // namespace halcyra
