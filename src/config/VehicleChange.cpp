#include "config/VehicleChange.h"

#include "link/ControllerLink.h"
#include "link/Framing.h"
#include "link/MessageIds.h"
#include "link/Notifier.h"
#include "link/RequestSeries.h"
#include "link/SerialPort.h"
#include "pages/PageLogic.h"
#include "params/Param.h"
#include "params/ParamFile.h"
#include "setup/BlockTransfer.h"
#include "setup/SetupFiles.h"

namespace halcyra {

namespace {

constexpr std::int32_t kEntryPayload = 2 + 16 + 16;
constexpr std::size_t kEntryText = 16;
// List indexes are 16 bits: a larger count is no list the controller can give.
constexpr std::uint32_t kMaxVehicleEntries = 0x10000;

// A 16-byte text up to its zero byte. Control characters (a tab or line
// break would split a listing line) show as blanks.
std::string PopText(CRxBuffer& rx)
{
    std::string text;
    bool ended = false;
    for (std::size_t i = 0; i < kEntryText; ++i) {
        std::uint8_t byte = 0;
        rx.PopValue(byte);
        ended = ended || byte == 0;
        if (!ended)
            text.push_back(byte < 0x20 || byte == 0x7F ? ' ' : static_cast<char>(byte));
    }
    return text;
}

} // namespace

// ---------------------------------------------------------------- messages

CVehicleCountMsg::CVehicleCountMsg()
    : CControllerMsg(HeaderFamily::FourByte, wire::kTableMsg, wire::table::kVehicleSub, wire::table::kVehicleCountOp, 4)
{
}

bool CVehicleCountMsg::DecodePayload(CRxBuffer& rx)
{
    rx.PopValue(count);
    return true;
}

CVehicleEntryMsg::CVehicleEntryMsg(std::uint8_t op, std::uint16_t entryIndex)
    : CControllerMsg(HeaderFamily::FourByte, wire::kTableMsg, wire::table::kVehicleSub, op, kEntryPayload),
      index(entryIndex)
{
}

void CVehicleEntryMsg::EncodePayload(CTxBuffer& tx) const { tx.PushValue(index); }

bool CVehicleEntryMsg::DecodePayload(CRxBuffer& rx)
{
    rx.PopValue(replyIndex);
    code = PopText(rx);
    name = PopText(rx);
    return true;
}

bool FetchVehicleList(CControllerLink& link, std::vector<VehicleListEntry>& entries)
{
    entries.clear();
    CVehicleCountMsg count;
    if (!link.Transact(count))
        return false;
    const std::uint32_t n = std::min(count.count, kMaxVehicleEntries);
    // An entry that fails is left out and the next one read, so one damaged
    // entry hides no vehicle after it; a controller that has stopped
    // answering ends the list.
    CRequestSeries series(link);
    for (std::uint32_t i = 0; i < n && !series.StoppedAnswering(); ++i) {
        CVehicleEntryMsg entry(CVehicleEntryMsg::kEntry, static_cast<std::uint16_t>(i));
        if (series.Run([&] { return link.Transact(entry); }) && !entry.name.empty())
            entries.push_back({static_cast<std::uint16_t>(i), entry.name});
    }
    return !series.AnyFailed();
}

// ---------------------------------------------------------------- profile

CVehicleProfile::LoadResult CVehicleProfile::Load(const std::string& path)
{
    Clear();
    // Read whole and searched in memory: the name shown is the one of the
    // bytes that will be uploaded.
    ParamTextFile file = ReadParamTextFile(path);
    if (file.result == ParamFileRead::CannotOpen)
        return LoadResult::CannotOpen;
    problem_ = file.Note();
    CStringParam model("vms");
    if (file.result != ParamFileRead::Read || !model.ReadFromText(file.text))
        return LoadResult::Invalid;
    bytes_.assign(file.text.begin(), file.text.end());
    modelName_ = model.value;
    loaded_ = true;
    return LoadResult::Loaded;
}

void CVehicleProfile::Clear()
{
    loaded_ = false;
    bytes_.clear();
    modelName_.clear();
    problem_.clear();
}

// ---------------------------------------------------------------- page state

void CVehicleModelState::Refresh(CControllerLink& link, bool modified)
{
    vehicleRead = vehicle.Read(link);
    CByteParam xvp("xvp");
    profileSupported = xvp.Get(link);
    externalProfile = profileSupported && xvp.value == 1;
    LayOut(link, profileLoaded, modified);
}

void CVehicleModelState::SelectControllerEntry()
{
    selected = -1;
    for (const VehicleListEntry& entry : list)
        if (entry.index == vehicle.vehicleIndex)
            selected = entry.index;
}

void CVehicleModelState::LayOut(CControllerLink& link, bool profileFlag, bool modified)
{
    layout = VehicleModelLayout{};
    layout.modeButtons = profileSupported;
    layout.extVp = profileSupported;
    if (profileSupported && profileFlag) {
        layout.profileName = true;
        layout.list = false;
        layout.refresh = false;
        layout.browse = true;
        // Without a profile loaded, Select would only offer a change that does nothing.
        layout.selectEnabled = modified && profile.IsLoaded();
        mode = kExternalFile;
        return;
    }
    if (profileSupported)
        mode = kInternalDatabase;
    if (list.empty())
        FillList(link);
    else
        SelectControllerEntry();
}

void CVehicleModelState::FillList(CControllerLink& link)
{
    CNoBusyIndicator none;
    CBusyScope waiting(busy ? *busy : none);
    FetchVehicleList(link, list);
    SelectControllerEntry();
}

void CVehicleModelState::ChooseMode(CControllerLink& link, int chosen, bool modified)
{
    if (chosen == kExternalFile) {
        mode = kExternalFile;
        // A profile loaded earlier is no longer shown, so it is no longer offered.
        shownProfileName.clear();
        profile.Clear();
        profileLoaded = false;
        LayOut(link, true, modified);
    } else {
        mode = kInternalDatabase;
        LayOut(link, false, modified);
    }
}

bool CVehicleModelState::LoadProfile(const std::string& path, INotifier& notifier)
{
    // Read into a profile of its own: one that fails leaves the profile
    // loaded earlier, which the page still shows and offers.
    CVehicleProfile loaded;
    switch (loaded.Load(path)) {
    case CVehicleProfile::LoadResult::CannotOpen:
        notifier.Notify("Error: Could not open specified file", "FileOpen Error", MsgButtons::Ok, MsgIcon::Stop);
        return false;
    case CVehicleProfile::LoadResult::Invalid:
        notifier.Notify("Error: Invalid Vehicle Profile " + loaded.Problem(), "File Error", MsgButtons::Ok,
                        MsgIcon::Stop);
        return false;
    case CVehicleProfile::LoadResult::Loaded:
        break;
    }
    profile = std::move(loaded);
    shownProfileName = profile.ModelName();
    profileLoaded = true;
    return true;
}

bool CVehicleModelState::HasChangeToApply() const
{
    return mode == kExternalFile ? profile.IsLoaded() : selected >= 0;
}

VehicleChangeResult CVehicleModelState::Apply(CControllerLink& link, const ApplyOptions& options)
{
    const bool fromProfile = mode == kExternalFile;
    // Nothing chosen: an index from no entry, or an upload of nothing, would
    // restart the controller for nothing or worse.
    if (!HasChangeToApply())
        return VehicleChangeResult::NothingToApply;
    bool uploaded = true;
    const std::string profileModel = profile.ModelName();
    SetupBackup backup{true, {}};
    if (fromProfile) {
        backup = BackUpBeforeOverwrite(link, options.backup);
        if (!backup.goOn)
            return VehicleChangeResult::Cancelled;
        CBlockTransfer transfer(link);
        transfer.SetProgress(options.progress);
        try {
            uploaded = transfer.UploadFromMemory(kSetupBlock, profile.Bytes());
        } catch (CSerialException& e) {
            link.Notifier().Notify(InterruptedUploadText(e.what(), "load the vehicle profile again", backup),
                                   "Upload Error", MsgButtons::Ok, MsgIcon::Stop);
            e.MarkReported();
            throw;
        }
        if (!uploaded)
            link.Notifier().Notify("Error: Vehicle Profile upload problem!" + BackupNote(backup), "Upload Error",
                                   MsgButtons::Ok, MsgIcon::Stop);
        profile.Clear();
    } else {
        CVehicleEntryMsg select(CVehicleEntryMsg::kSelect, static_cast<std::uint16_t>(selected));
        link.Transact(select);
    }
    ResetControllerAndWait(link, options.busy, options.restartPause);
    const bool read = vehicleRead = vehicle.Read(link);
    // A profile names its model: the controller took it over when it shows that name.
    const bool taken = read && (fromProfile ? uploaded && vehicle.modelName == profileModel
                                            : vehicle.vehicleIndex == static_cast<std::uint32_t>(selected));
    if (!taken)
        link.Notifier().Notify(kVehicleNotTakenText, " ", MsgButtons::Ok, MsgIcon::Exclamation);
    if (!uploaded)
        return VehicleChangeResult::UploadFailed;
    if (taken && !backup.path.empty())
        link.Notifier().Notify("Vehicle profile uploaded successfully" + BackupNote(backup), "Upload Complete",
                               MsgButtons::Ok, MsgIcon::Information);
    return taken ? VehicleChangeResult::Applied : VehicleChangeResult::NotTakenOver;
}

std::optional<VehicleChangeResult> CVehicleModelState::Leave(CControllerLink& link, bool modified,
                                                             const ApplyOptions& options)
{
    // A question whose Yes would do nothing is not asked.
    if (modified && HasChangeToApply() &&
        link.Notifier().Notify(kSelectVehicleNowText, " ", MsgButtons::YesNo, MsgIcon::Exclamation) == MsgAnswer::Yes)
        return Apply(link, options);
    return std::nullopt;
}

std::optional<VehicleChangeResult> CVehicleModelState::Cancel(CControllerLink& link, bool modified,
                                                              const ApplyOptions& options)
{
    if (modified && HasChangeToApply() &&
        link.Notifier().Notify("Discard Changes?", " ", MsgButtons::YesNo, MsgIcon::Exclamation) == MsgAnswer::No)
        return Apply(link, options);
    return std::nullopt;
}

// ---------------------------------------------------------------- fields

PageFields VehicleModelFields(CVehicleModelState& state, VehicleModelActions actions)
{
    CVehicleModelState* s = &state;
    return {
        field::ReadOnly("currentModel", "Current Vehicle Model:", CFieldValue::Text(state.vehicle.modelName)),
        field::ComboData("vehicleList", "Select A Vehicle Model:",
                         CFieldValue::Computed([s] { return static_cast<double>(s->selected); },
                                               [s, chosen = actions.listChosen](double index) {
                                                   s->selected = static_cast<int>(index);
                                                   if (chosen)
                                                       chosen();
                                               }),
                         {})
            .ChoicesFrom([s] {
                std::vector<FieldChoice> entries;
                for (const VehicleListEntry& entry : s->list)
                    entries.push_back({entry.name, entry.index});
                return entries;
            })
            .VisibleWhen([s] { return s->layout.list; }),
        field::ReadOnly("profileModel", "Select A Vehicle Model:", CFieldValue::Text(state.shownProfileName))
            .VisibleWhen([s] { return s->layout.profileName; }),
        field::Radios("mode", "",
                      CFieldValue::Computed([s] { return static_cast<double>(s->mode); },
                                            [chosen = actions.modeChosen](double mode) {
                                                if (chosen)
                                                    chosen(static_cast<int>(mode));
                                            }),
                      {{"Internal Vehicle Database", CVehicleModelState::kInternalDatabase},
                       {"External Vehicle File", CVehicleModelState::kExternalFile}})
            .VisibleWhen([s] { return s->layout.modeButtons; }),
        // Shows what the controller says; not for the user to change.
        field::Check("extVp", "Ext. VP",
                     CFieldValue::Computed([s] { return s->externalProfile ? 1.0 : 0.0; }, [](double) {}))
            .EnabledWhen([] { return false; })
            .VisibleWhen([s] { return s->layout.extVp; }),
    };
}

} // namespace halcyra
