// A diagnostics page's polls recorded as CSV: the quoting, the time stamps,
// the header and rows a page gives, and a file that is never half new.

#include "ScratchDir.h"
#include "diagnostics/DiagController.h"
#include "diagnostics/DiagnosticsRecording.h"
#include "diagnostics/DiagnosticsValues.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <regex>

using namespace halcyra;
using namespace halcyra::test;
using namespace std::chrono_literals;

namespace {

using WallClock = std::chrono::system_clock;

sim::Bytes B(std::initializer_list<std::uint8_t> bytes) { return bytes; }

#ifndef _WIN32
// The wall clock at a UTC time given in whole seconds since 1970, plus ms.
WallClock::time_point At(std::int64_t seconds, int millis = 0)
{
    return WallClock::time_point(std::chrono::seconds(seconds) + std::chrono::milliseconds(millis));
}

// The local time zone for as long as this lives.
class ZoneFor {
public:
    explicit ZoneFor(const char* zone)
    {
        if (const char* old = std::getenv("TZ"))
            old_ = old;
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~ZoneFor()
    {
        if (old_)
            ::setenv("TZ", old_->c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }

private:
    std::optional<std::string> old_;
};
#endif

} // namespace

TEST(DiagnosticsRecording, FieldsAreQuotedAsRfc4180AsksAndRecordsEndInCrLf)
{
    EXPECT_EQ("Steering Angle", CsvField("Steering Angle"));
    EXPECT_EQ("", CsvField(""));
    EXPECT_EQ("\"a,b\"", CsvField("a,b"));
    EXPECT_EQ("\"say \"\"hi\"\"\"", CsvField("say \"hi\""));
    EXPECT_EQ("\"two\nlines\"", CsvField("two\nlines"));
    EXPECT_EQ("\"cr\rhere\"", CsvField("cr\rhere"));
    EXPECT_EQ("Time,\"Raw, filtered\",\"1\"\"\",\r\n", CsvRecord({"Time", "Raw, filtered", "1\"", ""}));
}

#ifndef _WIN32
TEST(DiagnosticsRecording, TimesAreLocalWithMillisecondsAndTheirOffsetFromUtc)
{
    {
        ZoneFor utc("UTC0");
        EXPECT_EQ("1970-01-01T00:00:00.000+00:00", IsoLocalTime(At(0)));
        EXPECT_EQ("2024-02-29T23:59:59.007+00:00", IsoLocalTime(At(1709251199, 7)));
    }
    {
        ZoneFor india("<+0530>-5:30");
        EXPECT_EQ("2024-03-01T05:29:59.999+05:30", IsoLocalTime(At(1709251199, 999)));
    }
    {
        ZoneFor west("<-0330>3:30");
        EXPECT_EQ("2024-02-29T20:29:59.500-03:30", IsoLocalTime(At(1709251199, 500))) << "a day back";
    }
    {
        // Summer time begins at 01:00 UTC on the last Sunday of March: the
        // clock jumps from 02:00 to 03:00 and the offset tells the rows apart.
        ZoneFor europe("CET-1CEST,M3.5.0,M10.5.0/3");
        EXPECT_EQ("2025-03-30T01:59:59.750+01:00", IsoLocalTime(At(1743296399, 750)));
        EXPECT_EQ("2025-03-30T03:00:00.000+02:00", IsoLocalTime(At(1743296400)));
        // And in October the hour from 02:00 comes twice.
        EXPECT_EQ("2025-10-26T02:30:00.000+02:00", IsoLocalTime(At(1761438600)));
        EXPECT_EQ("2025-10-26T02:30:00.000+01:00", IsoLocalTime(At(1761442200)));
    }
}
#endif

TEST(DiagnosticsRecording, AStampIsAnIsoTimeWithItsOffset)
{
    EXPECT_TRUE(std::regex_match(IsoLocalTime(WallClock::now()),
                                 std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}[+-]\d\d:\d\d)")));
}

TEST(DiagnosticsRecording, TheHeaderNamesThePagesLinesWithTheirUnitsAndARowIsWhatThePageShows)
{
    DiagController c;
    c.payload = FloatBytes(2.51f) + FloatBytes(-12.5f);
    CDiagPageValues angle(DiagRow(DiagPage::SteeringAngle));
    angle.transact = {.timeoutMs = 30, .tries = 1};
    EXPECT_EQ((std::vector<std::string>{"Time", "Raw (volts)", "Scaled (deg)", "failed"}), DiagCsvHeader(angle));
    ASSERT_TRUE(angle.Refresh(c.link));
    std::vector<std::string> row = DiagCsvRow(angle, true, WallClock::now());
    row[0] = "T";
    EXPECT_EQ((std::vector<std::string>{"T", "2.51", "-12.5", "0"}), row);

    // A failed poll: the page's failure values and 1 in failed.
    c.pulled = true;
    EXPECT_FALSE(angle.Refresh(c.link));
    row = DiagCsvRow(angle, false, WallClock::now());
    row[0] = "T";
    EXPECT_EQ((std::vector<std::string>{"T", "0", "0", "1"}), row);

    // A state page: its text first, the raw value without a unit.
    c.pulled = false;
    c.payload = FloatBytes(4.02f) + B({3});
    CDiagPageValues lever(DiagRow(DiagPage::GearLeverAnalog));
    EXPECT_EQ((std::vector<std::string>{"Time", "State", "Raw (volts)", "failed"}), DiagCsvHeader(lever));
    ASSERT_TRUE(lever.Refresh(c.link));
    row = DiagCsvRow(lever, true, WallClock::now());
    EXPECT_EQ((std::vector<std::string>{"Reverse", "4.02", "0"}), std::vector<std::string>(row.begin() + 1, row.end()));
    EXPECT_EQ((std::vector<std::string>{"Time", "State", "Raw", "failed"}),
              DiagCsvHeader(CDiagPageValues(DiagRow(DiagPage::NeutralSenseDigital))));
}

TEST(DiagnosticsRecording, RowsWaitBesideTheDestinationUntilTheRecordingEnds)
{
    ScratchDir dir;
    const std::string path = dir.File("angle.csv");
    WriteAll(path, "an earlier recording");
    DiagController c;
    c.payload = FloatBytes(1.5f) + FloatBytes(3);
    CDiagPageValues values(DiagRow(DiagPage::SteeringAngle));
    values.Refresh(c.link);

    CDiagRecording recording;
    ASSERT_TRUE(recording.Open(path, values));
    ASSERT_TRUE(recording.Add(values, true, WallClock::now()));
    ASSERT_TRUE(recording.Add(values, false, WallClock::now() + 250ms));
    EXPECT_EQ(2, recording.Rows());
    EXPECT_EQ("an earlier recording", ReadAll(path));
    // Each row has reached the file beside it already, as a program that
    // died now would leave it.
    const std::string waiting = ReadAll(recording.TemporaryPath());
    const std::regex rows("Time,Raw \\(volts\\),Scaled \\(deg\\),failed\r\n"
                          "[-0-9T:.+]{29},1\\.5,3,0\r\n"
                          "[-0-9T:.+]{29},1\\.5,3,1\r\n");
    EXPECT_TRUE(std::regex_match(waiting, rows)) << waiting;
    EXPECT_EQ(2u, dir.Names().size());

    ASSERT_TRUE(recording.Finish());
    EXPECT_FALSE(recording.IsOpen());
    EXPECT_EQ(waiting, ReadAll(path));
    EXPECT_EQ(std::vector<std::string>{"angle.csv"}, dir.Names());
}

TEST(DiagnosticsRecording, ARecordingThatEndsWithoutFinishKeepsItsRowsOrLeavesTheFileAlone)
{
    ScratchDir dir;
    DiagController c;
    CDiagPageValues values(DiagRow(DiagPage::SteeringAngle));
    values.Refresh(c.link);
    {
        CDiagRecording cutShort;
        ASSERT_TRUE(cutShort.Open(dir.File("rows.csv"), values));
        cutShort.Add(values, true, WallClock::now());
    }
    const std::string kept = ReadAll(dir.File("rows.csv"));
    EXPECT_EQ(2, std::count(kept.begin(), kept.end(), '\n')) << "the header and the row";

    WriteAll(dir.File("none.csv"), "kept");
    {
        CDiagRecording nothingRead;
        ASSERT_TRUE(nothingRead.Open(dir.File("none.csv"), values));
    }
    EXPECT_EQ("kept", ReadAll(dir.File("none.csv")));

    CDiagRecording discarded;
    ASSERT_TRUE(discarded.Open(dir.File("none.csv"), values));
    discarded.Add(values, true, WallClock::now());
    discarded.Discard();
    EXPECT_FALSE(discarded.Add(values, true, WallClock::now())) << "nothing is added once it has ended";
    EXPECT_EQ("kept", ReadAll(dir.File("none.csv")));
    EXPECT_EQ(2u, dir.Names().size());
}

TEST(DiagnosticsRecording, AFileThatCannotBeCreatedIsRefusedAtOnce)
{
    ScratchDir dir;
    CDiagPageValues values(DiagRow(DiagPage::SteeringAngle));
    CDiagRecording recording;
    EXPECT_FALSE(recording.Open(dir.File("missing/angle.csv"), values));
    EXPECT_FALSE(recording.IsOpen());
    std::filesystem::create_directory(dir.File("folder.csv"));
    EXPECT_FALSE(recording.Open(dir.File("folder.csv"), values)) << "a directory is no file to replace";
    EXPECT_EQ(std::vector<std::string>{"folder.csv"}, dir.Names());
}

TEST(DiagnosticsRecording, ADestinationThatCannotBeReplacedAtTheEndGetsTheRowsBesideIt)
{
    ScratchDir dir;
    const std::string path = dir.File("angle.csv");
    DiagController c;
    CDiagPageValues values(DiagRow(DiagPage::SteeringAngle));
    values.Refresh(c.link);
    CDiagRecording recording;
    ASSERT_TRUE(recording.Open(path, values));
    recording.Add(values, true, WallClock::now());
    const std::string rows = ReadAll(recording.TemporaryPath());
    // Taken meanwhile by something no file can replace (on Windows, a file
    // another program holds open), and the first other name as well.
    std::filesystem::create_directories(dir.File("angle.csv/inside"));
    WriteAll(dir.File("angle-2.csv"), "another recording");
    ASSERT_TRUE(recording.Finish());
    EXPECT_EQ(dir.File("angle-3.csv"), recording.SavedPath());
    EXPECT_EQ(rows, ReadAll(dir.File("angle-3.csv")));
    EXPECT_EQ("another recording", ReadAll(dir.File("angle-2.csv")));
    EXPECT_EQ(3u, dir.Names().size());

    ASSERT_TRUE(recording.Open(dir.File("angle-2.csv"), values));
    ASSERT_TRUE(recording.Finish()) << "a header alone, when Stop comes before a poll";
    EXPECT_EQ(dir.File("angle-2.csv"), recording.SavedPath());
    EXPECT_EQ("Time,Raw (volts),Scaled (deg),failed\r\n", ReadAll(dir.File("angle-2.csv")));
}
