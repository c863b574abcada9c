// Replacing a file whole, in folders and under names outside ASCII.

#include "ScratchDir.h"
#include "link/AtomicFile.h"
#include "link/Files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace halcyra;
using namespace halcyra::test;
namespace fs = std::filesystem;

namespace {

// The names in folder, as UTF-8.
std::vector<std::string> Names(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(Utf8FromPath(entry.path().filename()));
    return names;
}

} // namespace

TEST(AtomicFile, ReplacesAFileInAFolderNamedOutsideAscii)
{
    ScratchDir dir;
    // Made and looked at through the system's own (wide, on Windows) names;
    // the program is given them in UTF-8.
    const fs::path folder = fs::path(dir.File("")) / fs::path(u8"Configuraci\u00F3n");
    fs::create_directory(folder);
    std::ofstream(folder / fs::path(u8"a\u00F1o.cfg"), std::ios::binary) << "old";
    const std::string path = dir.File("") + "Configuraci\xC3\xB3n/a\xC3\xB1o.cfg";

    CAtomicFile file;
    ASSERT_TRUE(file.Open(path));
    std::fputs("new", file.File());
    const std::vector<std::string> during = Names(folder);
    ASSERT_EQ(2u, during.size());
    EXPECT_TRUE(fs::exists(PathFromUtf8(file.TemporaryPath())));
    EXPECT_EQ(0u, Utf8FromPath(PathFromUtf8(file.TemporaryPath()).filename()).find(".a\xC3\xB1o.cfg."));
    ASSERT_TRUE(file.Commit());
    EXPECT_EQ(std::vector<std::string>{"a\xC3\xB1o.cfg"}, Names(folder));
    std::ifstream in(folder / fs::path(u8"a\u00F1o.cfg"), std::ios::binary);
    EXPECT_EQ("new", std::string(std::istreambuf_iterator<char>(in), {}));

    // An interrupted save leaves nothing beside the file.
    CAtomicFile interrupted;
    ASSERT_TRUE(interrupted.Open(dir.File("") + "Configuraci\xC3\xB3n/nuevo-\xC3\xB1.cfg"));
    std::fputs("half", interrupted.File());
    std::fflush(interrupted.File());
    EXPECT_EQ(2u, Names(folder).size());
    RemoveAtomicTemporaries();
    interrupted.Discard();
    EXPECT_EQ(std::vector<std::string>{"a\xC3\xB1o.cfg"}, Names(folder));
}

TEST(AtomicFile, ATryThatCannotReplaceItsDestinationKeepsTheFinishedFileForAnother)
{
    ScratchDir dir;
    CAtomicFile file;
    ASSERT_TRUE(file.Open(dir.File("taken.csv")));
    ASSERT_EQ(5u, std::fwrite("rows\n", 1, 5, file.File()));
    ASSERT_TRUE(file.Sync());
    EXPECT_EQ("rows\n", ReadAll(file.TemporaryPath())) << "on the disk before the end";
    // No file replaces a directory that holds something.
    fs::create_directories(dir.File("taken.csv/inside"));
    EXPECT_FALSE(file.TryCommitAs(dir.File("taken.csv")));
    EXPECT_TRUE(fs::exists(file.TemporaryPath()));
    EXPECT_TRUE(file.TryCommitAs(dir.File("other.csv")));
    EXPECT_EQ("rows\n", ReadAll(dir.File("other.csv")));
    EXPECT_EQ(2u, dir.Names().size());

    // Commit gives up at once: nothing is left beside the destination.
    ASSERT_TRUE(file.Open(dir.File("late.csv")));
    fs::create_directories(dir.File("late.csv/inside"));
    EXPECT_FALSE(file.Commit());
    EXPECT_EQ(3u, dir.Names().size());
}
