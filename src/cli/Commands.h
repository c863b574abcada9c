#pragma once
// What a command of the halcyra command line gets to work with.

#include "cli/CommandLine.h"
#include "cli/JsonOutput.h"
#include "cli/TerminalNotifier.h"
#include "link/ControllerLink.h"
#include "pages/BusyIndicator.h"
#include "pages/PageContext.h"
#include "setup/SetupBackup.h"

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
    const CommandRow& command; // its row in the command table
    CommandArgs args;           // its operands and options, as the row reads them
    std::string tracePath;         // --trace FILE, when the session is traced
    // --json: the document the command fills in place of its lines; null
    // for text output.
    Json* json = nullptr;
};

// Exit statuses.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// Says why the command failed: "halcyra: MESSAGE" on standard error and,
// under --json, the document's error (the first one said stays). Returns
// status.
int Failed(CommandContext& c, const std::string& message, int status = kExitFailed);
// A usage error the row could not see (a value that does not parse, say):
// "halcyra: MESSAGE", then the command's usage. Returns kExitUsage.
int UsageError(CommandContext& c, const std::string& message);
// Why the connection check failed: its boxes said it, the last one best.
std::string CheckFailureText(const CommandContext& c);

int CmdPorts(CommandContext& c);
int CmdGet(CommandContext& c);
int CmdSet(CommandContext& c);
int CmdCheck(CommandContext& c);
int CmdInfo(CommandContext& c);
int CmdSaveSetup(CommandContext& c);
int CmdRestoreSetup(CommandContext& c);
int CmdFaults(CommandContext& c);
int CmdPages(CommandContext& c);
int CmdLogStatus(CommandContext& c);
int CmdLogCommand(CommandContext& c); // start, stop or clear, as its row names it
int CmdLogDownload(CommandContext& c);
int CmdLogConfigure(CommandContext& c);
int CmdVehicles(CommandContext& c);
int CmdSelectVehicle(CommandContext& c);
int CmdLoadProfile(CommandContext& c);

// "chunk i of N" on standard error: the first and last chunk and about every
// twentieth of the way between, so a long block does not flood the terminal.
ProgressCallback ChunkProgress(std::ostream& err);
int CmdDiag(CommandContext& c);
int CmdDiffSetup(CommandContext& c);
int CmdServiceReport(CommandContext& c);
int CmdInstallReport(CommandContext& c);

// Where the command line keeps its data directories: the path in
// HALCYRA_DATA_PATH, else the program's own directory when it may hold
// data, else the user's data directory (as halcyra-toolbox chooses).
std::string CommandLineDataPath(INotifier& notifier);
// The backup of block 5 before a command overwrites it; --no-backup skips
// it. With --yes a backup that cannot be made stops the command.
SetupBackupOptions SetupBackupFor(const CommandContext& c, bool noBackup, bool yes);

} // namespace halcyra::cli
