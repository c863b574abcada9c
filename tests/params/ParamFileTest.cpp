// Reading parameters from parameter text files.

#include "ScratchDir.h"
#include "params/Param.h"
#include "params/ParamFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace halcyra {
namespace {

class File {
public:
    explicit File(const std::string& text) : f_(std::tmpfile())
    {
        EXPECT_NE(f_, nullptr);
        std::fwrite(text.data(), 1, text.size(), f_);
        std::rewind(f_);
    }
    ~File() { std::fclose(f_); }
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    operator std::FILE*() const { return f_; }

private:
    std::FILE* f_;
};

TEST(ParamFile, EveryLineBreakStyleEndsOneLine)
{
    for (const std::string eol : {"\r\n", "\n\r", "\r", "\n"}) {
        File file("aaa: 1" + eol + "vtt: 42" + eol + "vms: \"x y\"" + eol);
        CUIntParam aaa("aaa"), vtt("vtt"), zzz("zzz");
        CStringParam vms("vms");
        EXPECT_TRUE(aaa.ReadFromFile(file));
        EXPECT_TRUE(vtt.ReadFromFile(file));
        EXPECT_TRUE(vms.ReadFromFile(file));
        EXPECT_FALSE(zzz.ReadFromFile(file));
        EXPECT_EQ(aaa.value, 1u);
        EXPECT_EQ(vtt.value, 42u);
        EXPECT_EQ(vms.value, "x y");
        EXPECT_TRUE(vtt.IsRetrieved());
        vtt.value = 43;
        EXPECT_TRUE(vtt.IsModified());
    }
}

TEST(ParamFile, LastLineWithoutBreakKeepsAllItsCharacters)
{
    CStringParam vms("vms");
    File unterminated("aaa: 1\nvms: \"abc\"");
    EXPECT_TRUE(vms.ReadFromFile(unterminated));
    EXPECT_EQ(vms.value, "abc");
    CUIntParam rate("DblRate");
    File number("DblRate: 10");
    EXPECT_TRUE(rate.ReadFromFile(number));
    EXPECT_EQ(rate.value, 10u);
}

TEST(ParamFile, EmptyLineEndsTheSearch)
{
    File file("aaa: 1\r\n\r\nvtt: 4\r\n");
    CUIntParam aaa("aaa"), vtt("vtt");
    EXPECT_TRUE(aaa.ReadFromFile(file));
    EXPECT_FALSE(vtt.ReadFromFile(file));
    EXPECT_FALSE(vtt.IsRetrieved());
}

TEST(ParamFile, OnlyALineNamingTheParameterExactlyMatches)
{
    File file("# vtt: 5\n;;;vtt: 6\n vtt: 7\nvt: 8\nvttx: 9\nvtt: 10\n");
    CUIntParam vtt("vtt");
    EXPECT_TRUE(vtt.ReadFromFile(file));
    EXPECT_EQ(vtt.value, 10u);

    File commentsOnly("# vtt: 5\n--- vtt: 6\n");
    CUIntParam again("vtt");
    EXPECT_FALSE(again.ReadFromFile(commentsOnly));
}

TEST(ParamFile, LinesHoldAtMost227Characters)
{
    // "vms: " and two quotes around the value: 220 characters fill 227.
    CStringParam vms("vms");
    File fits("vms: \"" + std::string(220, 'a') + "\"\nvtt: 1\n");
    EXPECT_TRUE(vms.ReadFromFile(fits));
    EXPECT_EQ(vms.value, std::string(220, 'a'));

    File tooLong("vms: \"" + std::string(221, 'a') + "\"\nvtt: 1\n");
    EXPECT_FALSE(vms.ReadFromFile(tooLong));
    EXPECT_EQ(vms.value, "");
    CUIntParam vtt("vtt");
    EXPECT_FALSE(vtt.ReadFromFile(tooLong));
}

TEST(ParamFile, StringValueMustBeQuoted)
{
    File file("vms: Tractor 7\n");
    CStringParam vms("vms");
    vms.value = "old";
    EXPECT_FALSE(vms.ReadFromFile(file));
    EXPECT_EQ(vms.value, "");
    EXPECT_FALSE(vms.IsRetrieved());
}

TEST(ParamFile, FileIsRewoundBeforeAndAfterReading)
{
    File file("aaa: 1\nvtt: 2\n");
    CUIntParam vtt("vtt"), zzz("zzz");
    std::fseek(file, 0, SEEK_END);
    EXPECT_TRUE(vtt.ReadFromFile(file));
    EXPECT_EQ(std::ftell(file), 0);
    EXPECT_FALSE(zzz.ReadFromFile(file));
    EXPECT_EQ(std::ftell(file), 0);
}

TEST(ParamFile, AByteOrderMarkBelongsToNoRecord)
{
    const std::string bom = "\xEF\xBB\xBF";
    File file(bom + "vms: \"Orlic Artic 9\"\r\nvtt: 2\r\n");
    CStringParam vms("vms");
    EXPECT_TRUE(vms.ReadFromFile(file));
    EXPECT_EQ("Orlic Artic 9", vms.value);
    CUIntParam vtt("vtt");
    EXPECT_TRUE(vtt.ReadFromText(bom + "vtt: 2\r\n"));
    EXPECT_EQ(2u, vtt.value);
    // Only at the very start: elsewhere those bytes are text.
    EXPECT_FALSE(vtt.ReadFromText("\r" + bom + "vtt: 3\r\n"));
    EXPECT_FALSE(vtt.ReadFromText(" " + bom + "vtt: 3\r\n"));
}

TEST(ParamFile, NoParameterTextFileHoldsALineLongerThanARecordOrAControlCharacter)
{
    EXPECT_EQ(std::nullopt, ParamTextProblem(""));
    EXPECT_EQ(std::nullopt, ParamTextProblem("vms: \"A\tB\"\r\n" + std::string(227, 'x') + "\n\rvtt: 2"));
    EXPECT_EQ("line 2 holds 228 characters, more than the 227 of a record",
              ParamTextProblem("vtt: 2\r\n" + std::string(228, 'x') + "\r\n"));
    // Lines end with CR LF, CR or LF; one megabyte on one line is one line.
    EXPECT_EQ("line 4 holds 1000000 characters, more than the 227 of a record",
              ParamTextProblem("a: 1\rb: 2\nc: 3\r\n" + std::string(1000000, 'x')));
    EXPECT_EQ("line 3 holds a control character (ESC at character 6)",
              ParamTextProblem("a: 1\n\nvms: \x1B[2J\n"));
    EXPECT_EQ("line 1 holds a control character (NUL at character 2)", ParamTextProblem(std::string("v\0s: 1", 6)));
    EXPECT_EQ("line 1 holds a control character (DEL at character 1)", ParamTextProblem("\x7F"));
    EXPECT_EQ("it is larger than 1 MiB", ParamTextProblem(std::string(1024 * 1024 + 1, '\n')));
}

TEST(ParamFile, AFileIsReadWholeWithoutItsByteOrderMarkAndChecked)
{
    test::ScratchDir dir;
    test::WriteAll(dir.File("bom.cfg"), "\xEF\xBB\xBFvms: \"A\"\r\n");
    const ParamTextFile bom = ReadParamTextFile(dir.File("bom.cfg"));
    EXPECT_EQ(ParamFileRead::Read, bom.result);
    EXPECT_EQ("vms: \"A\"\r\n", bom.text);
    EXPECT_EQ("", bom.Note());

    test::WriteAll(dir.File("long.cfg"), "vms: \"A\"\r\n" + std::string(1000000, 'x') + "\r\n");
    const ParamTextFile line = ReadParamTextFile(dir.File("long.cfg"));
    EXPECT_EQ(ParamFileRead::NotParamText, line.result);
    EXPECT_EQ("", line.text);
    EXPECT_EQ("\r\n\r\nThe file is not a parameter text file: line 2 holds 1000000 characters, more than the 227 of "
              "a record.",
              line.Note());

    test::WriteAll(dir.File("huge.cfg"), std::string(1024 * 1024 + 1, '\n'));
    EXPECT_EQ("it is larger than 1 MiB", ReadParamTextFile(dir.File("huge.cfg")).problem);
    EXPECT_EQ(ParamFileRead::CannotOpen, ReadParamTextFile(dir.File("missing.cfg")).result);
    EXPECT_EQ(ParamFileRead::CannotOpen, ReadParamTextFile(dir.File("")).result);
}

} // namespace
} // namespace halcyra
