#pragma once
// What a command of the halcyra command line gets to work with.

#include "cli/TerminalNotifier.h"
#include "link/ControllerLink.h"
#include "pages/BusyIndicator.h"
#include "pages/PageContext.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace halcyra::cli {

struct CommandContext {
    CControllerLink& link;
    CTerminalNotifier& notifier;
    // For the procedures the command line shares with the pages: no files
    // are chosen (paths are arguments) and ticks run on the context's manual
    // clock, which the command moves on in real time.
    CPageContext& pages;
    std::ostream& out;
    std::ostream& err;
    std::istream& in;
    std::vector<std::string> args; // the command's own arguments
};

// Exit statuses.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

int CmdGet(CommandContext& c);
int CmdSet(CommandContext& c);
int CmdCheck(CommandContext& c);
int CmdInfo(CommandContext& c);
int CmdSaveSetup(CommandContext& c);
int CmdRestoreSetup(CommandContext& c);
int CmdFaults(CommandContext& c);
int CmdPages(CommandContext& c);
int CmdVehicles(CommandContext& c);
int CmdSelectVehicle(CommandContext& c);
int CmdLoadProfile(CommandContext& c);

// "chunk i of N" on standard error: the first and last chunk and about every
// twentieth of the way between, so a long block does not flood the terminal.
ProgressCallback ChunkProgress(std::ostream& err);
int CmdDiag(CommandContext& c);

} // namespace halcyra::cli
