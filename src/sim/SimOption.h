#pragma once
// Typed options of the simulated controller's features. Each option is
// declared once, beside the feature that reads it: name, value name, default
// (in the same text form a user types) and usage. The command line is checked
// against these declarations; features read their values typed.

#include <bitset>
#include <chrono>
#include <concepts>
#include <initializer_list>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>

namespace halcyra::sim {

// Settings of one simulated controller.
struct SimSettings {
    std::chrono::milliseconds restartTime{2000};
    // Feature options as given (name without dashes -> value text); an
    // option not given takes its declared default.
    std::map<std::string, std::string> extra;
};

// Value types of feature options besides numbers and text.
struct SimDate {
    int year = 0, month = 0, day = 0;
};
using OptionIndexes = std::bitset<64>;

// Each ParseOptionValue overload reads the whole text strictly: false with
// the reason when it is not a value of the type. A feature with a value type
// of its own adds an overload beside that type (see FaultFeature.h).
// A whole number, decimal or 0x hexadecimal, that fits T.
template <std::unsigned_integral T> bool ParseOptionValue(std::string_view text, T& value, std::string& why);
bool ParseOptionValue(std::string_view text, std::string& value, std::string& why);
bool ParseOptionValue(std::string_view text, SimDate& value, std::string& why);        // Y-M-D
bool ParseOptionValue(std::string_view text, OptionIndexes& value, std::string& why);  // comma-separated 0..63
bool ParseWholeNumber(std::string_view text, unsigned long long max, unsigned long long& value, std::string& why);
// Names out of a fixed list, comma-separated; empty text names none. Bit i
// of chosen stands for names[i].
bool ParseNameList(std::string_view text, std::initializer_list<std::string_view> names, unsigned long& chosen,
                   std::string& why);
// A finite decimal number within [min, max].
bool ParseDecimal(std::string_view text, double min, double max, double& value, std::string& why);

template <std::unsigned_integral T> bool ParseOptionValue(std::string_view text, T& value, std::string& why)
{
    unsigned long long n = 0;
    if (!ParseWholeNumber(text, static_cast<T>(~T{}), n, why))
        return false;
    value = static_cast<T>(n);
    return true;
}

// What the command-line parser and the usage text need of an option.
class CSimOption {
public:
    constexpr CSimOption(std::string_view name, std::string_view valueName, std::string_view defaultText,
                         std::string_view usage)
        : name_(name), valueName_(valueName), defaultText_(defaultText), usage_(usage)
    {
    }
    virtual ~CSimOption() = default;

    std::string_view Name() const { return name_; }
    std::string_view ValueName() const { return valueName_; }
    std::string_view DefaultText() const { return defaultText_; }
    std::string_view Usage() const { return usage_; }
    // Empty when text is a valid value of this option, else why it is not.
    virtual std::string Check(std::string_view text) const = 0;

private:
    std::string_view name_, valueName_, defaultText_, usage_;
};

template <typename T> class TSimOption final : public CSimOption {
public:
    // A further condition on a parsed value (a length or size limit); false with the reason.
    using Limit = bool (*)(const T& value, std::string& why);

    constexpr TSimOption(std::string_view name, std::string_view valueName, std::string_view defaultText,
                         std::string_view usage, Limit limit = nullptr)
        : CSimOption(name, valueName, defaultText, usage), limit_(limit)
    {
    }

    std::string Check(std::string_view text) const override
    {
        T value{};
        std::string why;
        return Parse(text, value, why) ? std::string() : why;
    }

    // The value the settings give, or the default. Values from the command
    // line have been checked; a malformed one set by code is a programming
    // error and throws std::invalid_argument.
    T From(const SimSettings& settings) const
    {
        const auto given = settings.extra.find(std::string(Name()));
        const std::string_view text = given == settings.extra.end() ? DefaultText() : std::string_view(given->second);
        T value{};
        std::string why;
        if (!Parse(text, value, why))
            throw std::invalid_argument("option " + std::string(Name()) + " " + std::string(text) + ": " + why);
        return value;
    }

private:
    bool Parse(std::string_view text, T& value, std::string& why) const
    {
        return ParseOptionValue(text, value, why) && (!limit_ || limit_(value, why));
    }

    Limit limit_;
};

} // namespace halcyra::sim
