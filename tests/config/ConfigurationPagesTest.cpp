// Which configuration pages the sheet holds: by vehicle type and correction type.

#include "ConfigRig.h"
#include "config/ConfigurationPages.h"

#include <gtest/gtest.h>

using namespace halcyra;
using namespace halcyra::test;

namespace {

std::vector<std::string> Titles(const std::vector<ConfigPage>& pages)
{
    std::vector<std::string> titles;
    for (ConfigPage page : pages)
        titles.push_back(ConfigPageTitle(page));
    return titles;
}

const std::vector<std::string> kWithDoroZiriv = {"Vehicle Model",          "Displayed Units and Language",
                                                 "GPS Configuration",      "Lightbar Configuration",
                                                 "Operational Parameters", "DoroZiriv",
                                                 "Sensors Configuration",  "Valve On Speed"};

} // namespace

TEST(ConfigurationPages, SelectionByVehicleTypeAndCorrection)
{
    for (std::uint32_t type : {0u, 9u, 100u})
        EXPECT_EQ(std::vector<std::string>{"Vehicle Model"}, Titles(SelectConfigurationPages(type, false))) << type;
    for (std::uint32_t type : {1u, 4u, 5u, 6u})
        EXPECT_EQ(kWithDoroZiriv, Titles(SelectConfigurationPages(type, false))) << type;
    std::vector<std::string> withoutDoroZiriv = kWithDoroZiriv;
    withoutDoroZiriv.erase(withoutDoroZiriv.begin() + 5);
    for (std::uint32_t type : {2u, 3u, 7u, 8u})
        EXPECT_EQ(withoutDoroZiriv, Titles(SelectConfigurationPages(type, false))) << type;

    // RTK adds the radio last, to any of them.
    const std::vector<ConfigPage> rtk = SelectConfigurationPages(4, true);
    ASSERT_EQ(9u, rtk.size());
    EXPECT_EQ(ConfigPage::DoroZiriv, rtk[5]);
    EXPECT_EQ(ConfigPage::Radio, rtk.back());
    EXPECT_EQ((std::vector<ConfigPage>{ConfigPage::VehicleModel, ConfigPage::Radio}), SelectConfigurationPages(0, true));
}

TEST(ConfigurationPages, ReadFromTheController)
{
    ConfigRig rig;
    rig.Set("vtt", "2");
    rig.Set("gct", "3");
    std::vector<std::string> expected = kWithDoroZiriv;
    expected.erase(expected.begin() + 5);
    EXPECT_EQ(expected, ConfigurationPageTitles(rig.link));

    // Without the vehicle model the vehicle model page alone is offered, so
    // a controller without a vehicle can still be set up.
    ConfigRig unknownVehicle({{"unknown-params", "vms"}});
    unknownVehicle.Set("gct", "3");
    EXPECT_EQ(std::vector<std::string>{"Vehicle Model"}, ConfigurationPageTitles(unknownVehicle.link));
    EXPECT_TRUE(unknownVehicle.notifier.shown.empty()) << "a refused get shows no box";
}
