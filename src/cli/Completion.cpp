#include "cli/Completion.h"

#include "cli/CommandLine.h"
#include "sim/SimOptions.h"

#include <algorithm>
#include <set>
#include <string_view>

namespace halcyra::cli {

namespace {

Completion Words(std::vector<std::string> words) { return {false, std::move(words)}; }
Completion Files() { return {true, {}}; }

Completion ValueOf(ValueKind kind, const std::function<std::vector<std::string>()>& ports)
{
    switch (kind) {
    case ValueKind::File:
        return Files();
    case ValueKind::Port: {
        std::vector<std::string> devices = ports();
        // A port the enumeration does not know can still be named by its path.
        return devices.empty() ? Files() : Words(std::move(devices));
    }
    case ValueKind::Text:
        break;
    }
    return {};
}

// A simulator option's value: files for a path, else nothing to offer.
std::optional<Completion> SimValue(std::string_view word)
{
    if (!word.starts_with("--sim-"))
        return std::nullopt;
    for (const sim::SimOptionName& option : sim::ListedSimOptions()) {
        if (word.substr(6) != option.name || option.valueName.empty())
            continue;
        return option.valueName == "FILE" || option.valueName == "PATH" ? Files() : Completion{};
    }
    return std::nullopt;
}

Completion BeforeCommand(const std::string& typed)
{
    std::vector<std::string> words;
    if (typed.starts_with("-")) {
        for (const GlobalOption& option : GlobalOptions())
            words.emplace_back(option.row.name);
        for (const sim::SimOptionName& option : sim::ListedSimOptions())
            words.push_back("--sim-" + option.name);
        return Words(std::move(words));
    }
    for (const CommandRow& row : CommandTable()) {
        const std::string_view name = row.name;
        std::string first(name.substr(0, name.find(' ')));
        if (std::find(words.begin(), words.end(), first) == words.end())
            words.push_back(std::move(first));
    }
    return Words(std::move(words));
}

// The options of the command not given yet, nor shut out by one given.
std::vector<std::string> OptionsLeft(const CommandRow& row, const std::set<std::string>& given)
{
    std::vector<std::string> words;
    for (const OptionRow& option : row.options) {
        const bool shutOut = std::any_of(row.options.begin(), row.options.end(), [&](const OptionRow& other) {
            return given.count(other.name) > 0 && (other.name == std::string_view(option.name) ||
                                                   (option.group != 0 && other.group == option.group));
        });
        if (!shutOut)
            words.emplace_back(option.name);
    }
    words.emplace_back("--help");
    return words;
}

Completion InCommand(const CommandRow& row, const std::vector<std::string>& words, std::size_t from,
                     const std::function<std::vector<std::string>()>& ports)
{
    const std::string& typed = words.back();
    std::size_t operands = 0;
    std::set<std::string> given;
    bool optionsEnded = false;
    for (std::size_t i = from; i + 1 < words.size(); ++i) {
        const std::string& word = words[i];
        if (optionsEnded || !word.starts_with("--")) {
            ++operands;
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        given.insert(word);
        const auto option = std::find_if(row.options.begin(), row.options.end(),
                                         [&](const OptionRow& o) { return word == o.name; });
        if (option != row.options.end() && option->value && ++i + 1 == words.size())
            return ValueOf(option->kind, ports);
    }
    const bool operandDue = operands < row.operands.size() || (!row.operands.empty() && row.operands.back().repeats);
    if (!optionsEnded && (typed.starts_with("-") || !operandDue))
        return Words(OptionsLeft(row, given));
    if (!operandDue)
        return {};
    const OperandRow& operand = row.operands[std::min(operands, row.operands.size() - 1)];
    if (!operand.choices.empty())
        return Words(operand.choices);
    return ValueOf(operand.kind, ports);
}

} // namespace

Completion Complete(const std::vector<std::string>& typedWords, const std::function<std::vector<std::string>()>& ports)
{
    std::vector<std::string> words = typedWords;
    if (words.empty())
        words.emplace_back();
    // The options before the command; a value due completes here.
    std::size_t i = 0;
    for (; i + 1 < words.size(); ++i) {
        const std::string& word = words[i];
        if (!word.starts_with("-"))
            break;
        const GlobalOption* global = FindGlobalOption(word);
        const std::optional<Completion> simValue = SimValue(word);
        const bool takesValue = (global && global->row.value) || simValue;
        if (!takesValue)
            continue;
        if (++i + 1 == words.size())
            return global ? ValueOf(global->row.kind, ports) : *simValue;
    }
    if (i + 1 == words.size())
        return BeforeCommand(words.back());
    if (const std::optional<NamedCommand> named = FindCommand(words, i); named && i + named->words < words.size())
        return InCommand(*named->row, words, i + named->words, ports);
    // A command that has sub-commands, the sub-command being typed.
    std::vector<std::string> subCommands;
    if (i + 2 == words.size())
        for (const CommandRow* row : CommandFamily(words[i]))
            subCommands.emplace_back(std::string_view(row->name).substr(words[i].size() + 1));
    return Words(std::move(subCommands));
}

std::string CompletionText(const Completion& completion)
{
    std::string text = completion.files ? "files\n" : "words\n";
    for (const std::string& word : completion.words)
        text += word + "\n";
    return text;
}

} // namespace halcyra::cli
