// Which pages the diagnostics sheet holds, from the controller's input
// configuration.

#include "diagnostics/DiagController.h"
#include "diagnostics/DiagnosticsPages.h"
#include "link/ControllerLink.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace halcyra;
using namespace halcyra::test;

namespace {

std::vector<std::string> Titles(DiagController& c) { return DiagnosticsPageTitles(c.link); }

bool Asked(const DiagController& c, const std::string& name)
{
    return std::find(c.asked.begin(), c.asked.end(), name) != c.asked.end();
}

} // namespace

TEST(DiagnosticsSelection, TheDefaultTractorHasAPageForEachConfiguredInputInInputOrder)
{
    DiagController c;
    EXPECT_EQ((std::vector<std::string>{"Manual Override", "Steering Angle", "Wheel/transmission speed",
                                        "Gear Lever (digital)", "Neutral Sense (digital)", "Engine speed",
                                        "Remote Engage Switch", "Operator Present Switch", "Output Balance Voltage",
                                        "Steering Module Fault"}),
              Titles(c));
    EXPECT_TRUE(c.notifier.shown.empty());
}

TEST(DiagnosticsSelection, AnInputCountOutsideOneToTwentyGivesAnEmptySheetEvenWithCanSignals)
{
    for (const char* count : {"0", "21"}) {
        DiagController c(std::string("einum: ") + count + "\nei1: 5\ncsnum: 2\ncs1: 3\ncs2: 7\n");
        EXPECT_TRUE(Titles(c).empty()) << "einum " << count;
        EXPECT_FALSE(Asked(c, "csnum"));
    }
}

TEST(DiagnosticsSelection, InputsAndSignalsThatCallForTheSamePageAddItOnce)
{
    DiagController c("einum: 3\nei1: 13\nei2: 5\nei3: 19\ncsnum: 2\ncs1: 6\ncs2: 3\nlso: 0\nvde: 0\n");
    EXPECT_EQ((std::vector<std::string>{"Gear Lever (digital)", "Steering Angle", "Vehicle Direction (CAN)"}),
              Titles(c));
}

TEST(DiagnosticsSelection, TheTenthInputIsReadAsEi0WhenEi10CannotBeRead)
{
    const std::string nineEmpty = "einum: 10\nei1: 0\nei2: 0\nei3: 0\nei4: 0\nei5: 0\nei6: 0\nei7: 0\nei8: 0\nei9: 0\n";
    {
        DiagController c(nineEmpty + "ei0: 8\n");
        EXPECT_EQ(std::vector<std::string>{"Engine speed"}, Titles(c));
        const auto ei10 = std::find(c.asked.begin(), c.asked.end(), "ei10");
        ASSERT_NE(c.asked.end(), ei10);
        EXPECT_EQ("ei0", *(ei10 + 1)) << "ei10 first, then ei0 in its place";
    }
    {
        DiagController c(nineEmpty + "ei10: 9\nei0: 8\n");
        EXPECT_EQ(std::vector<std::string>{"Manual Override"}, Titles(c));
        EXPECT_FALSE(Asked(c, "ei0"));
    }
    {
        // Only the tenth input has the fallback.
        DiagController c("einum: 3\nei1: 0\nei3: 0\nei0: 8\n");
        EXPECT_TRUE(Titles(c).empty());
        EXPECT_FALSE(Asked(c, "ei0"));
    }
}

TEST(DiagnosticsSelection, AnInputCountThatCannotBeReadMeansTenInputs)
{
    DiagController c("ei1: 0\nei2: 0\nei3: 0\nei4: 0\nei5: 0\nei6: 0\nei7: 0\nei8: 0\nei9: 0\nei10: 6\nei11: 8\n");
    EXPECT_EQ(std::vector<std::string>{"Wheel/transmission speed"}, Titles(c));
    EXPECT_FALSE(Asked(c, "ei11"));
}

TEST(DiagnosticsSelection, DirectionSensingReplacesTheLeverAndSpeedPagesWithOneDirectionPage)
{
    const std::string inputs = "einum: 4\nei1: 13\nei2: 6\nei3: 15\nei4: 21\ncsnum: 1\ncs1: 7\n";
    {
        DiagController c(inputs + "lso: 0\nvde: 1\n");
        EXPECT_EQ((std::vector<std::string>{"Wheel/transmission speed", "Neutral Sense (digital)",
                                            "Steering Angle (CAN)", "Vehicle Direction"}),
                  Titles(c));
    }
    {
        DiagController c(inputs + "lso: 1\nvde: 0\n");
        EXPECT_EQ((std::vector<std::string>{"Gear Lever (digital)", "Gear Lever (analog)", "Steering Angle (CAN)",
                                            "Vehicle Direction"}),
                  Titles(c));
    }
    {
        DiagController c(inputs + "lso: 1\nvde: 1\n");
        EXPECT_EQ((std::vector<std::string>{"Steering Angle (CAN)", "Vehicle Direction"}), Titles(c));
    }
    {
        // Without CAN signals the selection ends before lso and vde.
        DiagController c("einum: 1\nei1: 13\ncsnum: 0\nlso: 1\nvde: 1\n");
        EXPECT_EQ(std::vector<std::string>{"Gear Lever (digital)"}, Titles(c));
        EXPECT_FALSE(Asked(c, "vde"));
    }
}

TEST(DiagnosticsSelection, AControllerThatStopsAnsweringGetsOneBoxForTheWholeSelection)
{
    DiagController c("einum: 3\nei1: 5\nei2: 6\nei3: 8\ncsnum: 0\n");
    c.silent = {"ei2", "ei3"};
    EXPECT_EQ(std::vector<std::string>{"Steering Angle"}, Titles(c));
    ASSERT_EQ(1u, c.notifier.shown.size()) << "two reads failed, one box";
    EXPECT_EQ(kTransactionErrorText, c.notifier.shown[0].text);
}

TEST(DiagnosticsSelection, EachInputFunctionCodeAndCanSignalAddsItsOwnPage)
{
    const auto input = [](int code) {
        return "einum: 1\nei1: " + std::to_string(code) + "\ncsnum: 0\n";
    };
    const auto signal = [](int code) {
        return "einum: 1\nei1: 0\ncsnum: 1\ncs1: " + std::to_string(code) + "\nlso: 0\nvde: 0\n";
    };
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
        {input(11), {"Right Pump Pressure"}},
        {input(12), {"Left Pump Pressure"}},
        {input(20), {"Gear Lever (analog)"}},
        {input(22), {"Neutral Sense (digital)"}},
        {input(23), {"Manual Override"}},
        {input(25), {"Steering Module Fault"}},
        {input(28), {"Steering Angle"}},
        {input(29), {"Manual Override"}},
        {input(30), {"Manual Override"}},
        {input(34), {"Steering Angle"}},
        {input(37), {"Steering Angle"}},
        {input(14), {}},
        {input(26), {}},
        {input(38), {}},
        {signal(1), {"Remote Engage Switch"}},
        {signal(2), {"Operator Present Switch"}},
        {signal(8), {"Manual Override"}},
        {signal(4), {}},
        {signal(9), {}},
    };
    for (const auto& [setup, titles] : cases) {
        SCOPED_TRACE(setup);
        DiagController c(setup);
        EXPECT_EQ(titles, Titles(c));
        EXPECT_TRUE(c.notifier.shown.empty());
    }
}
