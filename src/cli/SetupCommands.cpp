// save-setup and restore-setup: the controller's setup to and from files.

#include "cli/Commands.h"
#include "setup/SetupFiles.h"

#include <cstdlib>
#include <ostream>

namespace halcyra::cli {

BlockProgress ChunkProgress(std::ostream& err)
{
    return [&err, lastStep = std::uint64_t{0}](std::uint32_t done, std::uint32_t total) mutable {
        if (done == 0 || total == 0)
            return;
        const std::uint64_t step = std::uint64_t{done} * 20 / total;
        if (done == 1 || done == total || step != lastStep)
            err << "chunk " << done << " of " << total << "\n" << std::flush;
        lastStep = step;
    };
}

namespace {

bool ParseBlock(const std::string& text, std::uint8_t& block)
{
    char* end = nullptr;
    unsigned long n = std::strtoul(text.c_str(), &end, 10);
    if (text.empty() || text[0] == '-' || *end != '\0' || n > 255)
        return false;
    block = static_cast<std::uint8_t>(n);
    return true;
}

} // namespace

int CmdSaveSetup(CommandContext& c)
{
    const std::string& path = c.args.operands[0];
    std::uint8_t block = kSetupBlock;
    if (const auto text = c.args.Value("--block"); text && !ParseBlock(*text, block))
        return UsageError(c, "--block takes a block number 0 to 255");
    return SaveBlockToFile(c.link, path, block, false, ChunkProgress(c.err)) ? kExitOk : kExitFailed;
}

int CmdRestoreSetup(CommandContext& c)
{
    const std::string& path = c.args.operands[0];
    const bool yes = c.args.Has("--yes");
    const bool noBackup = c.args.Has("--no-backup");
    c.notifier.AssumeYes(yes);
    RestoreOptions options;
    options.progress = ChunkProgress(c.err);
    options.backup = SetupBackupFor(c, noBackup, yes);
    options.busy = [&c](bool waiting) {
        if (waiting)
            c.err << "waiting for the controller to restart\n" << std::flush;
    };
    RestoreOutcome outcome = RestoreOutcome::Failed;
    RestoreBlockFromFile(c.link, path, options, &outcome);
    // A cancelled restore sent nothing; a script must not take it for a restore.
    return outcome == RestoreOutcome::Restored ? kExitOk : kExitFailed;
}

} // namespace halcyra::cli
