// The fault list, one fault's details, clearing and the fault report.

#include "InProcessController.h"
#include "link/MemoryPort.h"
#include "link/MessageIds.h"
#include "setup/Faults.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#ifdef HALCYRA_PTY_SIMULATOR
#include "SimFixture.h"
#endif

using namespace halcyra;
using namespace halcyra::test;

namespace {

std::vector<std::string> Texts(const CFaultList& list)
{
    std::vector<std::string> t;
    for (const auto& e : list.Entries())
        t.push_back(e.text);
    return t;
}

} // namespace

#ifdef HALCYRA_PTY_SIMULATOR
namespace {

const std::string kLong = "Steering valve current above the permitted limit in left turns"; // 62 characters

// 2023-11-14 22:13:20 UTC, a Tuesday.
std::time_t FixedClock() { return 1700000000; }

// The report's date and time are local; these tests read them in UTC.
void UseUtc()
{
    ::setenv("TZ", "UTC", 1);
    ::tzset();
}

} // namespace

TEST(Faults, OnlyActiveSlotsAreListedWithNumberAndCutDescription)
{
    Connected c(WithExtra({{"faults", "3;2,4,1.5,0,-2,Hydraulic pressure low"}}));
    CFaultList list;
    ASSERT_TRUE(list.Refresh(c.link));
    EXPECT_EQ(std::vector<std::string>{"002: Hydraulic pressure low"}, Texts(list));
    EXPECT_EQ(2u, list.Entries()[0].faultNumber);
    EXPECT_TRUE(list.ActionsEnabled());

    Connected longer(WithExtra({{"faults", "2;1,1,0,0,0," + kLong}}));
    ASSERT_TRUE(list.Refresh(longer.link));
    EXPECT_EQ(std::vector<std::string>{"001: " + kLong.substr(0, 35)}, Texts(list));
    CFaultInfo info;
    ASSERT_TRUE(info.Fetch(longer.link, 1));
    EXPECT_EQ(kLong, info.description);
}

TEST(Faults, NoActiveSlotsListNoFaultsWithActionsDisabled)
{
    for (const char* table : {"0", "4"}) {
        Connected c(WithExtra({{"faults", table}}));
        CFaultList list;
        ASSERT_TRUE(list.Refresh(c.link));
        EXPECT_EQ(std::vector<std::string>{"No Faults"}, Texts(list));
        EXPECT_EQ(0u, list.Entries()[0].faultNumber);
        EXPECT_FALSE(list.ActionsEnabled());
    }
}

TEST(Faults, DetailsTextShowsTheWholeDescriptionUpToOneHundredBytes)
{
    const std::string overlong(120, 'x');
    Connected c(WithExtra({{"faults", "3;2,4,1.5,0,-2,Hydraulic pressure low;1,1,0,0,0," + overlong}}));
    CFaultInfo info;
    ASSERT_TRUE(info.Fetch(c.link, 2));
    EXPECT_EQ("Fault#:\t\t002\r\n\r\n"
              "Description: \tHydraulic pressure low\r\n\r\n"
              "Fault Data:\r\n\t\t1.500000\r\n\t\t0.000000\r\n\t\t-2.000000\r\n\r\n"
              "Count:\t\t004\r\n\r\n\r\n",
              info.Text());
    ASSERT_TRUE(info.Fetch(c.link, 1));
    EXPECT_EQ(std::string(100, 'x'), info.description);
}

TEST(Faults, SlotZeroIsListedButNeverClearedOrReported)
{
    UseUtc();
    Connected c(WithExtra({{"faults", "2;0,1,0,0,0,Slot zero fault"}}));
    CFaultList list;
    ASSERT_TRUE(list.Refresh(c.link));
    ASSERT_EQ(std::vector<std::string>{"000: Slot zero fault"}, Texts(list));
    EXPECT_TRUE(list.ActionsEnabled());
    EXPECT_FALSE(CFaultList::CanActOn(list.Entries()[0]));
    const std::uint64_t before = c.Requests();
    EXPECT_FALSE(list.Clear(c.link, 0));
    EXPECT_EQ(before, c.Requests());
    EXPECT_EQ("\r\n*** Verovevevero Fault Code Download File ***\r\n\r\n"
              "Current Date: Tuesday November 14, 2023\r\n"
              "Current Time: 22:13:20\r\n\r\n",
              FaultReportText(c.link, list.Entries(), FixedClock));
}

TEST(Faults, ClearingAFaultRefreshesTheList)
{
    Connected c; // the default table: slots 1 and 3 active
    CFaultList list;
    ASSERT_TRUE(list.Refresh(c.link));
    ASSERT_EQ(2u, list.Entries().size());
    EXPECT_TRUE(list.Clear(c.link, 1));
    ASSERT_EQ(1u, list.Entries().size());
    EXPECT_EQ(3u, list.Entries()[0].faultNumber);
    EXPECT_TRUE(c.notifier.shown.empty());
}

TEST(Faults, ReportIsWrittenByteForByte)
{
    UseUtc();
    Connected c(WithExtra({{"faults", "4;1,2,1.5,0,-0.25,Hydraulic pressure low;3,7,100,2.5,0," + kLong}}));
    CFaultList list;
    ASSERT_TRUE(list.Refresh(c.link));
    ScratchDir dir;
    WriteAll(dir.File("faults.txt"), "an older report");
    ASSERT_TRUE(SaveFaultReport(c.link, dir.File("faults.txt"), list.Entries(), FixedClock));
    const std::string dashes = "------------------------------------\r\n";
    EXPECT_EQ("\r\n*** Verovevevero Fault Code Download File ***\r\n\r\n"
              "Current Date: Tuesday November 14, 2023\r\n"
              "Current Time: 22:13:20\r\n\r\n" +
                  dashes + dashes +
                  "\r\n"
                  "Fault#:\t\t001\r\n\r\n"
                  "Description: \tHydraulic pressure low\r\n\r\n"
                  "Fault Data:\r\n\t\t1.500000\r\n\t\t0.000000\r\n\t\t-0.250000\r\n\r\n"
                  "Count:\t\t002\r\n\r\n\r\n" +
                  dashes + dashes +
                  "\r\n"
                  "Fault#:\t\t003\r\n\r\n"
                  "Description: \t" + kLong + "\r\n\r\n"
                  "Fault Data:\r\n\t\t100.000000\r\n\t\t2.500000\r\n\t\t0.000000\r\n\r\n"
                  "Count:\t\t007\r\n\r\n\r\n",
              ReadAll(dir.File("faults.txt")));
    EXPECT_EQ(std::vector<std::string>{"faults.txt"}, dir.Names());
    ASSERT_EQ(1u, c.notifier.shown.size());
    EXPECT_EQ("Fault information saved successfully", c.notifier.shown[0].text);
    EXPECT_EQ("Save Complete", c.notifier.shown[0].caption);
    EXPECT_EQ(MsgIcon::Information, c.notifier.shown[0].icon);

    c.notifier.shown.clear();
    EXPECT_FALSE(SaveFaultReport(c.link, dir.File("missing/faults.txt"), list.Entries(), FixedClock));
    ASSERT_EQ(1u, c.notifier.shown.size());
    EXPECT_EQ("Error: Could not open specified file for writing!", c.notifier.shown[0].text);
    EXPECT_EQ("Download Error", c.notifier.shown[0].caption);
    EXPECT_EQ(MsgIcon::Stop, c.notifier.shown[0].icon);
}

TEST(Faults, FaultThatCannotBeFetchedIsReportedWithZeros)
{
    UseUtc();
    sim::SimOptions silent;
    silent.faults.silent = true;
    Connected c(silent);
    const std::string report = FaultReportText(c.link, {{"002: Hydraulic pressure low", 2}}, FixedClock);
    EXPECT_NE(std::string::npos, report.find("Fault#:\t\t002\r\n\r\n"
                                             "Description: \t\r\n\r\n"
                                             "Fault Data:\r\n\t\t0.000000\r\n\t\t0.000000\r\n\t\t0.000000\r\n\r\n"
                                             "Count:\t\t000\r\n\r\n\r\n"));
    EXPECT_EQ("Communication Error Occured", c.notifier.shown.at(0).text);
}

#endif

TEST(Faults, RecordIsKeptWhenOnlyTheDescriptionFails)
{
    // A controller whose record replies arrive whole and whose description
    // replies arrive damaged.
    CMemoryPort port;
    CRecordingNotifier notifier;
    CControllerLink link(notifier);
    link.SetPort(&port);
    port.OnWait([&port] {
        const std::vector<std::uint8_t> request = port.TakeWritten();
        if (request.size() < 5)
            return;
        CTxBuffer tx;
        std::vector<std::uint8_t> frame;
        tx.PushValue(std::uint8_t{0xBF});
        tx.PushValue(std::uint8_t{0x47});
        tx.PushValue(std::uint8_t{5});
        tx.PushValue(request[4]); // the operation asked for
        if (request[4] == 2) {
            tx.PushValue(std::uint16_t{2});
            tx.PushValue(std::uint32_t{1});
            tx.PushValue(std::uint32_t{0});
            tx.PushValue(std::uint32_t{0});
            tx.PushValue(std::uint16_t{4}); // count
            tx.PushValue(std::uint16_t{0});
            for (float d : {1.5f, 0.0f, -2.0f})
                tx.PushValue(d);
            tx.PushValue(std::uint16_t{0});
            tx.PushValue(std::uint16_t{0});
            tx.BuildFrame(frame, true, true);
        } else {
            tx.PushValue(std::uint16_t{2});
            tx.PushBack('X');
            tx.BuildFrame(frame, true, true);
            frame[frame.size() - 3] ^= 0x01; // checksum low byte
        }
        port.Feed(frame);
    });
    CFaultInfo info;
    EXPECT_FALSE(info.Fetch(link, 2));
    EXPECT_EQ(4u, info.record.count);
    EXPECT_EQ(1.5f, info.record.data[0]);
    EXPECT_EQ("", info.description);
    EXPECT_NE(std::string::npos, info.Text().find("Count:\t\t004"));
}

TEST(Faults, ARecordThatFailsInTheMiddleOfARefreshLeavesTheOthersListed)
{
    InProcessController c;
    // The record of slot 1 never comes; slot 3 answers as before.
    c.unanswered = [](const sim::Request& r) {
        return r.messageId == wire::kTableMsg && r.Operation() == wire::table::kFaultRecordOp &&
               r.PayloadU16(0) == 1;
    };
    CFaultList list;
    EXPECT_TRUE(list.Refresh(c.link));
    EXPECT_EQ(std::vector<std::string>{"003: Supply voltage low"}, Texts(list));
    EXPECT_TRUE(list.ActionsEnabled());
    EXPECT_EQ(std::vector<std::string>{kTransactionErrorText}, c.notifier.Texts()) << "one box for the lost record";
}
