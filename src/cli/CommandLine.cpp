#include "cli/CommandLine.h"

#include "link/Files.h"
#include "sim/SimOptions.h"

#include <algorithm>

namespace halcyra::cli {

namespace {

// Where the help of a term starts, and how wide a line grows.
constexpr std::size_t kHelpColumn = 30;
constexpr std::size_t kWidth = 100;

// Words wrapped at kWidth; a line that follows starts at column. The first
// goes on from a line already length long.
std::string Wrapped(const std::string& words, std::size_t column, std::size_t length)
{
    std::string text;
    std::size_t at = 0;
    bool first = true;
    while (at < words.size()) {
        std::size_t end = words.find(' ', at);
        if (end == std::string::npos)
            end = words.size();
        const std::string word = words.substr(at, end - at);
        if (!first && length + 1 + word.size() > kWidth) {
            text += "\n" + std::string(column, ' ');
            length = column;
        } else if (!first) {
            text += ' ';
            ++length;
        }
        text += word;
        length += word.size();
        first = false;
        at = end + 1;
    }
    return text;
}

// "  term" and its help from the help column on.
std::string Entry(std::size_t indent, const std::string& term, const std::string& help)
{
    std::string text = std::string(indent, ' ') + term;
    if (help.empty())
        return text + "\n";
    text += text.size() + 2 <= kHelpColumn ? std::string(kHelpColumn - text.size(), ' ')
                                           : "\n" + std::string(kHelpColumn, ' ');
    return text + Wrapped(help, kHelpColumn, kHelpColumn) + "\n";
}

std::string OptionTerm(const OptionRow& option)
{
    return option.value ? std::string(option.name) + " " + option.value : std::string(option.name);
}

std::string OperandTerm(const OperandRow& operand)
{
    if (!operand.choices.empty()) {
        std::string words;
        for (const std::string& choice : operand.choices)
            words += (words.empty() ? "" : "|") + choice;
        return words;
    }
    return std::string(operand.name) + (operand.repeats ? "..." : "");
}

// The command with its operands: "diag TITLE".
std::string CommandTerm(const CommandRow& row)
{
    std::string term = row.name;
    for (const OperandRow& operand : row.operands)
        term += " " + OperandTerm(operand);
    return term;
}

const OptionRow* FindOption(const CommandRow& row, std::string_view name)
{
    const auto it = std::find_if(row.options.begin(), row.options.end(),
                                 [name](const OptionRow& o) { return name == o.name; });
    return it == row.options.end() ? nullptr : &*it;
}

// The placeholders of the operands from index on: "NAME VALUE".
std::string OperandNames(const CommandRow& row, std::size_t from)
{
    std::string names;
    for (std::size_t i = from; i < row.operands.size(); ++i)
        names += (names.empty() ? "" : " ") + OperandTerm(row.operands[i]);
    return names;
}

bool CheckOperands(const CommandRow& row, const std::vector<std::string>& operands, std::string& error)
{
    const bool repeats = !row.operands.empty() && row.operands.back().repeats;
    if (operands.size() < row.operands.size()) {
        error = std::string(row.name) + " needs " + OperandNames(row, operands.size());
        return false;
    }
    if (!repeats && operands.size() > row.operands.size()) {
        error = "'" + EscapedName(operands[row.operands.size()]) + "' is one argument too many for " + row.name;
        return false;
    }
    for (std::size_t i = 0; i < operands.size(); ++i) {
        const OperandRow& operand = row.operands[std::min(i, row.operands.size() - 1)];
        if (!operand.choices.empty() &&
            std::find(operand.choices.begin(), operand.choices.end(), operands[i]) == operand.choices.end()) {
            std::string choices;
            for (const std::string& choice : operand.choices)
                choices += (choices.empty() ? "" : ", ") + choice;
            error = "'" + EscapedName(operands[i]) + "' is none of " + choices;
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<std::string> CommandArgs::Value(std::string_view option) const
{
    const auto it = options.find(option);
    if (it == options.end())
        return std::nullopt;
    return it->second;
}

std::optional<NamedCommand> FindCommand(const std::vector<std::string>& args, std::size_t at)
{
    if (at >= args.size())
        return std::nullopt;
    for (const CommandRow& row : CommandTable())
        if (args[at] == row.name)
            return NamedCommand{&row, 1};
    if (at + 1 >= args.size())
        return std::nullopt;
    const std::string both = args[at] + " " + args[at + 1];
    for (const CommandRow& row : CommandTable())
        if (both == row.name)
            return NamedCommand{&row, 2};
    return std::nullopt;
}

std::vector<const CommandRow*> CommandFamily(std::string_view name)
{
    std::vector<const CommandRow*> family;
    for (const CommandRow& row : CommandTable()) {
        const std::string_view full = row.name;
        if (full.size() > name.size() && full.starts_with(name) && full[name.size()] == ' ')
            family.push_back(&row);
    }
    return family;
}

const GlobalOption* FindGlobalOption(std::string_view name)
{
    for (const GlobalOption& option : GlobalOptions())
        if (name == option.row.name)
            return &option;
    return nullptr;
}

bool ParseCommandArgs(const CommandRow& row, const std::vector<std::string>& words, CommandArgs& parsed,
                      std::string& error)
{
    parsed = {};
    bool optionsEnded = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (optionsEnded || !word.starts_with("--")) {
            parsed.operands.push_back(word);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        const OptionRow* option = FindOption(row, word);
        if (!option) {
            error = std::string(row.name) + " does not take " + EscapedName(word);
            return false;
        }
        std::string value;
        if (option->value) {
            // An option in the value's place is a value forgotten.
            if (i + 1 >= words.size() || words[i + 1].starts_with("--")) {
                error = word + " needs " + option->value;
                return false;
            }
            value = words[++i];
        }
        if (parsed.Has(word)) {
            error = word + " is given twice";
            return false;
        }
        for (const auto& [given, unused] : parsed.options) {
            const OptionRow* other = FindOption(row, given);
            if (option->group != 0 && other->group == option->group) {
                error = given + " and " + word + " exclude each other";
                return false;
            }
        }
        parsed.options.emplace(word, std::move(value));
    }
    return CheckOperands(row, parsed.operands, error);
}

std::string CommandUsage(const CommandRow& row)
{
    std::string usage = "halcyra " + CommandTerm(row);
    std::vector<int> groupsShown;
    for (const OptionRow& option : row.options) {
        if (option.group == 0) {
            usage += " [" + OptionTerm(option) + "]";
            continue;
        }
        if (std::find(groupsShown.begin(), groupsShown.end(), option.group) != groupsShown.end())
            continue;
        groupsShown.push_back(option.group);
        std::string choices;
        for (const OptionRow& other : row.options)
            if (other.group == option.group)
                choices += (choices.empty() ? "" : " | ") + OptionTerm(other);
        usage += " [" + choices + "]";
    }
    return usage;
}

std::string UsageLines(const std::vector<const CommandRow*>& rows)
{
    std::string lines;
    for (const CommandRow* row : rows)
        lines += (lines.empty() ? "usage: " : "       ") + CommandUsage(*row) + "\n";
    return lines;
}

std::string CommandHelp(const CommandRow& row)
{
    std::string help = UsageLines({&row}) + Wrapped(row.help, 0, 0) + "\n";
    for (const OptionRow& option : row.options)
        help += Entry(2, OptionTerm(option), option.help);
    if (row.json)
        help += "With --json before the command: one JSON document instead of lines.\n";
    return help;
}

std::string ProgramHelp()
{
    std::string help =
        "usage: halcyra [--port DEVICE | --simulator [--sim-OPTION ...]] [--trace FILE] [--json] COMMAND [ARGS]\n"
        "       halcyra COMMAND --help\n"
        "\n"
        "Commands:\n";
    std::string jsonCommands;
    for (const CommandRow& row : CommandTable()) {
        help += Entry(2, CommandTerm(row), row.help);
        for (const OptionRow& option : row.options)
            help += Entry(6, OptionTerm(option), option.help);
        if (row.json)
            jsonCommands += (jsonCommands.empty() ? "" : ", ") + std::string(row.name);
    }
    std::string section;
    for (const GlobalOption& global : GlobalOptions()) {
        if (section != global.section) {
            section = global.section;
            help += "\n" + section + ":\n";
        }
        std::string text = global.row.help;
        if (std::string_view(global.row.name) == "--json")
            text += "; offered by " + jsonCommands;
        help += Entry(2, OptionTerm(global.row), text);
        if (std::string_view(global.row.name) == "--simulator")
            help += sim::SimOptionsUsage("--sim-");
    }
    return help;
}

} // namespace halcyra::cli
