#pragma once
// Saving a controller block to a setup file and restoring the setup from
// one, without the file dialogs: the dialog layer asks for the path and then
// calls these. Every message goes through the link's notifier.

#include "setup/BlockTransfer.h"
#include "setup/SetupBackup.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

namespace halcyra {

class CControllerLink;

inline constexpr std::uint8_t kSetupBlock = 5;
inline constexpr std::uint8_t kAdvancedSetupBlock = 6;

inline constexpr const char* kSetupFileFilter = "Vehicle Configuration Files (*.CFG)|*.cfg|All Files (*.*)|*.*||";
inline constexpr const char* kSetupFileExtension = "cfg";

// Downloads the block into path. The block goes to a temporary file beside
// path and replaces path only when all of it arrived; on any failure a file
// already at path stays as it was. quiet leaves out the success message.
bool SaveBlockToFile(CControllerLink& link, const std::string& path, std::uint8_t block, bool quiet,
                     const BlockProgress& progress = {});

struct RestoreOptions {
    BlockProgress progress;
    // Brackets the wait for the restarted controller (a wait cursor).
    std::function<void(bool)> busy;
    // How long the controller needs to restart before it is polled.
    std::chrono::milliseconds restartPause{5000};
    // The copy of the controller's setup taken before it is overwritten.
    SetupBackupOptions backup;
};

enum class RestoreOutcome { Restored, Cancelled, Failed };

// Restores the setup block from a setup file after the user confirmed its
// vehicle model and the controller's setup was backed up (or the user chose
// to go on without a backup), then restarts the controller. True when restored or when
// the user cancelled (then nothing was sent); outcome tells which.
bool RestoreBlockFromFile(CControllerLink& link, const std::string& path, const RestoreOptions& options = {},
                          RestoreOutcome* outcome = nullptr);

// The confirmation asked before a restore.
std::string RestoreConfirmationText(const std::string& modelName, const std::string& fullPath);

} // namespace halcyra
