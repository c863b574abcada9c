#include "sim/ParamStore.h"

#include "link/Files.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <vector>

namespace halcyra::sim {

namespace {

bool SplitRecord(const std::string& line, std::string& name, std::string& value)
{
    std::size_t sep = line.find(": ");
    std::size_t colon = line.find(':');
    if (sep == std::string::npos || colon != sep || sep < 3)
        return false;
    name = line.substr(0, sep);
    for (char c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            return false;
    value = line.substr(sep + 2);
    return true;
}

// The lines of a text as a controller reads them: CR LF, a lone CR and a
// lone LF each end one.
std::vector<std::string_view> Lines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

// A NUL or a control character other than tab: no byte of a parameter text.
std::optional<std::size_t> ControlAt(std::string_view line)
{
    for (std::size_t i = 0; i < line.size(); ++i) {
        const auto c = static_cast<unsigned char>(line[i]);
        if ((c < 0x20 && c != '\t') || c == 0x7F)
            return i;
    }
    return std::nullopt;
}

bool IsWhole(std::string_view value)
{
    // "%u": digits only, within 32 bits.
    std::uint32_t n = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), n);
    return !value.empty() && error == std::errc() && end == value.data() + value.size();
}

bool IsDecimal(std::string_view value)
{
    // "%f" reads what strtof reads; the controller keeps finite floats only.
    float f = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), f);
    return !value.empty() && error == std::errc() && end == value.data() + value.size() && std::isfinite(f);
}

bool IsQuotedText(std::string_view value)
{
    return value.size() >= 2 && value.front() == '"' && value.back() == '"' &&
           value.find('"', 1) == value.size() - 1;
}

} // namespace

std::optional<ParamType> TypeOfValue(std::string_view value)
{
    for (ParamType type : {ParamType::Whole, ParamType::Decimal, ParamType::Text})
        if (HasType(value, type))
            return type;
    return std::nullopt;
}

bool HasType(std::string_view value, ParamType type)
{
    switch (type) {
    case ParamType::Whole:
        return IsWhole(value);
    case ParamType::Decimal:
        return IsDecimal(value);
    case ParamType::Text:
        return IsQuotedText(value);
    }
    return false;
}

const char* TypeName(ParamType type)
{
    switch (type) {
    case ParamType::Whole:
        return "a whole number";
    case ParamType::Decimal:
        return "a decimal number";
    case ParamType::Text:
        return "quoted text";
    }
    return "";
}

bool CParamStore::LoadText(const std::string& text, std::string& error)
{
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    std::string_view body = text;
    if (body.starts_with(kByteOrderMark))
        body.remove_prefix(kByteOrderMark.size());
    const std::vector<std::string_view> lines = Lines(body);
    // The whole text is checked before anything of it is defined.
    bool anyRecord = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (const auto at = ControlAt(lines[i])) {
            const auto c = static_cast<unsigned>(static_cast<unsigned char>(lines[i][*at]));
            char code[8];
            std::snprintf(code, sizeof code, "0x%02X", c);
            error = "line " + std::to_string(i + 1) + " holds the control character " + code + " at character " +
                    std::to_string(*at + 1) + ": this is no parameter text file";
            return false;
        }
        std::string name, value;
        anyRecord = anyRecord || SplitRecord(std::string(lines[i]), name, value);
    }
    if (!anyRecord) {
        error = "no line holds a parameter (NAME: VALUE)";
        return false;
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string name, value;
        if (!SplitRecord(std::string(lines[i]), name, value))
            continue;
        if (!Define(name, value)) {
            error = "line " + std::to_string(i + 1) + ": the value of " + name +
                    " is neither a whole number, a decimal number nor quoted text";
            return false;
        }
    }
    return true;
}

bool CParamStore::LoadFile(const std::string& path, std::string& error)
{
    // A setup is a few kilobytes; anything much larger is no setup file.
    constexpr std::size_t kMaxSetupBytes = 1024 * 1024;
    std::string text;
    std::string why;
    const FileRead read = ReadWholeFile(path, text, &why, kMaxSetupBytes);
    if (read == FileRead::TooLarge)
        why = "it is larger than 1 MiB";
    else if (read == FileRead::Read && text.empty())
        why = "it is empty";
    if (read != FileRead::Read || text.empty()) {
        error = "setup file " + path + ": " + why;
        return false;
    }
    if (!LoadText(text, error)) {
        error = "setup file " + path + ", " + error;
        return false;
    }
    return true;
}

bool CParamStore::ApplyAssignment(const std::string& assignment, std::string& error)
{
    const std::size_t eq = assignment.find('=');
    if (eq == std::string::npos || eq == 0) {
        error = "expected NAME=VALUE, got '" + assignment + "'";
        return false;
    }
    const std::string name = assignment.substr(0, eq);
    const std::string value = assignment.substr(eq + 1);
    if (auto type = Type(name)) {
        if (Set(name, value) == SetResult::Stored)
            return true;
        error = "cannot set " + name + " to " + value + ": it holds " + TypeName(*type);
        return false;
    }
    if (Define(name, value))
        return true;
    error = "cannot set " + name + " to " + value + ": that is neither a whole number, a decimal number nor quoted text";
    return false;
}

void CParamStore::ApplyRecords(const std::string& text)
{
    for (std::string_view line : Lines(text)) {
        std::string name, value;
        if (SplitRecord(std::string(line), name, value))
            Set(name, value);
    }
}

CParamStore::SetResult CParamStore::Set(const std::string& name, const std::string& value)
{
    auto it = params_.find(name);
    if (it == params_.end())
        return SetResult::UnknownName;
    if (!HasType(value, it->second.type))
        return SetResult::WrongType;
    it->second.value = value;
    const auto [first, last] = observers_.equal_range(name);
    for (auto observer = first; observer != last; ++observer)
        observer->second(value);
    return SetResult::Stored;
}

float CParamStore::Decimal(const std::string& name, float fallback) const
{
    const auto found = params_.find(name);
    if (found == params_.end())
        return fallback;
    const std::string& text = found->second.value;
    float value = fallback;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end != text.data() ? value : fallback;
}

void CParamStore::OnSet(const std::string& name, SetObserver observer)
{
    observers_.emplace(name, std::move(observer));
}

bool CParamStore::Define(const std::string& name, const std::string& value)
{
    auto type = TypeOfValue(value);
    if (!type)
        return false;
    params_[name] = {*type, value};
    return true;
}

std::optional<std::string> CParamStore::Get(const std::string& name) const
{
    auto it = params_.find(name);
    if (it == params_.end())
        return std::nullopt;
    return it->second.value;
}

std::optional<ParamType> CParamStore::Type(const std::string& name) const
{
    auto it = params_.find(name);
    if (it == params_.end())
        return std::nullopt;
    return it->second.type;
}

std::string CParamStore::ToText() const
{
    std::string text;
    // The vehicle model first, as the controller writes it.
    if (auto vms = Get("vms"))
        text += "vms: " + *vms + "\r\n";
    for (const auto& [name, param] : params_)
        if (name != "vms")
            text += name + ": " + param.value + "\r\n";
    return text;
}

std::map<std::string, std::string> CParamStore::Values() const
{
    std::map<std::string, std::string> values;
    for (const auto& [name, param] : params_)
        values[name] = param.value;
    return values;
}

} // namespace halcyra::sim
