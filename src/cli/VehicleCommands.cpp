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
    const std::string& indexText = c.args.operands[0];
    const bool yes = c.args.Has("--yes");
    std::uint16_t index = 0;
    const auto [end, error] = std::from_chars(indexText.data(), indexText.data() + indexText.size(), index);
    if (error != std::errc() || end != indexText.data() + indexText.size())
        return UsageError(c, "INDEX is a vehicle's index as halcyra vehicles lists it");
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
    const std::string& path = c.args.operands[0];
    const bool yes = c.args.Has("--yes");
    const bool noBackup = c.args.Has("--no-backup");
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
