#pragma once
// A copy of the controller's setup (block 5), taken before anything
// overwrites it: a setup restore, a vehicle profile upload, a logging
// configuration upload. Copies go to "Configuration Files/Backups" as
// <serial number>-<YYYYMMDD>-<HHMMSS>.cfg, written atomically; the last 20
// per controller are kept, and none younger than 30 days is ever deleted.

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

namespace halcyra {

class CControllerLink;

inline constexpr const char* kBackupsDirName = "Backups";
inline constexpr std::size_t kBackupsKeptPerController = 20;
inline constexpr std::chrono::hours kBackupMinimumAge{30 * 24};

// How an operation that overwrites block 5 backs it up first.
struct SetupBackupOptions {
    // The "Configuration Files" directory; Backups is made inside it. Empty:
    // no backup is taken (for callers that have nowhere to put one).
    std::string configurationDir;
    bool skip = false; // the user asked for none (--no-backup)
    // Whether to ask the user when no backup could be made. Without asking
    // (no one there to answer), the operation stops with a message.
    bool askWhenFailed = true;
};

// The outcome of BackUpBeforeOverwrite.
struct SetupBackup {
    bool goOn = false; // false: the user chose not to go on without a backup
    std::string path;  // the backup made; empty when none was
};

// Saves block 5 to a new backup file, then applies the retention rule. When
// the copy cannot be made, asks (Yes/No) whether to go on without one.
// Every operation that writes block 5 calls this first and, when it
// succeeds, names the backup in its completion message (BackupNote).
SetupBackup BackUpBeforeOverwrite(CControllerLink& link, const SetupBackupOptions& options);

// "\r\n\r\nThe previous setup was saved to <path>", or nothing without a backup.
std::string BackupNote(const SetupBackup& backup);
// What an upload into the setup block cut off by a port failure leaves, and
// how to finish: redo names the upload to run again ("restore the setup
// file again"); the backup, when one was made, is the other way back.
std::string InterruptedUploadText(const std::string& failure, const std::string& redo, const SetupBackup& backup);

// The lower-level steps, for tests and tools.
// A serial number as a file name: letters, digits, '-' and '_' kept, others
// made '_'; "unknown" when empty.
std::string BackupSerialName(const std::string& serial);
// <dir>/<serial>-<YYYYMMDD>-<HHMMSS>.cfg for a local time, with "-2", "-3"...
// before ".cfg" when that name is taken.
std::string BackupFileName(const std::string& dir, const std::string& serial,
                           std::chrono::system_clock::time_point when);
// Saves block 5 into dir (made when missing); the path, or empty with the reason.
std::string SaveSetupBackup(CControllerLink& link, const std::string& dir, const std::string& serial,
                            std::chrono::system_clock::time_point now, std::string& error);
// Deletes the controller's backups beyond the newest kept ones, but only
// those older than the minimum age; other controllers' backups and other
// files are left alone. Returns the paths deleted.
std::vector<std::string> PruneSetupBackups(const std::string& dir, const std::string& serial,
                                           std::chrono::system_clock::time_point now,
                                           std::size_t keep = kBackupsKeptPerController,
                                           std::chrono::hours minimumAge = kBackupMinimumAge);

} // namespace halcyra
