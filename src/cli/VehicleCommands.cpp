// vehicles, select-vehicle and load-profile: the controller's vehicle model,
// changed as the Vehicle Model page changes it.

#include "cli/Commands.h"
#include "config/VehicleChange.h"
#include "link/Files.h"
#include "params/Param.h"

#include <charconv>
#include <ostream>

namespace halcyra::cli {

namespace {

// The command's one operand, --yes and (when allowed) --no-backup; false
// for anything else.
bool OperandAndYes(const std::vector<std::string>& args, std::string& operand, bool& yes, bool* noBackup = nullptr)
{
    for (const std::string& a : args) {
        if (a == "--yes")
            yes = true;
        else if (a == "--no-backup" && noBackup)
            *noBackup = true;
        else if (!a.empty() && a[0] != '-' && operand.empty())
            operand = a;
        else
            return false;
    }
    return !operand.empty();
}

// Asks, applies, restarts and waits; then the model read back.
int ApplyChange(CommandContext& c, CVehicleModelState& state, const SetupBackupOptions& backup = {})
{
    CVehicleModelState::ApplyOptions options;
    options.backup = backup;
    options.progress = ChunkProgress(c.err);
    options.busy = [&c](bool waiting) {
        if (waiting)
            c.err << "waiting for the controller to restart\n" << std::flush;
    };
    const std::optional<VehicleChangeResult> result = state.Leave(c.link, true, options);
    if (!result) {
        c.err << "halcyra: the vehicle model was left as it was\n";
        return kExitFailed;
    }
    if (state.vehicleRead)
        c.out << "Vehicle Model: " << state.vehicle.modelName << "\n";
    return *result == VehicleChangeResult::Applied ? kExitOk : kExitFailed;
}

} // namespace

int CmdVehicles(CommandContext& c)
{
    if (!c.args.empty()) {
        c.err << "usage: halcyra vehicles\n";
        return kExitUsage;
    }
    std::vector<VehicleListEntry> entries;
    const bool whole = FetchVehicleList(c.link, entries);
    Json vehicles = Json::array();
    for (const VehicleListEntry& entry : entries) {
        if (c.json)
            vehicles.push_back(Json{{"index", entry.index}, {"name", entry.name}});
        else
            c.out << entry.index << "\t" << entry.name << "\n";
    }
    if (c.json)
        (*c.json)["vehicles"] = std::move(vehicles);
    return whole ? kExitOk : Failed(c, "the vehicle list could not be read whole");
}

int CmdSelectVehicle(CommandContext& c)
{
    std::string indexText;
    bool yes = false;
    std::uint16_t index = 0;
    const bool usage = !OperandAndYes(c.args, indexText, yes);
    const auto [end, error] = std::from_chars(indexText.data(), indexText.data() + indexText.size(), index);
    if (usage || error != std::errc() || end != indexText.data() + indexText.size()) {
        c.err << "usage: halcyra select-vehicle INDEX [--yes]   (INDEX as halcyra vehicles lists it)\n";
        return kExitUsage;
    }
    // Only a vehicle of the list: the page offers nothing else.
    CVehicleCountMsg count;
    if (!c.link.Transact(count))
        return kExitFailed;
    CVehicleEntryMsg entry(CVehicleEntryMsg::kEntry, index);
    if (index >= count.count || !c.link.Transact(entry) || entry.name.empty()) {
        c.err << "halcyra: the controller's vehicle list has no vehicle " << index << " (see halcyra vehicles)\n";
        return kExitFailed;
    }
    c.err << "Vehicle " << index << ": " << entry.name << "\n";
    c.notifier.AssumeYes(yes);
    CVehicleModelState state;
    state.mode = CVehicleModelState::kInternalDatabase;
    state.selected = index;
    return ApplyChange(c, state);
}

int CmdLoadProfile(CommandContext& c)
{
    std::string path;
    bool yes = false;
    bool noBackup = false;
    if (!OperandAndYes(c.args, path, yes, &noBackup)) {
        c.err << "usage: halcyra load-profile FILE [--yes] [--no-backup]\n";
        return kExitUsage;
    }
    // The file is checked before anything is sent.
    CVehicleModelState state;
    if (!state.LoadProfile(path, c.notifier))
        return kExitFailed;
    CByteParam profilesTaken("xvp");
    if (!profilesTaken.Get(c.link)) {
        c.err << "halcyra: this controller does not take vehicle profiles\n";
        return kExitFailed;
    }
    c.err << "Vehicle profile " << EscapedName(path) << ": " << state.profile.ModelName() << "\n";
    c.notifier.AssumeYes(yes);
    state.mode = CVehicleModelState::kExternalFile;
    return ApplyChange(c, state, SetupBackupFor(c, noBackup, yes));
}

} // namespace halcyra::cli
