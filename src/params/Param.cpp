#include "params/Param.h"

#include "link/ControllerLink.h"
#include "link/Format.h"
#include "link/Notifier.h"
#include "params/ParamFile.h"
#include "params/ParamSet.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace halcyra {

namespace {

// Parses like scanf's "%u": optional blanks and sign, decimal digits; the
// result is cut to 32 bits.
bool ScanUnsigned(std::string_view text, std::uint32_t& out)
{
    std::string copy(text);
    const char* start = copy.c_str();
    char* end = nullptr;
    errno = 0;
    unsigned long long v = std::strtoull(start, &end, 10);
    if (end == start)
        return false;
    out = static_cast<std::uint32_t>(v);
    return true;
}

bool ScanFloat(std::string_view text, float& out)
{
    std::string copy(text);
    const char* start = copy.c_str();
    char* end = nullptr;
    float v = std::strtof(start, &end);
    if (end == start)
        return false;
    out = v;
    return true;
}

// The first control character in text, described with its position.
std::optional<std::string> FindControl(std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c != 0x7F)
            continue;
        return Format("%s at character %zu", ControlCharacterName(c).c_str(), i + 1);
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> CheckSetText(std::string_view name, std::string_view value)
{
    if (name.empty())
        return std::string("The parameter name is empty");
    if (auto where = FindControl(name))
        return "The parameter name holds a control character (" + *where + ")";
    if (auto where = FindControl(value))
        return "The value of " + std::string(name) + " holds a control character (" + *where + ")";
    return std::nullopt;
}

bool IsReadOnlyReading(std::string_view name)
{
    return name.size() > 2 && name.substr(0, 2) == "RO" && std::isupper(static_cast<unsigned char>(name[2]));
}

CParam::CParam(std::string_view name, CParamSet* set) : name_(name)
{
    if (set)
        set->Add(this);
}

bool CParam::ParseReply(std::string_view text)
{
    std::size_t n = NameTokenLength(text);
    if (n == 0)
        return false;
    // A reply naming another parameter is not this one's value (a controller
    // answers a name it does not know with an error text of its own).
    if (text.substr(0, n) != std::string_view(name_).substr(0, kMaxNameCompare))
        return false;
    if (text.substr(n, 2) != ": ")
        return false;
    if (!FromText(text.substr(n + 2)))
        return false;
    retrieved_ = true;
    return true;
}

namespace {

// A name or value that would put more than one record on the wire is
// refused before anything is sent.
bool RefuseUnsafe(CControllerLink& link, std::string_view name, std::string_view value)
{
    const std::optional<std::string> problem = CheckSetText(name, value);
    if (!problem)
        return false;
    link.Notifier().Notify("Error: " + *problem + ". Nothing was sent.", "Error", MsgButtons::Ok, MsgIcon::Stop);
    return true;
}

} // namespace

bool CParam::Get(CControllerLink& link)
{
    retrieved_ = false;
    if (RefuseUnsafe(link, name_, {}))
        return false;
    CParamTextMsg msg(CParamTextMsg::Get, name_);
    if (!link.Transact(msg))
        return false;
    return ParseReply(msg.Text());
}

bool CParam::Set(CControllerLink& link)
{
    if (RefuseUnsafe(link, name_, ToText()))
        return false;
    std::string text = name_ + ": " + ToText();
    if (text.size() > CParamTextMsg::kMaxText) {
        link.Notifier().Notify("Error: The value of " + name_ + " is too long to send (" +
                                   std::to_string(text.size()) + " characters; at most " +
                                   std::to_string(CParamTextMsg::kMaxText) + "). Nothing was sent.",
                               "Error", MsgButtons::Ok, MsgIcon::Stop);
        return false;
    }
    CParamTextMsg msg(CParamTextMsg::Set, std::move(text));
    if (!link.Transact(msg))
        return false;
    retrieved_ = true;
    return true;
}

bool CParam::ReadFromFile(std::FILE* file)
{
    std::rewind(file);
    std::string text;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        text.append(buffer, n);
    std::rewind(file);
    return ReadFromText(text);
}

bool CParam::ReadFromText(std::string_view text)
{
    text = WithoutByteOrderMark(text);
    for (std::size_t pos = 0;;) {
        const std::string line = ReadParamLine(text, pos);
        if (line.empty())
            return false;
        const std::size_t n = NameTokenLength(line);
        if (n != 0 && std::string_view(line).substr(0, n) == std::string_view(name_).substr(0, kMaxNameCompare))
            return ParseReply(line);
    }
}

// ---------------------------------------------------------------- typed values

std::string CUIntParam::ToText() const { return std::to_string(value); }

bool CUIntParam::FromText(std::string_view text)
{
    std::uint32_t v = 0;
    if (!ScanUnsigned(text, v))
        return false;
    value = readValue = v;
    return true;
}

std::string CByteParam::ToText() const { return std::to_string(value & 0xFFu); }

std::string CShortParam::ToText() const { return std::to_string(static_cast<std::uint32_t>(static_cast<std::int32_t>(value))); }

bool CShortParam::FromText(std::string_view text)
{
    std::uint32_t v = 0;
    if (!ScanUnsigned(text, v))
        return false;
    value = readValue = static_cast<std::int16_t>(static_cast<std::uint16_t>(v & 0xFFFFu));
    return true;
}

std::string CFloatParam::ToText() const { return Format("%f", static_cast<double>(value)); }

bool CFloatParam::FromText(std::string_view text)
{
    float v = 0;
    if (!ScanFloat(text, v))
        return false;
    value = readValue = v;
    return true;
}

bool CFloatParam::IsModified() const
{
    if (!retrieved_)
        return false;
    const float lower = 1.0f - 0.001f;
    const float upper = 1.0f + 0.001f;
    if (value > 0)
        return value < readValue * lower || value > readValue * upper;
    return value < readValue * upper || value > readValue * lower;
}

std::string CStringParam::ToText() const
{
    std::string text = "\"" + value + "\"";
    if (text.size() > kMaxValue)
        text.resize(kMaxValue);
    return text;
}

bool CStringParam::FromText(std::string_view text)
{
    value.clear();
    readValue.clear();
    if (text.empty() || text.front() != '"')
        return false;
    std::size_t close = text.find('"', 1);
    if (close == std::string_view::npos)
        return false;
    std::string_view inner = text.substr(1, close - 1);
    if (inner.size() > kMaxValue)
        inner = inner.substr(0, kMaxValue);
    value = readValue = std::string(inner);
    return true;
}

bool CStringParam::IsModified() const
{
    return retrieved_ && value.substr(0, kMaxValue) != readValue.substr(0, kMaxValue);
}

// ---------------------------------------------------------------- units and lengths

bool CUnitsParam::ApplyUnitIndex(std::uint32_t index)
{
    struct Unit {
        const char* name;
        float factor;
    };
    static constexpr Unit units[] = {{"cm", 100.0f}, {"m", 1.0f}, {"in", 39.370079f}, {"ft", 3.2808399f}};
    const std::uint32_t lowByte = index & 0xFFu;
    if (lowByte > 3)
        return false;
    unitIndex_ = static_cast<std::uint8_t>(lowByte);
    unitName_ = units[lowByte].name;
    factor_ = units[lowByte].factor;
    hasFactor_ = true;
    return true;
}

bool CUnitsParam::Get(CControllerLink& link)
{
    if (!CParam::Get(link))
        return false;
    // An index the program has no unit for leaves the previous unit in force,
    // and the get counts as failed: nothing is sent back on save.
    if (!ApplyUnitIndex(value)) {
        retrieved_ = false;
        return false;
    }
    return true;
}

bool CLengthParam::Get(CControllerLink& link)
{
    if (!CParam::Get(link))
        return false;
    if (!units_.Get(link)) {
        // The value is still in metres, not display units: a save must not send it.
        retrieved_ = false;
        return false;
    }
    value = readValue = value * units_.Factor();
    return true;
}

bool CLengthParam::Set(CControllerLink& link)
{
    if (!units_.HasFactor()) {
        link.Notifier().Notify("Error: The display units have not been read from the controller, so " + Name() +
                                   " cannot be converted to metres. Nothing was sent.",
                               "Error", MsgButtons::Ok, MsgIcon::Stop);
        return false;
    }
    value = value / units_.Factor();
    return CParam::Set(link);
}

float CRangedLengthParam::Stepped(float x, float step)
{
    if (step == 0.0f)
        return x;
    const float sign = x < 0 ? -1.0f : 1.0f;
    return step * std::trunc((x + sign * step / 2) / step);
}

void CRangedLengthParam::ApplyRange()
{
    if (!range_)
        return;
    const LengthRange& r = (*range_)[Units().UnitIndex()];
    value = Stepped(value, r.step);
    const float maximum = Stepped(r.maximum, r.step);
    const float minimum = Stepped(r.minimum, r.step);
    if (maximum <= value)
        value = maximum;
    if (value <= minimum)
        value = minimum;
}

bool CRangedLengthParam::Get(CControllerLink& link)
{
    if (!CLengthParam::Get(link))
        return false;
    ApplyRange();
    return true;
}

} // namespace halcyra
