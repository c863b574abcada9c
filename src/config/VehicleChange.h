#pragma once
// Changing the controller's vehicle model: choosing a vehicle from the list
// stored in the controller, or uploading a vehicle profile file (".vdb")
// into the setup block; then the restart and the check that the controller
// took the change over. The Vehicle Model page and the command line share it.

#include "link/ControllerMsg.h"
#include "link/MessageIds.h"
#include "pages/BusyIndicator.h"
#include "pages/PageFields.h"
#include "setup/SetupBackup.h"
#include "setup/VehicleModelInfo.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace halcyra {

class CControllerLink;
class INotifier;

inline constexpr const char* kVehicleProfileFilter = "Vehicle Profile Files (*.VDB)|*.vdb|All Files (*.*)|*.*||";
inline constexpr const char* kVehicleProfileExtension = "vdb";
inline constexpr const char* kSelectVehicleNowText = "Select Vehicle Model Now?";
inline constexpr const char* kVehicleNotTakenText = "Failed to select vehicle type!!";

// The number of entries in the controller's vehicle list.
class CVehicleCountMsg final : public CControllerMsg {
public:
    CVehicleCountMsg();
    bool DecodePayload(CRxBuffer& rx) override;
    std::uint32_t count = 0;
};

// One entry of the list (operation 1), or the selection of one (operation 2):
// both answer with the entry.
class CVehicleEntryMsg final : public CControllerMsg {
public:
    static constexpr std::uint8_t kEntry = wire::table::kVehicleEntryOp;
    static constexpr std::uint8_t kSelect = wire::table::kVehicleSelectOp;
    CVehicleEntryMsg(std::uint8_t operation, std::uint16_t index);
    void EncodePayload(CTxBuffer& tx) const override;
    bool DecodePayload(CRxBuffer& rx) override;

    std::uint16_t index;
    std::uint16_t replyIndex = 0;
    std::string code; // the first text, not shown
    std::string name; // the model name
};

struct VehicleListEntry {
    std::uint16_t index; // in the controller's list: what select-vehicle sends
    std::string name;
};

// The named entries of the controller's list (entries without a name are
// left out, so positions and indexes can differ). An entry that cannot be
// read is left out too, with one box per outage; two in a row unanswered
// end the list. False when the list could not be read whole.
bool FetchVehicleList(CControllerLink& link, std::vector<VehicleListEntry>& entries);

// A vehicle profile, read into memory once when it is loaded: what the user
// checked is what is uploaded, whatever becomes of the file meanwhile.
class CVehicleProfile {
public:
    enum class LoadResult { Loaded, CannotOpen, Invalid };
    // Invalid: not a parameter text file, or no "vms" record with a quoted name.
    LoadResult Load(const std::string& path);
    // Why the last file loaded is no parameter text file, as a paragraph
    // for the message; empty otherwise.
    const std::string& Problem() const { return problem_; }
    void Clear();
    bool IsLoaded() const { return loaded_; }
    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
    const std::string& ModelName() const { return modelName_; }

private:
    bool loaded_ = false;
    std::vector<std::uint8_t> bytes_;
    std::string modelName_;
    std::string problem_;
};

// Which controls the Vehicle Model page shows.
struct VehicleModelLayout {
    bool modeButtons = false; // "Internal Vehicle Database" / "External Vehicle File"
    bool extVp = false;       // the "Ext. VP" check box
    bool profileName = false; // the loaded profile's model name, in place of the list
    bool list = true;
    bool refresh = true;
    bool browse = false;
    bool selectEnabled = true;
};

enum class VehicleChangeResult {
    Applied,        // taken over by the controller
    NothingToApply, // no entry chosen, no profile loaded: nothing was sent
    UploadFailed,   // the profile did not reach the controller (it was restarted anyway)
    NotTakenOver,   // restarted, but the controller does not show the chosen vehicle
    Cancelled,      // no backup of the setup could be made and the user chose not to go on: nothing was sent
};

// The Vehicle Model page without its widgets.
class CVehicleModelState {
public:
    static constexpr int kInternalDatabase = 0;
    static constexpr int kExternalFile = 1;

    // Activation: reads the vehicle model and "xvp", then lays out.
    void Refresh(CControllerLink& link, bool modified);
    // Lays the controls out for a loaded profile or not; fills the list when
    // it is empty and selects the controller's entry.
    void LayOut(CControllerLink& link, bool profileFlag, bool modified);
    // Empties the list and reads it again (under the busy indicator).
    void FillList(CControllerLink& link);
    // The radio buttons.
    void ChooseMode(CControllerLink& link, int chosen, bool modified);

    // Loads a profile and shows its model name; the messages of a file that
    // cannot be opened or is no vehicle profile go to notifier. True when loaded.
    bool LoadProfile(const std::string& path, INotifier& notifier);

    struct ApplyOptions {
        std::function<void(bool)> busy; // brackets the wait for the restarted controller
        std::chrono::milliseconds restartPause{5000};
        ProgressCallback progress;      // of the profile upload
        SetupBackupOptions backup;      // the copy of the setup taken before a profile overwrites it
    };
    // Selects the chosen entry or uploads the loaded profile (after backing
    // up the controller's setup), restarts the controller, waits for it and
    // reads the vehicle model back. A profile taken over with a backup made
    // says where the backup went.
    VehicleChangeResult Apply(CControllerLink& link, const ApplyOptions& options);
    // A vehicle chosen in the list, or a profile loaded, in the mode shown.
    bool HasChangeToApply() const;
    // Leaving the page with a changed choice: "Select Vehicle Model Now?",
    // and Yes applies it. Cancelling the sheet: "Discard Changes?", and No
    // applies it. Nothing is asked without a change, nor when there is
    // nothing to apply.
    // Nothing when no change was applied.
    std::optional<VehicleChangeResult> Leave(CControllerLink& link, bool modified, const ApplyOptions& options);
    std::optional<VehicleChangeResult> Cancel(CControllerLink& link, bool modified, const ApplyOptions& options);

    CVehicleModelInfo vehicle;
    bool vehicleRead = false; // the last read of the vehicle model succeeded
    int mode = kInternalDatabase;
    bool profileLoaded = false;
    bool profileSupported = false;
    bool externalProfile = false; // "xvp" is 1: the model came from a profile
    std::vector<VehicleListEntry> list;
    int selected = -1;           // the index of the chosen entry; -1 none
    std::string shownProfileName; // in place of the list
    CVehicleProfile profile;
    VehicleModelLayout layout;
    IBusyIndicator* busy = nullptr; // shown while the list is read

private:
    void SelectControllerEntry();
};

// What the page shows: the current model, the list or the profile's name,
// the two modes and the "Ext. VP" box. listChosen follows a choice in the
// list; modeChosen a click on one of the modes.
struct VehicleModelActions {
    std::function<void()> listChosen;
    std::function<void(int mode)> modeChosen;
};
PageFields VehicleModelFields(CVehicleModelState& state, VehicleModelActions actions);

} // namespace halcyra
