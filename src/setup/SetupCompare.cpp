#include "setup/SetupCompare.h"

#include "link/ControllerLink.h"
#include "link/ControllerMsg.h"
#include "link/Files.h"
#include "link/Format.h"
#include "params/Param.h"
#include "params/ParamFile.h"
#include "setup/BlockTransfer.h"
#include "setup/SetupFiles.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <string_view>

namespace halcyra {

namespace {

// The lengths the configuration and calibration pages show in display
// units: end-of-row alarm, inner LED spacing, antenna height and distance
// from the fixed axle, track spacing. The controller keeps them in metres.
constexpr std::array<std::string_view, 5> kLengthParams = {"wre", "ldi", "alz", "alx", "trw"};

// "name: value" with a name of letters and digits.
std::optional<SetupRecord> ParseRecord(std::string_view line)
{
    const std::size_t sep = line.find(": ");
    if (sep == std::string_view::npos || sep == 0)
        return std::nullopt;
    const std::string_view name = line.substr(0, sep);
    if (!std::all_of(name.begin(), name.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)); }))
        return std::nullopt;
    return SetupRecord{std::string(name), std::string(line.substr(sep + 2))};
}

std::optional<double> Number(const std::string& text)
{
    if (text.empty() || std::isspace(static_cast<unsigned char>(text[0])))
        return std::nullopt;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// A length in metres shown in the display unit, as the pages show lengths:
// three decimals in metres and feet, two in centimetres and inches.
std::string InDisplayUnits(const std::string& value, const CUnitsParam* units)
{
    const std::optional<double> metres = Number(value);
    if (!metres || !units)
        return value;
    const bool fine = units->UnitIndex() == 1 || units->UnitIndex() == 3;
    return Format(fine ? "%.3f %s" : "%.2f %s", *metres * units->Factor(), units->UnitName().c_str());
}

std::string Shown(const std::string& name, const std::string& value, const CUnitsParam* units)
{
    return IsLengthParam(name) ? InDisplayUnits(value, units) : value;
}

} // namespace

std::vector<SetupRecord> ReadSetupRecords(std::string_view text)
{
    text = WithoutByteOrderMark(text);
    std::vector<SetupRecord> records;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::string line = ReadParamLine(text, pos);
        if (auto record = ParseRecord(line))
            records.push_back(std::move(*record));
    }
    return records;
}



bool SetupValuesMatch(const std::string& a, const std::string& b)
{
    if (a == b)
        return true;
    const std::optional<double> x = Number(a);
    const std::optional<double> y = Number(b);
    if (!x || !y)
        return false;
    return *x == *y || static_cast<float>(*x) == static_cast<float>(*y);
}

bool IsLengthParam(const std::string& name)
{
    return std::find(kLengthParams.begin(), kLengthParams.end(), name) != kLengthParams.end();
}

namespace {

using RecordMap = std::map<std::string, std::string, std::less<>>;

// The controller's setup block as records by name; empty when the
// controller refuses it (each setting is then asked by name), nothing when
// it did not answer.
std::optional<RecordMap> ReadControllerSetup(CControllerLink& link, const ProgressCallback& progress)
{
    const CControllerLink::CQuietErrors unanswered(link);
    CBlockTransfer transfer(link);
    transfer.SetProgress(progress);
    std::string block;
    RecordMap records;
    if (transfer.DownloadToMemory(kSetupBlock, block))
        for (SetupRecord& r : ReadSetupRecords(block))
            records.emplace(std::move(r.name), std::move(r.value));
    if (unanswered.Count() > 0)
        return std::nullopt;
    return records;
}

// The display units the lengths are shown in: from the setup block when it
// names them, else asked.
bool ReadUnits(CControllerLink& link, const RecordMap& block, CUnitsParam& units)
{
    if (auto dsu = block.find(units.Name()); dsu != block.end()) {
        char* end = nullptr;
        const unsigned long index = std::strtoul(dsu->second.c_str(), &end, 10);
        if (*end == '\0' && units.ApplyUnitIndex(static_cast<std::uint32_t>(index)))
            return true;
    }
    return units.Get(link);
}

} // namespace

CompareResult CompareSetupWithController(CControllerLink& link, const std::string& path, SetupComparison& comparison,
                                         std::string& error, const ProgressCallback& progress)
{
    comparison = SetupComparison{};
    comparison.path = path;
    const ParamTextFile file = ReadParamTextFile(path);
    if (file.result == ParamFileRead::CannotOpen) {
        error = "Error: Could not open specified file";
        return CompareResult::FileError;
    }
    std::vector<SetupRecord> settings = ReadSetupRecords(file.text);
    if (file.result != ParamFileRead::Read || settings.empty()) {
        error = "Error reading specified configuration file!" + file.Note();
        return CompareResult::FileError;
    }
    const auto readOnly = std::remove_if(settings.begin(), settings.end(),
                                         [](const SetupRecord& r) { return IsReadOnlyReading(r.name); });
    comparison.readOnlyLeftOut = static_cast<std::size_t>(settings.end() - readOnly);
    settings.erase(readOnly, settings.end());

    // One failed request is reported here, once, not with a box per record.
    CControllerLink::CQuietErrors quiet(link);
    const std::optional<RecordMap> setup = ReadControllerSetup(link, progress);
    if (!setup) {
        error = "Error: The controller did not answer the request for its setup; the comparison stopped there.";
        return CompareResult::NoAnswer;
    }
    const RecordMap& block = *setup;
    CUnitsParam units;
    const bool haveUnits = std::any_of(settings.begin(), settings.end(), [](const SetupRecord& r) {
        return IsLengthParam(r.name);
    }) && ReadUnits(link, block, units);
    if (haveUnits)
        comparison.unitName = units.UnitName();
    const CUnitsParam* shownUnits = haveUnits ? &units : nullptr;

    std::vector<SetupComparisonRow> unknown;
    const auto asked = static_cast<std::uint32_t>(std::count_if(
        settings.begin(), settings.end(), [&](const SetupRecord& r) { return block.find(r.name) == block.end(); }));
    std::uint32_t askedSoFar = 0;
    for (const SetupRecord& record : settings) {
        std::optional<std::string> value;
        if (auto held = block.find(record.name); held != block.end()) {
            value = held->second;
        } else {
            CParamTextMsg get(CParamTextMsg::Get, record.name);
            if (!link.Transact(get, kQuietTransact)) {
                error = "Error: The controller did not answer the request for " + record.name +
                        "; the comparison stopped there.";
                return CompareResult::NoAnswer;
            }
            const std::string prefix = record.name + ": ";
            if (get.Text().rfind(prefix, 0) == 0)
                value = get.Text().substr(prefix.size());
            if (progress)
                progress(++askedSoFar, asked);
        }
        if (!value)
            unknown.push_back({record.name, Shown(record.name, record.value, shownUnits), {}, true});
        else if (!SetupValuesMatch(record.value, *value))
            comparison.rows.push_back({record.name, Shown(record.name, record.value, shownUnits),
                                       Shown(record.name, *value, shownUnits), false});
        ++comparison.compared;
    }
    comparison.rows.insert(comparison.rows.end(), unknown.begin(), unknown.end());
    return CompareResult::Compared;
}

std::string SetupComparisonText(const SetupComparison& c)
{
    std::string text = "Setup file: " + EscapedName(c.path) + "\n";
    text += Format("Records compared with the controller: %zu\n", c.compared);
    if (c.readOnlyLeftOut > 0)
        text += Format("Read-only readings left out: %zu\n", c.readOnlyLeftOut);
    if (!c.unitName.empty())
        text += "Lengths are shown in " + c.unitName + ".\n";
    if (c.Matches())
        return text + "The controller's values match the file.\n";
    const auto firstUnknown = std::find_if(c.rows.begin(), c.rows.end(), [](const auto& r) { return r.unknown; });
    if (firstUnknown != c.rows.begin()) {
        text += "\nRecords that differ (name, file value, controller value):\n";
        for (auto it = c.rows.begin(); it != firstUnknown; ++it)
            text += it->name + "\t" + it->fileValue + "\t" + it->controllerValue + "\n";
    }
    if (firstUnknown != c.rows.end()) {
        text += "\nRecords the controller does not know (name, file value):\n";
        for (auto it = firstUnknown; it != c.rows.end(); ++it)
            text += it->name + "\t" + it->fileValue + "\n";
    }
    return text;
}

} // namespace halcyra
