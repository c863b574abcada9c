#include "setup/SetupBackup.h"

#include "link/AtomicFile.h"
#include "link/ControllerLink.h"
#include "link/Files.h"
#include "link/Format.h"
#include "link/Notifier.h"
#include "setup/BlockTransfer.h"
#include "setup/InfoMessages.h"
#include "setup/SetupFiles.h"

#include <algorithm>
#include <cctype>
#include <ctime>
#include <filesystem>
#include <optional>

namespace halcyra {

namespace fs = std::filesystem;

namespace {

constexpr const char* kBackupFailedCaption = "Backup Failed";

std::string LocalStamp(std::chrono::system_clock::time_point when)
{
    const std::time_t t = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    LocalTimeOf(t, local);
    char text[32];
    const std::size_t n = std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    return std::string(text, n);
}

bool Digits(std::string_view text, std::size_t count)
{
    return text.size() == count &&
           std::all_of(text.begin(), text.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

// The time in the name of one of serial's backups ("<serial>-YYYYMMDD-HHMMSS[-N].cfg").
std::optional<std::chrono::system_clock::time_point> BackupTime(const std::string& name, const std::string& serial)
{
    const std::string prefix = serial + "-";
    if (name.rfind(prefix, 0) != 0 || name.size() < prefix.size() + 19 || !name.ends_with(".cfg"))
        return std::nullopt;
    const std::string_view rest = std::string_view(name).substr(prefix.size(), name.size() - prefix.size() - 4);
    if (!Digits(rest.substr(0, 8), 8) || rest[8] != '-' || !Digits(rest.substr(9, 6), 6))
        return std::nullopt;
    if (rest.size() > 15 && (rest[15] != '-' || !Digits(rest.substr(16), rest.size() - 16)))
        return std::nullopt;
    std::tm local{};
    local.tm_year = std::stoi(std::string(rest.substr(0, 4))) - 1900;
    local.tm_mon = std::stoi(std::string(rest.substr(4, 2))) - 1;
    local.tm_mday = std::stoi(std::string(rest.substr(6, 2)));
    local.tm_hour = std::stoi(std::string(rest.substr(9, 2)));
    local.tm_min = std::stoi(std::string(rest.substr(11, 2)));
    local.tm_sec = std::stoi(std::string(rest.substr(13, 2)));
    local.tm_isdst = -1;
    const std::time_t t = std::mktime(&local);
    if (t == static_cast<std::time_t>(-1))
        return std::nullopt;
    return std::chrono::system_clock::from_time_t(t);
}

} // namespace

std::string BackupSerialName(const std::string& serial)
{
    std::string name;
    for (char c : serial)
        name += std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' ? c : '_';
    return name.empty() ? "unknown" : name;
}

std::string BackupFileName(const std::string& dir, const std::string& serial, std::chrono::system_clock::time_point when)
{
    const std::string base = Utf8FromPath(PathFromUtf8(dir) / (BackupSerialName(serial) + "-" + LocalStamp(when)));
    std::string path = base + ".cfg";
    std::error_code ec;
    for (int n = 2; fs::exists(PathFromUtf8(path), ec); ++n)
        path = base + "-" + std::to_string(n) + ".cfg";
    return path;
}

std::string SaveSetupBackup(CControllerLink& link, const std::string& dir, const std::string& serial,
                            std::chrono::system_clock::time_point now, std::string& error)
{
    std::error_code ec;
    fs::create_directories(PathFromUtf8(dir), ec);
    if (ec) {
        error = "cannot make " + dir + ": " + ec.message();
        return {};
    }
    const std::string path = BackupFileName(dir, serial, now);
    CAtomicFile file;
    if (!file.Open(path)) {
        error = "cannot write " + path;
        return {};
    }
    CBlockTransfer transfer(link, file.File());
    if (!transfer.DownloadToFile(kSetupBlock)) {
        file.Discard();
        error = "the controller's setup could not be read";
        return {};
    }
    if (!file.Commit()) {
        error = "cannot write " + path;
        return {};
    }
    return path;
}

std::vector<std::string> PruneSetupBackups(const std::string& dir, const std::string& serial,
                                           std::chrono::system_clock::time_point now, std::size_t keep,
                                           std::chrono::hours minimumAge)
{
    const std::string name = BackupSerialName(serial);
    std::vector<std::pair<std::chrono::system_clock::time_point, fs::path>> backups;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(PathFromUtf8(dir), ec)) {
        if (!entry.is_regular_file(ec))
            continue;
        if (auto when = BackupTime(Utf8FromPath(entry.path().filename()), name))
            backups.emplace_back(*when, entry.path());
    }
    // Newest first.
    std::sort(backups.begin(), backups.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<std::string> deleted;
    for (std::size_t i = keep; i < backups.size(); ++i) {
        if (now - backups[i].first < minimumAge)
            continue;
        if (fs::remove(backups[i].second, ec))
            deleted.push_back(Utf8FromPath(backups[i].second));
    }
    return deleted;
}

SetupBackup BackUpBeforeOverwrite(CControllerLink& link, const SetupBackupOptions& options)
{
    if (options.skip || options.configurationDir.empty())
        return {true, {}};
    std::string error;
    std::string path;
    {
        // One question says what went wrong, not a box per failed request.
        CControllerLink::CQuietErrors quiet(link);
        CUnitInfoMsg unit;
        if (!link.Transact(unit, kQuietTransact)) {
            error = "the controller's serial number could not be read";
        } else {
            const std::string dir = Utf8FromPath(PathFromUtf8(options.configurationDir) / kBackupsDirName);
            const auto now = std::chrono::system_clock::now();
            path = SaveSetupBackup(link, dir, unit.SerialNumber(), now, error);
            if (!path.empty())
                PruneSetupBackups(dir, unit.SerialNumber(), now);
        }
    }
    if (!path.empty())
        return {true, path};
    const std::string failure = "The controller's current setup could not be backed up (" + error + ")";
    if (!options.askWhenFailed) {
        link.Notifier().Notify("Error: " + failure + "; nothing was written to the controller.", kBackupFailedCaption,
                               MsgButtons::Ok, MsgIcon::Stop);
        return {false, {}};
    }
    const bool goOn = link.Notifier().Notify(failure + ".\r\n\r\nContinue without a backup?", kBackupFailedCaption,
                                             MsgButtons::YesNo, MsgIcon::Question) == MsgAnswer::Yes;
    return {goOn, {}};
}

std::string BackupNote(const SetupBackup& backup)
{
    return backup.path.empty() ? std::string() : "\r\n\r\nThe previous setup was saved to " + backup.path;
}

std::string InterruptedUploadText(const std::string& failure, const std::string& redo, const SetupBackup& backup)
{
    return "Error: The upload was interrupted (" + failure + "). The controller's setup may be incomplete: " + redo +
           " to complete it" + (backup.path.empty() ? "" : ", or restore the backup") + "." + BackupNote(backup);
}

} // namespace halcyra
