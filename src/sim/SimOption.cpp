#include "sim/SimOption.h"

#include <charconv>
#include <cmath>

namespace halcyra::sim {

bool ParseWholeNumber(std::string_view text, unsigned long long max, unsigned long long& value, std::string& why)
{
    why = "expected a whole number 0.." + std::to_string(max);
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    // from_chars takes no sign and no blanks, so "-1" and " 1" are refused here.
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    return !text.empty() && error == std::errc() && end == text.data() + text.size() && value <= max;
}

bool ParseNameList(std::string_view text, std::initializer_list<std::string_view> names, unsigned long& chosen,
                   std::string& why)
{
    chosen = 0;
    while (!text.empty()) {
        const std::size_t comma = text.find(',');
        const std::string_view name = text.substr(0, comma);
        unsigned long bit = 1;
        bool known = false;
        for (std::string_view candidate : names) {
            if (candidate == name) {
                known = true;
                break;
            }
            bit <<= 1;
        }
        if (!known) {
            why = "expected a comma-separated list of";
            for (std::string_view candidate : names)
                why += " " + std::string(candidate);
            return false;
        }
        chosen |= bit;
        if (comma == std::string_view::npos)
            break;
        text.remove_prefix(comma + 1);
    }
    return true;
}

bool ParseDecimal(std::string_view text, double min, double max, double& value, std::string& why)
{
    why = "expected a number " + std::to_string(static_cast<long long>(min)) + ".." +
          std::to_string(static_cast<long long>(max));
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && error == std::errc() && end == text.data() + text.size() && std::isfinite(value) &&
           value >= min && value <= max;
}

bool ParseOptionValue(std::string_view text, std::string& value, std::string&)
{
    value = std::string(text);
    return true;
}

bool ParseOptionValue(std::string_view text, SimDate& value, std::string& why)
{
    const std::size_t first = text.find('-');
    const std::size_t second = first == std::string_view::npos ? first : text.find('-', first + 1);
    unsigned long long year = 0, month = 0, day = 0;
    std::string ignored;
    const bool ok = second != std::string_view::npos && ParseWholeNumber(text.substr(0, first), 9999, year, ignored) &&
                    ParseWholeNumber(text.substr(first + 1, second - first - 1), 12, month, ignored) &&
                    ParseWholeNumber(text.substr(second + 1), 31, day, ignored) && year >= 1900 && month >= 1 &&
                    day >= 1;
    if (!ok) {
        why = "expected a date Y-M-D, year 1900..9999";
        return false;
    }
    value = {static_cast<int>(year), static_cast<int>(month), static_cast<int>(day)};
    return true;
}

bool ParseOptionValue(std::string_view text, OptionIndexes& value, std::string& why)
{
    value.reset();
    if (text.empty())
        return true; // no options installed
    for (;;) {
        const std::size_t comma = text.find(',');
        unsigned long long index = 0;
        if (!ParseWholeNumber(text.substr(0, comma), value.size() - 1, index, why)) {
            why = "expected option indexes 0.." + std::to_string(value.size() - 1) + ", comma-separated";
            return false;
        }
        value.set(static_cast<std::size_t>(index));
        if (comma == std::string_view::npos)
            return true;
        text.remove_prefix(comma + 1);
    }
}

} // namespace halcyra::sim
