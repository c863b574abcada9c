// Files named by UTF-8 paths, what a reader refuses, and names shown safely.

#include "ScratchDir.h"
#include "link/Files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#ifndef _WIN32
#include "Fifo.h"
#endif

using namespace halcyra;
using namespace halcyra::test;
namespace fs = std::filesystem;
using namespace std::chrono_literals;

TEST(Files, AUtf8PathNamesTheFileTheSystemKnowsByThatName)
{
    ScratchDir dir;
    // Made and looked at through the system's own (wide, on Windows) names.
    const fs::path folder = fs::path(dir.File("")) / fs::path(u8"Configuraci\u00F3n");
    ASSERT_TRUE(fs::create_directory(folder));
    std::ofstream(folder / fs::path(u8"a\u00F1o.cfg"), std::ios::binary) << "vms: \"Tractor\"\r\n";
    const std::string utf8Folder = dir.File("") + "Configuraci\xC3\xB3n";

    std::string bytes;
    EXPECT_EQ(FileRead::Read, ReadWholeFile(utf8Folder + "/a\xC3\xB1o.cfg", bytes));
    EXPECT_EQ("vms: \"Tractor\"\r\n", bytes);

    std::FILE* written = OpenFile(utf8Folder + "/nuevo-\xC3\xB1.cfg", "wb");
    ASSERT_NE(nullptr, written);
    std::fputs("vtt: 5\r\n", written);
    std::fclose(written);
    EXPECT_TRUE(fs::is_regular_file(folder / fs::path(u8"nuevo-\u00F1.cfg")));

    EXPECT_EQ(folder / fs::path(u8"a\u00F1o.cfg"), PathFromUtf8(utf8Folder + "/a\xC3\xB1o.cfg"));
    EXPECT_EQ("Configuraci\xC3\xB3n", Utf8FromPath(folder.filename()));
}

TEST(Files, ReadingRefusesAnythingButARegularFileAtOnce)
{
    ScratchDir dir;
    std::string why;
    fs::create_directory(dir.File("folder"));
    EXPECT_EQ(nullptr, OpenFile(dir.File("folder"), "rb", &why));
    EXPECT_EQ("it is not a regular file", why);
    std::string bytes = "old";
    EXPECT_EQ(FileRead::CannotOpen, ReadWholeFile(dir.File("folder"), bytes, &why));
    EXPECT_EQ("", bytes);
    EXPECT_EQ(nullptr, OpenFile(dir.File("missing"), "rb", &why));
    EXPECT_NE("it is not a regular file", why);
    EXPECT_NE("", why);

    WriteAll(dir.File("big"), std::string(10000, 'x'));
    EXPECT_EQ(FileRead::TooLarge, ReadWholeFile(dir.File("big"), bytes, nullptr, 9999));
    EXPECT_EQ(FileRead::Read, ReadWholeFile(dir.File("big"), bytes, nullptr, 10000));
    EXPECT_EQ(10000u, bytes.size());
#ifndef _WIN32
    EXPECT_EQ(nullptr, OpenFile("/dev/null", "rb", &why));
    EXPECT_EQ("it is not a regular file", why);
    // A FIFO without a writer: refused at once, not waited on.
    Fifo fifo(dir.File("fifo"));
    std::FILE* file = nullptr;
    EXPECT_TRUE(fifo.ReturnsWithin(2s, [&] { file = OpenFile(fifo.Path(), "rb", &why); }));
    EXPECT_EQ(nullptr, file);
    EXPECT_EQ("it is not a regular file", why);
    if (file)
        std::fclose(file);
#endif
}

TEST(Files, EscapedNameShowsControlCharactersAndStrayBytesAsHex)
{
    EXPECT_EQ("set\\x1B[2Jup\\x07\\x0A.cfg", EscapedName("set\x1B[2Jup\x07\n.cfg"));
    EXPECT_EQ("a\\x7Fb\\x0D", EscapedName("a\x7F" "b\r"));
    // C1 controls (CSI) and bytes that are no UTF-8.
    EXPECT_EQ("x\\xC2\\x9B2Jy", EscapedName("x\xC2\x9B" "2Jy"));
    EXPECT_EQ("\\xFFz\\xC3", EscapedName("\xFFz\xC3"));
    // Everything else as it is: separators, letters outside ASCII, blanks.
    EXPECT_EQ("C:\\Users\\Jos\xC3\xA9\\Configuraci\xC3\xB3n\\tractor 7.cfg",
              EscapedName("C:\\Users\\Jos\xC3\xA9\\Configuraci\xC3\xB3n\\tractor 7.cfg"));
    EXPECT_EQ("\xE2\x82\xAC \xF0\x9F\x9A\x9C \xC2\xA0", EscapedName("\xE2\x82\xAC \xF0\x9F\x9A\x9C \xC2\xA0"));
}
