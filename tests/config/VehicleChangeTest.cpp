// Changing the vehicle model: the controller's list, a vehicle profile read
// into memory, the restart and the check that the controller took it over.

#include "ConfigRig.h"
#include "ScratchDir.h"
#include "config/VehicleChange.h"
#include "sim/BlockFeature.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <fstream>

#ifndef _WIN32
#include "Fifo.h"
#endif

using namespace halcyra;
using namespace halcyra::test;
using namespace std::chrono_literals;

namespace {

CVehicleModelState::ApplyOptions Instant()
{
    CVehicleModelState::ApplyOptions options;
    options.restartPause = std::chrono::milliseconds(0);
    return options;
}

const std::string kProfile = "vms: \"Orlic Artic 9\"\r\nvtt: 2\r\nvti: 0\r\nwre: 20.000000\r\n";

} // namespace

TEST(VehicleChange, TheListLeavesOutUnnamedEntriesAndSelectsTheControllersVehicle)
{
    ConfigRig rig({{"vehicles", "1,Fieldora 6150R;2,Tracmor 9RT;0,;5,Fieldora 8240W"}});
    CVehicleModelState state;
    state.Refresh(rig.link, false);
    ASSERT_EQ(3u, state.list.size());
    EXPECT_EQ("Tracmor 9RT", state.list[1].name);
    EXPECT_EQ(3, state.list[2].index) << "the entry after the empty one keeps its own index";
    EXPECT_EQ(3, state.selected) << "vti 3";
    EXPECT_TRUE(state.layout.modeButtons && state.layout.list && !state.layout.browse);

    rig.Set("vti", "2"); // the unnamed entry: nothing listed matches
    state.Refresh(rig.link, false);
    EXPECT_EQ(-1, state.selected);
}

TEST(VehicleChange, AControllerWithoutProfilesShowsTheListAlone)
{
    ConfigRig rig({{"unknown-params", "xvp"}});
    CVehicleModelState state;
    state.Refresh(rig.link, false);
    EXPECT_FALSE(state.profileSupported);
    EXPECT_FALSE(state.layout.modeButtons || state.layout.extVp || state.layout.browse);
    EXPECT_TRUE(state.layout.list && state.layout.refresh && state.layout.selectEnabled);
}

TEST(VehicleChange, AListThatStopsAnsweringCostsOneBox)
{
    ConfigRig rig;
    const auto record = rig.unanswered;
    rig.unanswered = [&](const sim::Request& r) {
        record(r);
        return r.messageId == wire::kTableMsg && r.Operation() == wire::table::kVehicleEntryOp &&
               r.PayloadU16(0) >= 1;
    };
    std::vector<VehicleListEntry> entries;
    EXPECT_FALSE(FetchVehicleList(rig.link, entries));
    ASSERT_EQ(1u, entries.size());
    EXPECT_EQ(1u, rig.notifier.shown.size());
}

TEST(VehicleChange, AnEntryThatFailsIsPassedOverUntilTheControllerStopsAnswering)
{
    struct Case {
        std::set<int> damaged;           // entries whose replies arrive damaged
        std::vector<std::string> listed; // what the list shows
        std::size_t boxes;               // one per outage
        bool lastAsked;                  // the last entry was asked for
    };
    const Case cases[] = {
        {{1}, {"Fieldora 6150R", "Fieldora 7230R", "Fieldora 8240W"}, 1, true},
        {{1, 3}, {"Fieldora 6150R", "Fieldora 7230R"}, 2, true},
        {{1, 2}, {"Fieldora 6150R"}, 1, false}, // two in a row: it has stopped answering
    };
    for (const Case& c : cases) {
        ConfigRig rig({{"vehicles", "1,Fieldora 6150R;2,Tracmor 9RT;1,Fieldora 7230R;5,Fieldora 8240W"}});
        const auto isEntry = [](const sim::Request& r) {
            return r.messageId == wire::kTableMsg && r.Operation() == wire::table::kVehicleEntryOp;
        };
        std::set<int> asked;
        rig.damaged = [&](const sim::Request& r) {
            if (isEntry(r))
                asked.insert(r.PayloadU16(0));
            return isEntry(r) && c.damaged.count(r.PayloadU16(0)) > 0;
        };
        std::vector<VehicleListEntry> entries;
        EXPECT_FALSE(FetchVehicleList(rig.link, entries));
        std::vector<std::string> listed;
        for (const VehicleListEntry& entry : entries)
            listed.push_back(entry.name);
        EXPECT_EQ(c.listed, listed);
        EXPECT_EQ(std::vector<std::string>(c.boxes, kTransactionErrorText), rig.notifier.Texts());
        EXPECT_EQ(c.lastAsked, asked.count(3) > 0);
    }
    // The entries keep their own indexes past the one passed over.
    ConfigRig rig({{"vehicles", "1,Fieldora 6150R;2,Tracmor 9RT;1,Fieldora 7230R"}});
    rig.damaged = [](const sim::Request& r) {
        return r.messageId == wire::kTableMsg && r.Operation() == wire::table::kVehicleEntryOp && r.PayloadU16(0) == 0;
    };
    std::vector<VehicleListEntry> entries;
    FetchVehicleList(rig.link, entries);
    ASSERT_EQ(2u, entries.size());
    EXPECT_EQ(1, entries[0].index);
    EXPECT_EQ(2, entries[1].index);
}

TEST(VehicleChange, RefreshReadsTheListAgain)
{
    ConfigRig rig({{"vehicles", "1,Fieldora 6150R;2,Tracmor 9RT;5,Fieldora 8240W"}});
    rig.Set("vti", "2");
    // The first reading misses an entry.
    rig.damaged = [](const sim::Request& r) {
        return r.messageId == wire::kTableMsg && r.Operation() == wire::table::kVehicleEntryOp && r.PayloadU16(0) == 2;
    };
    CVehicleModelState state;
    state.Refresh(rig.link, false);
    ASSERT_EQ(2u, state.list.size());
    rig.damaged = nullptr;
    state.Refresh(rig.link, false);
    EXPECT_EQ(2u, state.list.size()) << "activation keeps the list it has";
    state.FillList(rig.link);
    ASSERT_EQ(3u, state.list.size());
    EXPECT_EQ("Fieldora 8240W", state.list[2].name);
    EXPECT_EQ(2, state.selected) << "the controller's vehicle, vti 2, is chosen again";
}

TEST(VehicleChange, TheExtVpBoxShowsWhetherTheModelCameFromAProfile)
{
    for (const auto& [xvp, ticked] : {std::pair<const char*, double>{"1", 1}, {"0", 0}, {"2", 0}}) {
        ConfigRig rig;
        rig.Set("xvp", xvp);
        CVehicleModelState state;
        state.Refresh(rig.link, false);
        const PageFields fields = VehicleModelFields(state, {});
        const auto extVp = std::find_if(fields.begin(), fields.end(), [](const FieldSpec& f) { return f.id == "extVp"; });
        ASSERT_NE(fields.end(), extVp);
        EXPECT_EQ(ticked, extVp->value.GetNumber()) << "xvp " << xvp;
        EXPECT_TRUE(FieldVisible(*extVp));
        EXPECT_FALSE(FieldEnabled(*extVp)) << "the controller's to say";
    }
}

TEST(VehicleChange, ASelectionTakesEffectAfterTheRestart)
{
    ConfigRig rig;
    CVehicleModelState state;
    state.Refresh(rig.link, false);
    state.selected = 1;
    rig.notifier.answers = {MsgAnswer::No};
    EXPECT_EQ(std::nullopt, state.Leave(rig.link, true, Instant()));
    EXPECT_EQ("5", rig.Param("vtt")) << "No leaves the controller as it was";
    EXPECT_EQ("Select Vehicle Model Now?", rig.notifier.shown.back().text);

    rig.notifier.shown.clear();
    EXPECT_EQ(VehicleChangeResult::Applied, state.Leave(rig.link, true, Instant()));
    EXPECT_EQ("2", rig.Param("vtt"));
    EXPECT_EQ("1", rig.Param("vti"));
    EXPECT_EQ("\"Tracmor 9RT\"", rig.Param("vms"));
    EXPECT_EQ("Tracmor 9RT", state.vehicle.modelName);
    EXPECT_EQ((std::vector<std::string>{"Select Vehicle Model Now?", kResetText}), rig.notifier.Texts());

    // Cancelling the sheet: No to "Discard Changes?" applies the change.
    state.selected = 3;
    rig.notifier.shown.clear();
    rig.notifier.answers = {MsgAnswer::No};
    EXPECT_EQ(VehicleChangeResult::Applied, state.Cancel(rig.link, true, Instant()));
    EXPECT_EQ("Discard Changes?", rig.notifier.shown.front().text);
    EXPECT_EQ("3", rig.Param("vti"));
    // Nothing changed: nothing asked.
    rig.notifier.shown.clear();
    EXPECT_EQ(std::nullopt, state.Leave(rig.link, false, Instant()));
    EXPECT_TRUE(rig.notifier.shown.empty());
}

TEST(VehicleChange, AControllerThatKeepsItsVehicleIsReported)
{
    ConfigRig rig({{"keep-vehicle", "1"}});
    CVehicleModelState state;
    state.Refresh(rig.link, false);
    state.selected = 0;
    EXPECT_EQ(VehicleChangeResult::NotTakenOver, state.Apply(rig.link, Instant()));
    ASSERT_FALSE(rig.notifier.shown.empty());
    EXPECT_EQ(kVehicleNotTakenText, rig.notifier.shown.back().text);
    EXPECT_EQ(" ", rig.notifier.shown.back().caption);
}

TEST(VehicleChange, NothingChosenSendsNothing)
{
    ConfigRig rig;
    CVehicleModelState state;
    state.selected = -1;
    EXPECT_EQ(VehicleChangeResult::NothingToApply, state.Apply(rig.link, Instant()));
    state.mode = CVehicleModelState::kExternalFile; // no profile loaded
    EXPECT_EQ(VehicleChangeResult::NothingToApply, state.Apply(rig.link, Instant()));
    EXPECT_TRUE(rig.sent.empty());
    EXPECT_TRUE(rig.notifier.shown.empty());

    // Choosing the external file again puts away the profile no longer shown.
    ScratchDir dir;
    WriteAll(dir.File("artic.vdb"), kProfile);
    ASSERT_TRUE(state.LoadProfile(dir.File("artic.vdb"), rig.notifier));
    state.ChooseMode(rig.link, CVehicleModelState::kInternalDatabase, true);
    state.ChooseMode(rig.link, CVehicleModelState::kExternalFile, true);
    EXPECT_EQ("", state.shownProfileName);
    rig.sent.clear();
    EXPECT_EQ(VehicleChangeResult::NothingToApply, state.Apply(rig.link, Instant()));
    EXPECT_TRUE(rig.sent.empty());
}

TEST(VehicleChange, AnEntryChosenThenTheExternalFileOffersNothingUntilAProfileIsLoaded)
{
    ScratchDir dir;
    ConfigRig rig;
    CVehicleModelState state;
    state.Refresh(rig.link, false);
    state.selected = 1; // chosen in the list: the page is marked modified
    state.ChooseMode(rig.link, CVehicleModelState::kExternalFile, true);
    EXPECT_FALSE(state.layout.selectEnabled);
    EXPECT_FALSE(state.HasChangeToApply());
    rig.sent.clear();
    EXPECT_EQ(std::nullopt, state.Leave(rig.link, true, Instant()));
    EXPECT_EQ(std::nullopt, state.Cancel(rig.link, true, Instant()));
    EXPECT_TRUE(rig.notifier.shown.empty()) << "no question whose Yes does nothing";
    EXPECT_TRUE(rig.sent.empty());

    WriteAll(dir.File("artic.vdb"), kProfile);
    ASSERT_TRUE(state.LoadProfile(dir.File("artic.vdb"), rig.notifier));
    state.LayOut(rig.link, true, true);
    EXPECT_TRUE(state.layout.selectEnabled);
    rig.notifier.answers = {MsgAnswer::No};
    EXPECT_EQ(std::nullopt, state.Leave(rig.link, true, Instant()));
    EXPECT_EQ(std::vector<std::string>{kSelectVehicleNowText}, rig.notifier.Texts());
}

TEST(VehicleChange, AProfileThatFailsToLoadLeavesTheEarlierOneLoadedAndOffered)
{
    ScratchDir dir;
    ConfigRig rig;
    CVehicleModelState state;
    state.Refresh(rig.link, false);
    WriteAll(dir.File("artic.vdb"), kProfile);
    WriteAll(dir.File("novms.vdb"), "vtt: 2\r\nvti: 0\r\n");
    ASSERT_TRUE(state.LoadProfile(dir.File("artic.vdb"), rig.notifier));
    state.LayOut(rig.link, true, true);
    for (const char* second : {"novms.vdb", "missing.vdb"}) {
        EXPECT_FALSE(state.LoadProfile(dir.File(second), rig.notifier)) << second;
        EXPECT_TRUE(state.profileLoaded) << second;
        EXPECT_TRUE(state.profile.IsLoaded()) << second;
        EXPECT_EQ("Orlic Artic 9", state.shownProfileName) << second;
    }
    rig.notifier.shown.clear();
    EXPECT_EQ(VehicleChangeResult::Applied, state.Leave(rig.link, true, Instant()));
    const sim::Bytes uploaded = rig.controller.Feature<sim::CBlockFeature>().Block(5).upload;
    EXPECT_EQ(kProfile, std::string(uploaded.begin(), uploaded.end()));
    EXPECT_EQ("\"Orlic Artic 9\"", rig.Param("vms"));
}

TEST(VehicleChange, AProfileIsRefusedBeforeAnythingIsSent)
{
    ScratchDir dir;
    ConfigRig rig;
    CVehicleModelState state;
    WriteAll(dir.File("novms.vdb"), "vtt: 2\r\nvti: 0\r\n");
    WriteAll(dir.File("late.vdb"), "vtt: 2\r\n\r\nvms: \"Orlic Artic 9\"\r\n"); // after an empty line
    WriteAll(dir.File("binary.vdb"), std::string("vms: \"X\"\r\n\0\x01\x02", 13));
    WriteAll(dir.File("long.vdb"), "vms: \"X\"\r\nvtt: 2\r\n" + std::string(1000000, 'x') + "\r\n");
    const std::pair<const char*, std::string> cases[] = {
        {"novms.vdb", ""},
        {"late.vdb", ""},
        {"binary.vdb", "\r\n\r\nThe file is not a parameter text file: line 2 holds a control character (NUL at "
                       "character 1)."},
        {"long.vdb", "\r\n\r\nThe file is not a parameter text file: line 3 holds 1000000 characters, more than the "
                     "227 of a record."},
    };
    for (const auto& [name, note] : cases) {
        rig.notifier.shown.clear();
        EXPECT_FALSE(state.LoadProfile(dir.File(name), rig.notifier)) << name;
        ASSERT_EQ(1u, rig.notifier.shown.size());
        EXPECT_EQ("Error: Invalid Vehicle Profile " + note, rig.notifier.shown[0].text);
        EXPECT_EQ("File Error", rig.notifier.shown[0].caption);
    }
    // Anything but a regular file is refused at once.
    std::filesystem::create_directory(dir.File("folder.vdb"));
    rig.notifier.shown.clear();
    EXPECT_FALSE(state.LoadProfile(dir.File("folder.vdb"), rig.notifier));
    EXPECT_EQ("Error: Could not open specified file", rig.notifier.shown.at(0).text);
#ifndef _WIN32
    Fifo fifo(dir.File("fifo.vdb"));
    rig.notifier.shown.clear();
    EXPECT_TRUE(fifo.ReturnsWithin(2s, [&] { EXPECT_FALSE(state.LoadProfile(fifo.Path(), rig.notifier)); }));
    EXPECT_EQ("FileOpen Error", rig.notifier.shown.at(0).caption);
#endif
    rig.notifier.shown.clear();
    EXPECT_FALSE(state.LoadProfile(dir.File("missing.vdb"), rig.notifier));
    EXPECT_EQ("FileOpen Error", rig.notifier.shown.at(0).caption);
    EXPECT_FALSE(state.profileLoaded);
    EXPECT_TRUE(rig.sent.empty());
}

TEST(VehicleChange, TheProfileUploadedIsTheOneLoadedWhateverBecomesOfTheFile)
{
    ScratchDir dir;
    ConfigRig rig;
    CVehicleModelState state;
    state.Refresh(rig.link, false);
    const std::string path = dir.File("artic.vdb");
    WriteAll(path, kProfile);
    ASSERT_TRUE(state.LoadProfile(path, rig.notifier));
    EXPECT_EQ("Orlic Artic 9", state.shownProfileName);
    state.LayOut(rig.link, true, true);
    EXPECT_EQ(CVehicleModelState::kExternalFile, state.mode);
    EXPECT_TRUE(state.layout.profileName && !state.layout.list && state.layout.browse && state.layout.selectEnabled);

    // Changed on disk after it was checked, then gone.
    WriteAll(path, "vms: \"Something Else\"\r\nvtt: 7\r\n");
    std::filesystem::remove(path);
    EXPECT_EQ(VehicleChangeResult::Applied, state.Apply(rig.link, Instant()));
    const sim::Bytes uploaded = rig.controller.Feature<sim::CBlockFeature>().Block(5).upload;
    EXPECT_EQ(kProfile, std::string(uploaded.begin(), uploaded.end()));
    EXPECT_EQ("\"Orlic Artic 9\"", rig.Param("vms"));
    EXPECT_EQ("1", rig.Param("xvp")) << "the model now comes from a profile";
    EXPECT_TRUE(state.vehicleRead);
    EXPECT_EQ("Orlic Artic 9", state.vehicle.modelName);
    EXPECT_FALSE(state.profile.IsLoaded()) << "released once applied";
}

TEST(VehicleChange, AProfileWithAByteOrderMarkIsUploadedWithoutIt)
{
    ScratchDir dir;
    ConfigRig rig;
    CVehicleModelState state;
    state.Refresh(rig.link, false);
    WriteAll(dir.File("artic.vdb"), "\xEF\xBB\xBF" + kProfile);
    ASSERT_TRUE(state.LoadProfile(dir.File("artic.vdb"), rig.notifier));
    EXPECT_EQ("Orlic Artic 9", state.shownProfileName);
    state.mode = CVehicleModelState::kExternalFile;
    EXPECT_EQ(VehicleChangeResult::Applied, state.Apply(rig.link, Instant()));
    const sim::Bytes uploaded = rig.controller.Feature<sim::CBlockFeature>().Block(5).upload;
    EXPECT_EQ(kProfile, std::string(uploaded.begin(), uploaded.end()));
    EXPECT_EQ("\"Orlic Artic 9\"", rig.Param("vms"));
}

TEST(VehicleChange, AProfileInAFolderNamedOutsideAsciiLoads)
{
    ScratchDir dir;
    ConfigRig rig;
    CVehicleModelState state;
    // Made through the system's own (wide, on Windows) names, opened through UTF-8.
    namespace fs = std::filesystem;
    const fs::path folder = fs::path(dir.File("")) / fs::path(u8"Veh\u00EDculos");
    fs::create_directory(folder);
    std::ofstream(folder / fs::path(u8"tractor-\u00F1.vdb"), std::ios::binary) << kProfile;
    ASSERT_TRUE(state.LoadProfile(dir.File("") + "Veh\xC3\xAD" "culos/tractor-\xC3\xB1.vdb", rig.notifier))
        << ::testing::PrintToString(rig.notifier.Texts());
    EXPECT_EQ("Orlic Artic 9", state.shownProfileName);
}

TEST(VehicleChange, AProfileTheControllerDidNotTakeOverIsReported)
{
    ScratchDir dir;
    ConfigRig rig;
    const auto record = rig.unanswered;
    // The controller drops the profile's model when it restarts.
    rig.unanswered = [&](const sim::Request& r) {
        if (r.messageId == wire::kControllerMsg && r.Operation() == wire::controller::kResetOp)
            rig.controller.Params().Set("vms", "\"Fieldora 8240W\"");
        return record(r);
    };
    CVehicleModelState state;
    WriteAll(dir.File("artic.vdb"), kProfile);
    ASSERT_TRUE(state.LoadProfile(dir.File("artic.vdb"), rig.notifier));
    state.mode = CVehicleModelState::kExternalFile;
    EXPECT_EQ(VehicleChangeResult::NotTakenOver, state.Apply(rig.link, Instant()));
    EXPECT_EQ(kVehicleNotTakenText, rig.notifier.shown.back().text);
}

TEST(VehicleChange, AFailedUploadIsReportedAndTheVehicleCheckFollows)
{
    ScratchDir dir;
    ConfigRig rig({{"begin-status", "2"}});
    CVehicleModelState state;
    WriteAll(dir.File("artic.vdb"), kProfile);
    ASSERT_TRUE(state.LoadProfile(dir.File("artic.vdb"), rig.notifier));
    state.mode = CVehicleModelState::kExternalFile;
    EXPECT_EQ(VehicleChangeResult::UploadFailed, state.Apply(rig.link, Instant()));
    EXPECT_EQ((std::vector<std::string>{"Error: Vehicle Profile upload problem!", kResetText, kVehicleNotTakenText}),
              rig.notifier.Texts());
    EXPECT_EQ("Upload Error", rig.notifier.shown[0].caption);
}

TEST(VehicleChange, AProfileUploadCutOffSaysTheSetupMayBeIncompleteAndHowToFinish)
{
    ScratchDir dir;
    ConfigRig rig;
    CVehicleModelState state;
    WriteAll(dir.File("artic.vdb"), kProfile);
    ASSERT_TRUE(state.LoadProfile(dir.File("artic.vdb"), rig.notifier));
    state.mode = CVehicleModelState::kExternalFile;
    const auto recordSent = rig.unanswered;
    rig.unanswered = [&](const sim::Request& r) {
        recordSent(r);
        if (r.messageId == 0x41 && r.SubCode() == 5 && r.Operation() == 1) // the first chunk
            rig.port.SetOpen(false);
        return !rig.port.IsOpen();
    };
    CVehicleModelState::ApplyOptions options = Instant();
    options.backup.configurationDir = dir.File("Configuration Files");
    bool reported = false;
    try {
        state.Apply(rig.link, options);
    } catch (const CSerialException& e) {
        reported = e.Reported();
    }
    EXPECT_TRUE(reported) << "said once, here";
    ASSERT_FALSE(rig.notifier.shown.empty());
    const std::string& said = rig.notifier.shown.back().text;
    EXPECT_EQ(0u, said.find("Error: The upload was interrupted (")) << said;
    EXPECT_NE(std::string::npos, said.find("). The controller's setup may be incomplete: load the vehicle profile "
                                           "again to complete it, or restore the backup.\r\n\r\nThe previous "
                                           "setup was saved to " +
                                           (std::filesystem::path(dir.File("Configuration Files")) / "Backups").string()))
        << said;
    EXPECT_EQ("Upload Error", rig.notifier.shown.back().caption);
}
