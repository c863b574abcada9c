#pragma once
// Downloading the controller's internal data log (block 1) into a ".DBG"
// file, with a copy of the advanced setup (block 6) beside it.

#include "pages/FileChooser.h"
#include "setup/BlockTransfer.h"

#include <cstdint>
#include <functional>
#include <string>

namespace halcyra {

class CControllerLink;
class CDataDirectories;

inline constexpr std::uint8_t kDataLogBlock = 1;
inline constexpr const char* kLogFileFilter = "Data Logging Download Files (*.DBG)|*.dbg|All Files (*.*)|*.*||";
inline constexpr const char* kLogFileExtension = "dbg";
inline constexpr const char* kLogDownloadError = "Log Download Error";
inline constexpr const char* kLogFileOpenFailedText = "Error: Could not open specified file!";
inline constexpr const char* kLogDownloadFailedText = "Error: File download problem!";

// The save dialog for a ".DBG" file, in the configuration directory.
FileRequest LogFileRequest(const CDataDirectories& directories);
// The advanced setup's copy beside a log: run1.dbg gets run1.dbg.cfg.
std::string LogSetupCopyPath(const std::string& logPath);

enum class LogDownloadOutcome { Saved, Cancelled, Failed };

struct LogDownloadOptions {
    BlockProgress progress;
    // Asked before each chunk; true ends the download there.
    std::function<bool()> cancelled;
};

struct LogDownloadResult {
    LogDownloadOutcome outcome = LogDownloadOutcome::Failed;
    bool setupCopySaved = false;
};

// Fetches the data log chunk after chunk into a temporary file beside path
// and puts it in place only once all of it arrived: a failed or cancelled
// download leaves any file at path as it was. Then saves block 6 the same
// way to LogSetupCopyPath(path), quietly. Failures show their boxes.
LogDownloadResult DownloadDataLog(CControllerLink& link, const std::string& path,
                                  const LogDownloadOptions& options = {});

} // namespace halcyra
