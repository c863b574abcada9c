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
// Where a log whose setup copy could not be had is kept, never over a log
// and copy that belong together: run1.dbg becomes run1-without-setup-copy.dbg
// (or -2, -3, ... when that name is taken).
std::string LogWithoutCopyPath(const std::string& logPath);

enum class LogDownloadOutcome { Saved, Cancelled, Failed };

struct LogDownloadOptions {
    BlockProgress progress;
    // Asked before each chunk; true ends the download there.
    std::function<bool()> cancelled;
};

struct LogDownloadResult {
    LogDownloadOutcome outcome = LogDownloadOutcome::Failed;
    bool setupCopySaved = false;
    // Where the log went: path, or LogWithoutCopyPath(path) when the setup
    // copy could not be had; empty when nothing was saved.
    std::string savedAs;
};

// Fetches the data log chunk after chunk, then block 6, each into a
// temporary file beside its destination, and puts both in place only once
// both arrived: a log and its setup copy always belong together. A failed or
// cancelled log download leaves the files there as they were; a log whose
// setup copy failed is kept under LogWithoutCopyPath(path), said in one box.
// A port failure still propagates, already reported.
LogDownloadResult DownloadDataLog(CControllerLink& link, const std::string& path,
                                  const LogDownloadOptions& options = {});

} // namespace halcyra
