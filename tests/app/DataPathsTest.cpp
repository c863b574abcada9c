#include "RecordingNotifier.h"
#include "app/DataPaths.h"
#include "app/InstanceLock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using namespace halcyra;
using halcyra::test::CRecordingNotifier;
namespace fs = std::filesystem;

namespace {

// The user's own directory is given a separator of the system's own.
std::string Separator() { return std::string(1, static_cast<char>(std::filesystem::path::preferred_separator)); }

} // namespace

TEST(DataPaths, StoredPathIsUsedAsStoredAndTooLongOnesAreRefused)
{
    CRecordingNotifier notifier;
    EXPECT_EQ("/srv/Data", ChooseDataPath(std::string("/srv/Data"), "/x/", "/appdata", notifier));
    CDataDirectories dirs;
    dirs.SetDataPath("/srv/Data");
    EXPECT_EQ("/srv/DataConfiguration Files", dirs.ConfigurationDir());
    EXPECT_TRUE(notifier.shown.empty());

    const std::string tooLong = "/" + std::string(250, 'd') + "/";
    EXPECT_FALSE(CDataDirectories::Fits(tooLong));
    std::string chosen = ChooseDataPath(tooLong, "/nonexistent-dir/", "/appdata", notifier);
    EXPECT_EQ("/appdata" + Separator(), chosen);
    ASSERT_EQ(1u, notifier.shown.size());
    EXPECT_NE(std::string::npos, notifier.shown[0].text.find("too long"));
}

TEST(DataPaths, AnInstalledProgramKeepsItsDataInTheUsersOwnDirectory)
{
    // Even where the user could write (as root can in /usr/bin), quietly.
    CRecordingNotifier notifier;
#ifdef _WIN32
    const char* programFiles = std::getenv("ProgramFiles");
    ASSERT_NE(nullptr, programFiles);
    EXPECT_EQ("/home/u/.local/share/x" + Separator(),
              ChooseDataPath(std::nullopt, std::string(programFiles) + "\\", "/home/u/.local/share/x", notifier));
#else
    EXPECT_EQ("/home/u/.local/share/x/", ChooseDataPath(std::nullopt, "/usr/bin/", "/home/u/.local/share/x", notifier));
    EXPECT_EQ("/home/u/.local/share/x/", ChooseDataPath(std::nullopt, "/opt/halcyra/bin/", "/home/u/.local/share/x",
                                                        notifier));
#endif
    EXPECT_TRUE(notifier.shown.empty());
    const fs::path own = fs::path(::testing::TempDir()) / "halcyra-portable" / "";
    fs::create_directories(own);
    EXPECT_EQ(own.string(), ChooseDataPath(std::nullopt, own.string(), "/home/u/.local/share/x", notifier));
}

TEST(DataPaths, CreatesTheFourDirectoriesOrSaysWhyNot)
{
    const fs::path root = fs::path(::testing::TempDir()) / "halcyra-data-test";
    fs::remove_all(root);
    fs::create_directories(root);
    CRecordingNotifier notifier;
    CDataDirectories dirs;
    dirs.SetDataPath(root.string() + "/");
    dirs.Create(notifier);
    dirs.Create(notifier); // already there: no complaint
    EXPECT_TRUE(notifier.shown.empty());
    for (const char* name : {"Configuration Files", "Factory Settings Files", "Application Files", "Vehicle Database Files"})
        EXPECT_TRUE(fs::is_directory(root / name)) << name;

    dirs.SetDataPath((root / "missing" / "").string());
    dirs.Create(notifier);
    ASSERT_EQ(4u, notifier.shown.size());
    EXPECT_EQ("Cannot create required " + (root / "missing" / "Application Files").string() +
                  " directory structure error = 2",
              notifier.shown[0].text);
    EXPECT_EQ(kAppTitle, notifier.shown[0].caption);
    fs::remove_all(root);
}

TEST(InstanceLock, SecondInstanceIsRefusedUntilTheFirstEnds)
{
    const std::string path = ::testing::TempDir() + "halcyra-lock-test.lock";
    {
        CInstanceLock first(path);
        ASSERT_TRUE(first.Acquire());
        CInstanceLock second(path);
        EXPECT_FALSE(second.Acquire());
    }
    CInstanceLock third(path);
    EXPECT_TRUE(third.Acquire());
    EXPECT_EQ("Halcyra Toolbox is already running.\nA second instance cannot be started.",
              CInstanceLock::AlreadyRunningText());
}
