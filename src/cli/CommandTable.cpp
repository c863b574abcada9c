#include "cli/CommandTable.h"

#include "cli/Commands.h"

namespace halcyra::cli {

namespace {

constexpr ValueKind kFile = ValueKind::File;

const OptionRow kYes{"--yes", nullptr, ValueKind::Text, "answer yes to the question instead of asking"};
const OptionRow kNoBackup{"--no-backup", nullptr, ValueKind::Text,
                           "do not first save the controller's setup to Configuration Files/Backups"};

} // namespace

const std::vector<CommandRow>& CommandTable()
{
    // clang-format off
    static const std::vector<CommandRow> table = {
        {.name = "ports", .operands = {}, .options = {},
         .help = "list the serial ports: device, a tab, the description",
         .json = true, .connects = false, .run = CmdPorts},
        {.name = "get", .operands = {{"NAME", ValueKind::Text, true}}, .options = {},
         .help = "read named parameters; prints each reply \"NAME: value\"",
         .json = true, .run = CmdGet},
        {.name = "set", .operands = {{"NAME"}, {"VALUE"}},
         .options = {{"--no-verify", nullptr, ValueKind::Text,
                      "skip the read-back (for names that only trigger an action)"}},
         .help = "write a named parameter (VALUE in its text form, strings in quotes), then read it back and "
                 "print the controller's reply",
         .run = CmdSet},
        {.name = "check", .operands = {}, .options = {},
         .help = "check that a controller answers with compatible firmware",
         .json = true, .run = CmdCheck},
        {.name = "info", .operands = {}, .options = {},
         .help = "the controller's identity, as the Information page shows it",
         .json = true, .run = CmdInfo},
        {.name = "save-setup", .operands = {{"FILE", kFile}},
         .options = {{"--block", "N", ValueKind::Text, "the controller block to save (default 5, the setup)"}},
         .help = "save the controller's setup to FILE",
         .run = CmdSaveSetup},
        {.name = "restore-setup", .operands = {{"FILE", kFile}}, .options = {kYes, kNoBackup},
         .help = "restore the setup from FILE after confirming its vehicle model, then restart the controller; "
                 "the controller's setup is first saved to Configuration Files/Backups",
         .run = CmdRestoreSetup},
        {.name = "faults", .operands = {},
         .options = {{"--show", "N", ValueKind::Text, "the details of listed fault N", 1},
                     {"--clear", "N", ValueKind::Text, "clear listed fault N and list the faults again", 1},
                     {"--report", "FILE", kFile, "write every listed fault to a report file", 1}},
         .help = "list the recorded faults, one per line",
         .json = true, .run = CmdFaults},
        {.name = "pages", .operands = {{"SHEET", ValueKind::Text, false, {"config", "calibration", "diagnostics"}}},
         .options = {},
         .help = "the titles of the pages that sheet holds for this controller, in order",
         .json = true, .run = CmdPages},
        {.name = "log status", .operands = {}, .options = {},
         .help = "whether the controller is logging, and how much of its log memory is used",
         .json = true, .run = CmdLogStatus},
        {.name = "log start", .operands = {}, .options = {},
         .help = "start the controller's internal logging", .run = CmdLogCommand},
        {.name = "log stop", .operands = {}, .options = {},
         .help = "stop the controller's internal logging", .run = CmdLogCommand},
        {.name = "log clear", .operands = {}, .options = {},
         .help = "clear the controller's internal log", .run = CmdLogCommand},
        {.name = "log download", .operands = {{"FILE", kFile}}, .options = {},
         .help = "the internal data log to FILE and the advanced setup to FILE.cfg",
         .run = CmdLogDownload},
        {.name = "log configure", .operands = {{"FILE.dlc", kFile}},
         .options = {{"--output", "LOG.dbg", kFile,
                      "the file a configuration that streams the log to the PC saves its records in (needed then)"},
                     {"--records", "N", ValueKind::Text, "stream until N records are saved", 1},
                     {"--seconds", "S", ValueKind::Text, "stream for S seconds", 1}},
         .help = "upload a logging configuration; one that streams the log to the PC saves records until "
                 "--records, --seconds or Ctrl-C, then restores the logging output setting",
         .run = CmdLogConfigure},
        {.name = "vehicles", .operands = {}, .options = {},
         .help = "the controller's vehicle list: index, a tab, the model name",
         .json = true, .run = CmdVehicles},
        {.name = "select-vehicle", .operands = {{"INDEX"}}, .options = {kYes},
         .help = "make vehicle INDEX of the vehicles list the vehicle model, restart the controller and print "
                 "the model read back",
         .run = CmdSelectVehicle},
        {.name = "load-profile", .operands = {{"FILE", kFile}}, .options = {kYes, kNoBackup},
         .help = "upload the vehicle profile FILE (.vdb) as the vehicle model, restart the controller and print "
                 "the model read back",
         .run = CmdLoadProfile},
        {.name = "diag", .operands = {{"TITLE"}},
         .options = {{"--count", "N", ValueKind::Text, "poll N times (default 1; with --csv, until Ctrl-C)"},
                     {"--interval", "MS", ValueKind::Text, "poll every MS milliseconds (default 250)"},
                     {"--csv", "FILE", kFile,
                      "also record the polls in FILE as CSV: the time, the values and whether the poll failed"}},
         .help = "poll diagnostics page TITLE (as pages diagnostics lists it): one line per poll",
         .json = true, .run = CmdDiag},
        {.name = "diff-setup", .operands = {{"FILE", kFile}}, .options = {},
         .help = "compare setup file FILE with the controller: the records whose values differ, then those the "
                 "controller does not know; exit status 0 when they match, 1 when they differ, 2 when they could "
                 "not be compared",
         .run = CmdDiffSetup},
        {.name = "service-report", .operands = {{"FILE.zip", kFile}}, .options = {},
         .help = "one zip for support: the Information page, the fault report, blocks 5, 6 and 8, the version, "
                 "the port and the --trace of this session; exit status 1 when the controller did not give all "
                 "of it",
         .run = CmdServiceReport},
        {.name = "install-report", .operands = {{"FILE.pdf", kFile}},
         .options = {{"--installer", "NAME", ValueKind::Text, "the installer's name, printed on the report"},
                     {"--customer", "NAME", ValueKind::Text, "the customer's name, printed on the report"}},
         .help = "the installation report as a PDF (A4 or Letter by the locale): the controller, the vehicle, its "
                 "configuration pages, calibration results and faults; exit status 1 when a value could not be read",
         .run = CmdInstallReport},
    };
    // clang-format on
    return table;
}

const std::vector<GlobalOption>& GlobalOptions()
{
    static const std::vector<GlobalOption> options = {
        {"Output", {"--json", nullptr, ValueKind::Text,
                    "print one JSON document instead of lines, for the commands that offer it: names and values as "
                    "read, failures as objects with their message (\"error\": {\"message\": ...}); exit status as "
                    "without"}},
        {"Connection", {"--port", "DEVICE", ValueKind::Port, "the controller's serial port (default: the first "
                                                             "port found)"}},
        {"Connection", {"--trace", "FILE", kFile, "write every frame sent and received to FILE, one per line"}},
        {"Connection", {"--simulator", nullptr, ValueKind::Text,
                        "start a simulated controller in-process and talk to it through a pseudo-terminal; its "
                        "options carry a sim- prefix:"}},
        {"Program", {"--help", nullptr, ValueKind::Text, "this help; after a command, that command's"}},
        {"Program", {"--version", nullptr, ValueKind::Text, "the program's version"}},
    };
    return options;
}

} // namespace halcyra::cli
