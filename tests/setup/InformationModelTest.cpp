#include "SimFixture.h"
#include "params/ParamSet.h"
#include "setup/InformationModel.h"

using namespace halcyra;
using namespace halcyra::test;

TEST(InformationModel, OptionListSkipsIndexZeroAndUnnamedSlots)
{
    std::uint8_t flags[64] = {};
    flags[0] = 1;
    EXPECT_EQ("", CInformationModel::OptionsText(flags));
    flags[1] = flags[5] = flags[11] = 1;
    flags[12] = flags[40] = flags[63] = 1;
    EXPECT_EQ("Logging, Diagnostic Mode Enabled, ISO VT Display", CInformationModel::OptionsText(flags));
}

TEST(InformationModel, ShowsTheControllersIdentity)
{
    sim::SimOptions o = WithExtra({{"serial", "ABCDEFGHIJKLMNOP"}, {"options", "0,1,5,11,30"}});
    o.assignments = {"MonVerCVMajor=3", "MonVerCVMinor=5", "MonVerCVMonth=7", "MonVerCVDay=2", "MonVerCVYear=9"};
    Connected s(o);
    CParamSet set;
    CInformationModel info(set);
    ASSERT_TRUE(set.GetAll(s.link));
    info.Refresh(s.link);
    EXPECT_EQ("ABCDEFGHIJKLMNO", info.serialNumber); // 16 bytes without a terminator: 15 shown
    EXPECT_EQ("2.86", info.applicationVersion);
    EXPECT_EQ("7/2/2009", info.applicationDate);
    EXPECT_EQ("Logging, Diagnostic Mode Enabled, ISO VT Display", info.optionsInstalled);
    EXPECT_EQ("Fieldora 8240W", info.vehicleModel);
    EXPECT_EQ("3.05", info.monitorVersion);
    EXPECT_EQ("7/2/9", info.monitorDate);
    EXPECT_TRUE(s.notifier.shown.empty());
}

TEST(InformationModel, FailedRequestsKeepThePreviousTexts)
{
    sim::SimOptions o;
    Connected s(o);
    CParamSet set;
    CInformationModel info(set);
    info.Refresh(s.link);
    s.server.Faults().silent = true;
    info.Refresh(s.link);
    EXPECT_EQ("2.86", info.applicationVersion);
    EXPECT_EQ("Fieldora 8240W", info.vehicleModel);
    EXPECT_EQ(3u, s.notifier.shown.size()); // unit, firmware, vehicle type
}
