#pragma once
// The commands of the halcyra command line, each one row: its name, its
// arguments and options, its line of help, whether it speaks --json, and
// the function that runs it. The dispatch, --help (and through it the man
// page) and the shell completion are all made from these rows, so a new
// command is a new row and its function.

#include <string>
#include <vector>

namespace halcyra::cli {

struct CommandContext;
using CommandHandler = int (*)(CommandContext&);

// What a value names, so that completion can offer it.
enum class ValueKind {
    Text, // anything: nothing to offer
    File, // a path
    Port, // a serial port's device
};

// An argument that is no option, in the order given.
struct OperandRow {
    const char* name; // as the usage shows it: "FILE", "TITLE"
    ValueKind kind = ValueKind::Text;
    bool repeats = false;              // one or more of them
    std::vector<std::string> choices{}; // the words it may be, when it is one of a few
};

struct OptionRow {
    const char* name;            // "--count"
    const char* value = nullptr; // its value's placeholder ("N"); none for a flag
    ValueKind kind = ValueKind::Text;
    const char* help = "";
    int group = 0; // options of one nonzero group exclude each other
};

struct CommandRow {
    const char* name; // "diag", or a command and its sub-command: "log status"
    std::vector<OperandRow> operands;
    std::vector<OptionRow> options;
    const char* help; // one line
    bool json = false;     // prints one JSON document under --json
    bool connects = true;  // talks to a controller
    CommandHandler run = nullptr;
};

// Every command, in the order --help lists them.
const std::vector<CommandRow>& CommandTable();

// The options before the command, by the heading --help lists them under.
struct GlobalOption {
    const char* section;
    OptionRow row;
};
const std::vector<GlobalOption>& GlobalOptions();

} // namespace halcyra::cli
