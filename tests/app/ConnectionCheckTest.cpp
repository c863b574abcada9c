#include "InProcessController.h"
#include "SimFixture.h"
#include "app/ConnectionCheck.h"
#include "app/ToolboxCommands.h"
#include "link/SerialPort.h"

#include <cerrno>
#include "link/MessageIds.h"

using namespace halcyra;
using namespace halcyra::test;

TEST(ConnectionCheck, PassesWithACurrentCompatibleController)
{
    Connected s(WithExtra({{"firmware-version", "100"}}));
    EXPECT_TRUE(CheckHalcyraComms(s.link, true));
    EXPECT_TRUE(s.notifier.shown.empty());
}

TEST(ConnectionCheck, OldFirmwareNamesBothVersions)
{
    Connected s(WithExtra({{"firmware-version", "99"}}));
    EXPECT_FALSE(CheckHalcyraComms(s.link, true));
    ASSERT_EQ(1u, s.notifier.shown.size());
    EXPECT_EQ("The Halcyra firmware must be upgraded to use this program. Version 0.99 is installed and 1.00 or later "
              "is needed.",
              s.notifier.shown[0].text);
    EXPECT_EQ("Error: Upgrade Firmware", s.notifier.shown[0].caption);
    EXPECT_EQ(MsgIcon::Stop, s.notifier.shown[0].icon);
}

TEST(ConnectionCheck, IncompatibleAnswerShowsOneVersionError)
{
    Connected s(WithExtra({{"compat-b", "0"}}));
    EXPECT_FALSE(CheckHalcyraComms(s.link, true));
    ASSERT_EQ(1u, s.notifier.shown.size());
    EXPECT_EQ("Version Error", s.notifier.shown[0].caption);

    s.notifier.shown.clear();
    EXPECT_FALSE(CheckHalcyraComms(s.link, false));
    EXPECT_TRUE(s.notifier.shown.empty());
}

TEST(ConnectionCheck, SilentControllerShowsTransferThenCommunicationsError)
{
    sim::SimOptions o;
    o.faults.silent = true;
    Connected s(o);
    EXPECT_FALSE(CheckHalcyraComms(s.link, true));
    ASSERT_EQ(2u, s.notifier.shown.size());
    EXPECT_EQ("Communication Error Occured", s.notifier.shown[0].text);
    EXPECT_EQ("Communications Error", s.notifier.shown[1].caption);
    EXPECT_EQ(0u, s.notifier.shown[1].text.find("Error: Communication with the Halcyra Controller failed."));
}

TEST(ConnectionCheck, AControllerThatStopsAnsweringAfterTheStatusShowsTwoBoxes)
{
    InProcessController c;
    c.unanswered = [](const sim::Request& r) { return r.messageId == wire::kInfoMsg; };
    EXPECT_FALSE(CheckHalcyraComms(c.link, true));
    ASSERT_EQ(2u, c.notifier.shown.size()) << ::testing::PrintToString(c.notifier.Texts());
    EXPECT_EQ("Communication Error Occured", c.notifier.shown[0].text);
    EXPECT_EQ("Communications Error", c.notifier.shown[1].caption);
    EXPECT_EQ(4, c.requests) << "the status, then three tries for the firmware";
}

TEST(PortRefusal, OnlyAPermissionRefusalIsExplained)
{
    CRecordingNotifier notifier;
    ExplainPortRefusal(notifier, CSerialException(EBUSY, "/dev/ttyUSB0 is in use by another program"));
    EXPECT_TRUE(notifier.shown.empty());
    ExplainPortRefusal(notifier, CSerialException(EACCES, "Permission denied for /dev/ttyUSB0: your user must be in "
                                                          "the 'dialout' group"));
    ASSERT_EQ(1u, notifier.shown.size());
    EXPECT_EQ("Permission Denied", notifier.shown[0].caption);
    EXPECT_NE(std::string::npos, notifier.shown[0].text.find("'dialout' group"));
}
