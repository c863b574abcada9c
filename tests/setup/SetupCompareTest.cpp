// Comparing a setup file with the controller, against the simulator.

#include "Fifo.h"
#include "SimFixture.h"
#include "setup/SetupCompare.h"
#include "setup/SetupFiles.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace halcyra;
using namespace halcyra::test;
using namespace std::chrono_literals;

TEST(SetupValuesMatch, NumbersCompareAsNumbersAndEverythingElseAsText)
{
    EXPECT_TRUE(SetupValuesMatch("1.500000", "1.5"));
    EXPECT_TRUE(SetupValuesMatch("07", "7"));
    EXPECT_TRUE(SetupValuesMatch("-3.200000", "-3.2"));
    EXPECT_TRUE(SetupValuesMatch("1e3", "1000"));
    // Single-precision values the controller prints alike.
    EXPECT_TRUE(SetupValuesMatch("0.1", "0.10000000149"));
    EXPECT_FALSE(SetupValuesMatch("1.5", "1.50001"));
    EXPECT_FALSE(SetupValuesMatch("8", "9"));
    EXPECT_TRUE(SetupValuesMatch("\"Fieldora 8240W\"", "\"Fieldora 8240W\""));
    EXPECT_FALSE(SetupValuesMatch("\"7\"", "7"));
    EXPECT_FALSE(SetupValuesMatch("\"abc\"", "\"ABC\""));
    // A number followed by anything else is text.
    EXPECT_FALSE(SetupValuesMatch("5 ", "5"));
    EXPECT_FALSE(SetupValuesMatch("", "0"));
}

class SetupCompare : public ::testing::Test {
protected:
    // The controller's own setup as a file, ready to be edited, without the
    // live readings ("RO...") that change while the controller runs.
    std::string SavedSetup()
    {
        const std::string path = dir.File("saved.cfg");
        EXPECT_TRUE(SaveBlockToFile(c.link, path, kSetupBlock, true));
        std::istringstream in(ReadAll(path));
        std::string text, line;
        records = 0;
        while (std::getline(in, line))
            if (line.rfind("RO", 0) != 0) {
                text += line + "\n";
                ++records;
            }
        return text;
    }
    std::size_t records = 0;
    static void Replace(std::string& text, const std::string& from, const std::string& to)
    {
        const auto at = text.find(from);
        ASSERT_NE(std::string::npos, at) << from;
        text.replace(at, from.size(), to);
    }

    Connected c{[] {
        sim::SimOptions o;
        o.assignments = {"dsu=2"}; // inches
        return o;
    }()};
    ScratchDir dir;
};

TEST_F(SetupCompare, TheControllersOwnSetupMatches)
{
    WriteAll(dir.File("same.cfg"), SavedSetup());
    SetupComparison result;
    std::string error;
    ASSERT_EQ(CompareResult::Compared, CompareSetupWithController(c.link, dir.File("same.cfg"), result, error));
    EXPECT_TRUE(result.Matches());
    EXPECT_EQ(records, result.compared);
    EXPECT_NE(std::string::npos, SetupComparisonText(result).find("The controller's values match the file."));
}

TEST_F(SetupCompare, ReadOnlyReadingsAreLeftOutAndTheSetupIsReadInOneBlock)
{
    const std::string path = dir.File("saved.cfg");
    ASSERT_TRUE(SaveBlockToFile(c.link, path, kSetupBlock, true));
    // A live reading moves on after the save.
    c.With([](sim::CSimController& s) { return s.Params().Set("RODiagOpsSwitchRaw", "2.500000"); });
    const auto before = c.Requests();
    SetupComparison result;
    std::string error;
    ASSERT_EQ(CompareResult::Compared, CompareSetupWithController(c.link, path, result, error));
    EXPECT_TRUE(result.Matches()) << SetupComparisonText(result);
    EXPECT_EQ(12u, result.readOnlyLeftOut);
    EXPECT_NE(std::string::npos, SetupComparisonText(result).find("Read-only readings left out: 12\n"));
    // The block's begin and its chunks; no get, not even of the units.
    const std::size_t blockBytes = ReadAll(path).size();
    EXPECT_EQ(1 + (blockBytes + 227) / 228, c.Requests() - before);
}

TEST_F(SetupCompare, ListsDifferencesInFileOrderThenRecordsTheControllerDoesNotKnow)
{
    std::string text = SavedSetup();
    Replace(text, "gct: 8\r\n", "gct: 08\r\n");              // the same number, written otherwise
    Replace(text, "alx: 1.100000\r\n", "alx: 1.1\r\n");      // the same length
    Replace(text, "acf: 1\r\n", "zzUnknown1: 4\r\nacf: 2\r\n"); // an unknown record, then a difference
    Replace(text, "wre: 30.000000\r\n", "wre: 29.000000\r\n\r\nzzUnknown2: \"x\"\r\n"); // after an empty line
    WriteAll(dir.File("edited.cfg"), text);

    SetupComparison result;
    std::string error;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> progress;
    ASSERT_EQ(CompareResult::Compared,
              CompareSetupWithController(c.link, dir.File("edited.cfg"), result, error,
                                         [&](std::uint32_t done, std::uint32_t total) {
                                             progress.push_back({done, total});
                                         }));
    ASSERT_EQ(4u, result.rows.size()) << SetupComparisonText(result);
    EXPECT_EQ("acf", result.rows[0].name);
    EXPECT_EQ("2", result.rows[0].fileValue);
    EXPECT_EQ("1", result.rows[0].controllerValue);
    // A length in the display unit: 29 m and 30 m in inches.
    EXPECT_EQ("wre", result.rows[1].name);
    EXPECT_EQ("1141.73 in", result.rows[1].fileValue);
    EXPECT_EQ("1181.10 in", result.rows[1].controllerValue);
    EXPECT_EQ("in", result.unitName);
    EXPECT_EQ("zzUnknown1", result.rows[2].name);
    EXPECT_TRUE(result.rows[2].unknown);
    EXPECT_EQ("zzUnknown2", result.rows[3].name);
    EXPECT_EQ("\"x\"", result.rows[3].fileValue);
    EXPECT_EQ(records + 2, result.compared);
    // The block's chunks from (0, N), then the two records it lacks, asked by name.
    ASSERT_LE(3u, progress.size());
    EXPECT_EQ(0u, progress.front().first);
    EXPECT_EQ(progress.front().second + 3, progress.size());
    EXPECT_EQ((std::pair<std::uint32_t, std::uint32_t>{2, 2}), progress.back());
    EXPECT_TRUE(c.notifier.shown.empty());

    const std::string report = SetupComparisonText(result);
    EXPECT_NE(std::string::npos, report.find("acf\t2\t1\n"));
    EXPECT_NE(std::string::npos, report.find("Records the controller does not know (name, file value):\n"
                                             "zzUnknown1\t4\nzzUnknown2\t\"x\"\n"));
}

TEST_F(SetupCompare, ASilentControllerStopsTheComparisonWithOneMessage)
{
    WriteAll(dir.File("same.cfg"), SavedSetup());
    c.server.Faults().silent = true;
    SetupComparison result;
    std::string error;
    EXPECT_EQ(CompareResult::NoAnswer, CompareSetupWithController(c.link, dir.File("same.cfg"), result, error));
    EXPECT_NE(std::string::npos, error.find("did not answer"));
    // No box per record: the caller says it once.
    EXPECT_TRUE(c.notifier.shown.empty());
}

TEST_F(SetupCompare, AFileThatIsNoSetupFileIsRefusedBeforeAnythingIsAsked)
{
    WriteAll(dir.File("binary.cfg"), std::string("vms: \"x\"\r\n\0\x01", 12));
    WriteAll(dir.File("long.cfg"), "vms: \"x\"\r\n" + std::string(1000000, 'x') + "\r\n");
    WriteAll(dir.File("empty.cfg"), "");
    Fifo fifo(dir.File("fifo.cfg"));
    SetupComparison result;
    std::string error;
    const auto before = c.Requests();
    EXPECT_EQ(CompareResult::FileError, CompareSetupWithController(c.link, dir.File("binary.cfg"), result, error));
    EXPECT_EQ("Error reading specified configuration file!\r\n\r\nThe file is not a parameter text file: line 2 "
              "holds a control character (NUL at character 1).",
              error);
    EXPECT_EQ(CompareResult::FileError, CompareSetupWithController(c.link, dir.File("long.cfg"), result, error));
    EXPECT_EQ("Error reading specified configuration file!\r\n\r\nThe file is not a parameter text file: line 2 "
              "holds 1000000 characters, more than the 227 of a record.",
              error);
    EXPECT_EQ(CompareResult::FileError, CompareSetupWithController(c.link, dir.File("empty.cfg"), result, error));
    EXPECT_EQ("Error reading specified configuration file!", error);
    EXPECT_EQ(CompareResult::FileError, CompareSetupWithController(c.link, dir.File("missing.cfg"), result, error));
    EXPECT_EQ("Error: Could not open specified file", error);
    EXPECT_TRUE(fifo.ReturnsWithin(2s, [&] {
        EXPECT_EQ(CompareResult::FileError, CompareSetupWithController(c.link, fifo.Path(), result, error));
    }));
    EXPECT_EQ("Error: Could not open specified file", error);
    EXPECT_EQ(before, c.Requests());
}

TEST_F(SetupCompare, AByteOrderMarkIsPassedOverAndTheFirstRecordCompared)
{
    WriteAll(dir.File("bom.cfg"), "\xEF\xBB\xBFvms: \"Another Tractor\"\r\ndsu: 2\r\n");
    SetupComparison result;
    std::string error;
    ASSERT_EQ(CompareResult::Compared, CompareSetupWithController(c.link, dir.File("bom.cfg"), result, error));
    EXPECT_EQ(2u, result.compared);
    ASSERT_EQ(1u, result.rows.size());
    EXPECT_EQ("vms", result.rows[0].name);
    EXPECT_EQ("\"Another Tractor\"", result.rows[0].fileValue);
}

TEST_F(SetupCompare, TheFileNameIsShownWithItsControlCharactersEscaped)
{
    SetupComparison comparison;
    comparison.path = "tractor\x1B[2J\x07.cfg";
    EXPECT_EQ(0u, SetupComparisonText(comparison).find("Setup file: tractor\\x1B[2J\\x07.cfg\n"));
}
