#include "sim/SimOptions.h"

#include <cctype>

namespace halcyra::sim {

namespace {

// An option of the server or the wire, applied straight to SimOptions.
struct ServerOption {
    std::string_view name;
    std::string_view valueName; // empty for a flag
    std::string_view usage;     // empty: not listed (halcyra-sim lists it itself)
    // Stores the value; false with the reason when it does not parse.
    bool (*apply)(std::string_view value, SimOptions& o, std::string& why);
    // The value in text form, to show the default; null when none is shown.
    std::string (*shown)(const SimOptions& o) = nullptr;
};

bool Share(std::string_view text, double& share, std::string& why)
{
    double percent = 0;
    if (!ParseDecimal(text, 0, 100, percent, why)) {
        why = "expected a percentage 0..100";
        return false;
    }
    share = percent / 100.0;
    return true;
}

bool Milliseconds(std::string_view text, std::chrono::milliseconds& out, std::string& why)
{
    std::uint32_t ms = 0;
    if (!ParseOptionValue(text, ms, why))
        return false;
    out = std::chrono::milliseconds(ms);
    return true;
}

bool NotEmpty(std::string_view text, std::string& out, std::string& why)
{
    why = "expected a path";
    out = std::string(text);
    return !text.empty();
}

bool Assignment(std::string_view text, SimOptions& o, std::string& why)
{
    const std::size_t eq = text.find('=');
    const std::string_view name = text.substr(0, eq);
    bool nameOk = eq != std::string_view::npos && name.size() >= 3 && name.size() <= 40;
    for (char c : name)
        nameOk = nameOk && std::isalnum(static_cast<unsigned char>(c));
    if (!nameOk) {
        why = "expected NAME=VALUE, NAME 3 to 40 letters or digits";
        return false;
    }
    o.assignments.emplace_back(text);
    return true;
}

const ServerOption kServerOptions[] = {
    {"link", "PATH", "", [](std::string_view v, SimOptions& o, std::string& why) { return NotEmpty(v, o.linkPath, why); }},
    {"setup", "FILE", "start from this parameter text file instead of the built-in setup",
     [](std::string_view v, SimOptions& o, std::string& why) { return NotEmpty(v, o.setupFile, why); }},
    {"set", "NAME=VALUE", "set one parameter (repeatable), VALUE in its text form", Assignment},
    {"silent", "", "never answer",
     [](std::string_view, SimOptions& o, std::string&) { return o.faults.silent = true; }},
    {"drop", "PERCENT", "leave this share of replies unsent",
     [](std::string_view v, SimOptions& o, std::string& why) { return Share(v, o.faults.dropShare, why); }},
    {"corrupt", "PERCENT", "damage one byte of this share of replies",
     [](std::string_view v, SimOptions& o, std::string& why) { return Share(v, o.faults.corruptShare, why); }},
    {"delay", "MS", "hold replies back this long (past 1000 ms they reach the next request)",
     [](std::string_view v, SimOptions& o, std::string& why) { return Milliseconds(v, o.faults.delay, why); }},
    {"delay-share", "PERCENT", "share of replies delayed",
     [](std::string_view v, SimOptions& o, std::string& why) { return Share(v, o.faults.delayShare, why); },
     [](const SimOptions& o) { return std::to_string(static_cast<int>(o.faults.delayShare * 100)); }},
    {"noise", "COUNT", "send COUNT random bytes before each reply",
     [](std::string_view v, SimOptions& o, std::string& why) {
         std::uint16_t count = 0;
         if (!ParseOptionValue(v, count, why))
             return false;
         o.faults.noiseBytes = count;
         return true;
     }},
    {"pace", "BAUD", "send and take bytes no faster than this line rate (38400 for the real wire)",
     [](std::string_view v, SimOptions& o, std::string& why) { return ParseOptionValue(v, o.faults.paceBaud, why); }},
    {"restart-ms", "MS", "silence after a reset request",
     [](std::string_view v, SimOptions& o, std::string& why) { return Milliseconds(v, o.settings.restartTime, why); },
     [](const SimOptions& o) { return std::to_string(o.settings.restartTime.count()); }},
    {"seed", "N", "seed for the random choices of the options above",
     [](std::string_view v, SimOptions& o, std::string& why) {
         return ParseOptionValue(v, o.faults.seed, why);
     }},
    {"verbose", "", "log every request and reply to standard error",
     [](std::string_view, SimOptions& o, std::string&) { return o.verbose = true; }},
};

const ServerOption* FindServerOption(std::string_view name)
{
    for (const ServerOption& option : kServerOptions)
        if (option.name == name)
            return &option;
    return nullptr;
}

std::string UsageLine(const std::string& prefix, std::string_view name, std::string_view valueName,
                      std::string_view usage, const std::string& shownDefault)
{
    // The help from its column on, wrapped at word breaks within the width.
    constexpr std::size_t kWidth = 100;
    const std::size_t column = prefix.size() + 24;
    std::string line = "  " + prefix + std::string(name);
    if (!valueName.empty())
        line += " " + std::string(valueName);
    line += line.size() + 2 <= column ? std::string(column - line.size(), ' ') : "\n" + std::string(column, ' ');
    std::string help(usage);
    if (!shownDefault.empty())
        help += " (default " + shownDefault + ")";
    std::size_t length = column;
    std::size_t at = 0;
    while (at < help.size()) {
        std::size_t end = help.find(' ', at);
        if (end == std::string::npos)
            end = help.size();
        const std::size_t word = end - at;
        if (length > column && length + 1 + word > kWidth) {
            line += "\n" + std::string(column, ' ');
            length = column;
        } else if (length > column) {
            line += ' ';
            ++length;
        }
        line += help.substr(at, word);
        length += word;
        at = end + 1;
    }
    return line + "\n";
}

} // namespace

bool ParseSimOption(const std::vector<std::string>& args, std::size_t& index, SimOptions& options,
                    std::string& error, std::string_view prefix)
{
    const std::string& written = args[index];
    const std::string_view name =
        written.starts_with(prefix) ? std::string_view(written).substr(prefix.size()) : std::string_view();
    const ServerOption* server = FindServerOption(name);
    const CSimOption* feature = server ? nullptr : FindFeatureOption(name);
    if (!server && !feature) {
        error = "unknown option " + written;
        return false;
    }
    const std::string_view valueName = server ? server->valueName : feature->ValueName();
    std::string why;
    if (valueName.empty())
        return server->apply({}, options, why);
    if (index + 1 >= args.size()) {
        error = written + " needs a value " + std::string(valueName);
        return false;
    }
    const std::string& value = args[++index];
    const bool ok = feature ? (why = feature->Check(value)).empty() : server->apply(value, options, why);
    if (!ok) {
        error = written + " '" + value + "': " + why;
        return false;
    }
    if (feature)
        options.settings.extra[std::string(name)] = value;
    return true;
}

std::string SimOptionsUsage(const std::string& prefix)
{
    const SimOptions defaults;
    std::string usage;
    for (const ServerOption& option : kServerOptions)
        if (!option.usage.empty())
            usage += UsageLine(prefix, option.name, option.valueName, option.usage,
                               option.shown ? option.shown(defaults) : std::string());
    for (const SimFeatureKind& kind : SimFeatureKinds())
        for (const CSimOption* option : kind.options)
            usage += UsageLine(prefix, option->Name(), option->ValueName(), option->Usage(),
                               std::string(option->DefaultText()));
    return usage;
}

std::vector<SimOptionName> ListedSimOptions()
{
    std::vector<SimOptionName> listed;
    for (const ServerOption& option : kServerOptions)
        if (!option.usage.empty())
            listed.push_back({std::string(option.name), std::string(option.valueName)});
    for (const SimFeatureKind& kind : SimFeatureKinds())
        for (const CSimOption* option : kind.options)
            listed.push_back({std::string(option->Name()), std::string(option->ValueName())});
    return listed;
}

} // namespace halcyra::sim
