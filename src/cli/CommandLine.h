#pragma once
// The command table put to use: a command's words read against its row, and
// the usage and help texts made from the rows.

#include "cli/CommandTable.h"

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace halcyra::cli {

// A command's words as its row reads them: the operands in order, and each
// option given with its value ("" for a flag).
struct CommandArgs {
    std::vector<std::string> operands;
    std::map<std::string, std::string, std::less<>> options;

    bool Has(std::string_view option) const { return options.find(option) != options.end(); }
    // The option's value; nothing when it was not given.
    std::optional<std::string> Value(std::string_view option) const;
};

// The row named by the words at args[at] (a command, or a command and its
// sub-command), and how many words name it.
struct NamedCommand {
    const CommandRow* row = nullptr;
    std::size_t words = 0;
};
std::optional<NamedCommand> FindCommand(const std::vector<std::string>& args, std::size_t at);
// The rows of a command with sub-commands ("log"); empty for any other word.
std::vector<const CommandRow*> CommandFamily(std::string_view name);
// The option before the command named so; null for none.
const GlobalOption* FindGlobalOption(std::string_view name);

// Reads the words after the command's name. Options may come anywhere until
// "--"; an option the row does not list, one without its value, one given
// twice or two of a group, the wrong number of operands or an operand that
// is none of its choices is an error, said in error.
bool ParseCommandArgs(const CommandRow& row, const std::vector<std::string>& words, CommandArgs& parsed,
                      std::string& error);

// "halcyra diag TITLE [--count N] [--interval MS] [--csv FILE]".
std::string CommandUsage(const CommandRow& row);
// "usage: " and that, a line for each of a family's rows.
std::string UsageLines(const std::vector<const CommandRow*>& rows);
// The command's usage and a line for each of its options: `halcyra diag --help`.
std::string CommandHelp(const CommandRow& row);
// `halcyra --help`: every command with its options, then the options before
// the command.
std::string ProgramHelp();

} // namespace halcyra::cli
