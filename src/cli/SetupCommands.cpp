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
    std::string path;
    std::uint8_t block = kSetupBlock;
    for (std::size_t i = 0; i < c.args.size(); ++i) {
        const std::string& a = c.args[i];
        if (a == "--block" && i + 1 < c.args.size() && ParseBlock(c.args[i + 1], block)) {
            ++i;
        } else if (!a.empty() && a[0] != '-' && path.empty()) {
            path = a;
        } else {
            path.clear();
            break;
        }
    }
    if (path.empty()) {
        c.err << "usage: halcyra save-setup FILE [--block N]\n";
        return kExitUsage;
    }
    return SaveBlockToFile(c.link, path, block, false, ChunkProgress(c.err)) ? kExitOk : kExitFailed;
}

int CmdRestoreSetup(CommandContext& c)
{
    std::string path;
    bool yes = false;
    bool usage = false;
    for (const std::string& a : c.args) {
        if (a == "--yes")
            yes = true;
        else if (!a.empty() && a[0] != '-' && path.empty())
            path = a;
        else
            usage = true;
    }
    if (usage || path.empty()) {
        c.err << "usage: halcyra restore-setup FILE [--yes]\n";
        return kExitUsage;
    }
    c.notifier.AssumeYes(yes);
    RestoreOptions options;
    options.progress = ChunkProgress(c.err);
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
