// The copy of the controller's setup taken before a restore overwrites it,
// and the rule that decides which copies are kept.

#include "SimFixture.h"
#include "pages/PageLogic.h"
#include "setup/SetupBackup.h"
#include "setup/SetupFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <regex>

using namespace halcyra;
using namespace halcyra::test;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> FilesIn(const std::string& dir)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(dir, ec))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

struct Restoring : ::testing::Test {
    Restoring()
    {
        original = c.With([](sim::CSimController& s) { return s.Params().ToText(); });
        std::string edited = original;
        edited.replace(edited.find("vtt: 5"), 6, "vtt: 2");
        WriteAll(dir.File("edited.cfg"), edited);
        options.restartPause = 50ms;
        options.backup.configurationDir = dir.File("Configuration Files");
    }
    std::string Vtt() { return c.Param("vtt"); }
    std::string BackupsDir() { return dir.File("Configuration Files/Backups"); }

    Connected c{[] {
        sim::SimOptions o;
        o.settings.restartTime = 50ms;
        o.settings.extra["serial"] = "HC2/77 A"; // a name of its own for files
        return o;
    }()};
    ScratchDir dir;
    std::string original;
    RestoreOptions options;
};

} // namespace

TEST_F(Restoring, SavesTheControllersSetupFirstAndNamesTheCopy)
{
    RestoreOutcome outcome{};
    ASSERT_TRUE(RestoreBlockFromFile(c.link, dir.File("edited.cfg"), options, &outcome));
    EXPECT_EQ(RestoreOutcome::Restored, outcome);
    EXPECT_EQ("2", Vtt());
    const auto names = FilesIn(BackupsDir());
    ASSERT_EQ(1u, names.size());
    EXPECT_TRUE(std::regex_match(names[0], std::regex(R"(HC2_77_A-\d{8}-\d{6}\.cfg)"))) << names[0];
    const std::string path = BackupsDir() + "/" + names[0];
    EXPECT_EQ(original, ReadAll(path)); // the setup as it was before the restore
    EXPECT_EQ("Setup restored successfully\r\n\r\nThe previous setup was saved to " + path,
              c.notifier.shown.back().text);
}

TEST_F(Restoring, WithoutABackupTheUserDecidesAndNoKeepsTheController)
{
    // The directory cannot be made: a file stands where it would go.
    WriteAll(dir.File("Configuration Files"), "not a directory");
    c.notifier.answers = {MsgAnswer::Ok, MsgAnswer::No};
    RestoreOutcome outcome{};
    EXPECT_TRUE(RestoreBlockFromFile(c.link, dir.File("edited.cfg"), options, &outcome));
    EXPECT_EQ(RestoreOutcome::Cancelled, outcome);
    EXPECT_EQ("5", Vtt());
    ASSERT_EQ(3u, c.notifier.shown.size());
    EXPECT_EQ(0u, c.notifier.shown[1].text.find("The controller's current setup could not be backed up (cannot make "));
    EXPECT_EQ("Backup Failed", c.notifier.shown[1].caption);
    EXPECT_EQ(MsgButtons::YesNo, c.notifier.shown[1].buttons);
    EXPECT_EQ("Setup restore has been cancelled", c.notifier.shown[2].text);

    // Yes goes on, and the completion message names no copy.
    c.notifier.shown.clear();
    c.notifier.answers = {MsgAnswer::Ok, MsgAnswer::Yes};
    EXPECT_TRUE(RestoreBlockFromFile(c.link, dir.File("edited.cfg"), options, &outcome));
    EXPECT_EQ(RestoreOutcome::Restored, outcome);
    EXPECT_EQ("2", Vtt());
    EXPECT_EQ("Setup restored successfully", c.notifier.shown.back().text);
}

TEST_F(Restoring, NoOneToAskStopsAndSkippingTakesNoCopy)
{
    WriteAll(dir.File("Configuration Files"), "not a directory");
    options.backup.askWhenFailed = false;
    RestoreOutcome outcome{};
    EXPECT_TRUE(RestoreBlockFromFile(c.link, dir.File("edited.cfg"), options, &outcome));
    EXPECT_EQ(RestoreOutcome::Cancelled, outcome);
    EXPECT_EQ("5", Vtt());
    EXPECT_EQ(MsgButtons::Ok, c.notifier.shown[1].buttons);

    fs::remove(dir.File("Configuration Files"));
    options.backup.skip = true;
    EXPECT_TRUE(RestoreBlockFromFile(c.link, dir.File("edited.cfg"), options, &outcome));
    EXPECT_EQ(RestoreOutcome::Restored, outcome);
    EXPECT_FALSE(fs::exists(BackupsDir()));
}

TEST(SetupBackups, KeepTheLastTwentyAndNothingYoungerThanThirtyDays)
{
    ScratchDir dir;
    const auto now = std::chrono::system_clock::now();
    auto make = [&](const std::string& serial, std::chrono::hours age) {
        const std::string path = BackupFileName(dir.File(""), serial, now - age);
        WriteAll(path, "x");
        return fs::path(path).filename().string();
    };
    // A: 18 young copies and 5 old ones; the newest 20 include 2 old ones.
    std::vector<std::string> kept, deleted;
    for (int i = 0; i < 18; ++i)
        kept.push_back(make("A", std::chrono::hours(i * 24 + 1)));
    for (int i = 0; i < 5; ++i)
        (i < 2 ? kept : deleted).push_back(make("A", std::chrono::hours((40 + i) * 24)));
    // B: 22 young copies, all kept though more than 20; C: old, but only one.
    for (int i = 0; i < 22; ++i)
        kept.push_back(make("B", std::chrono::hours(i + 1)));
    kept.push_back(make("C", 24h * 400));
    // Not backups: another name pattern, and A's name with more after it.
    WriteAll(dir.File("A-notes.cfg"), "x");
    WriteAll(dir.File("A-20000101-000000.cfg.txt"), "x");
    kept.push_back("A-notes.cfg");
    kept.push_back("A-20000101-000000.cfg.txt");

    std::vector<std::string> removed;
    for (const char* serial : {"A", "B", "C"})
        for (const std::string& path : PruneSetupBackups(dir.File(""), serial, now))
            removed.push_back(fs::path(path).filename().string());
    std::sort(removed.begin(), removed.end());
    std::sort(deleted.begin(), deleted.end());
    EXPECT_EQ(deleted, removed);
    std::sort(kept.begin(), kept.end());
    auto names = dir.Names();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(kept, names);
}

TEST(SetupBackups, NamesOfOneSecondDoNotCollideAndSerialsBecomeFileNames)
{
    ScratchDir dir;
    const auto when = std::chrono::system_clock::now();
    const std::string first = BackupFileName(dir.File(""), "X", when);
    WriteAll(first, "1");
    const std::string second = BackupFileName(dir.File(""), "X", when);
    EXPECT_NE(first, second);
    EXPECT_TRUE(second.ends_with("-2.cfg"));
    EXPECT_EQ("unknown", BackupSerialName(""));
    EXPECT_EQ("___etc_passwd", BackupSerialName("../etc/passwd"));
    EXPECT_EQ("HC2-0042137_x", BackupSerialName("HC2-0042137 x"));
}
