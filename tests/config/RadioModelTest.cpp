// The radio network page: the radio's status codes, how long a radio that
// cannot be reached is asked, the shared radio, and the wait after saving.

#include "ConfigRig.h"
#include "config/RadioModel.h"

#include <gtest/gtest.h>

using namespace halcyra;
using namespace halcyra::test;

namespace {

struct CountingBusy final : IBusyIndicator {
    void SetBusy(bool busy) override
    {
        depth += busy ? 1 : -1;
        ++calls;
    }
    int depth = 0;
    int calls = 0;
};

struct RadioRig : ConfigRig {
    using ConfigRig::ConfigRig;
    // The page's activation: its own checks, then the page base's fetch.
    void Activate()
    {
        model.CheckRadio(link, busy);
        logic.FetchAll(link);
    }
    CPageLogic logic;
    CRadioModel model{logic};
    CountingBusy busy;
};

} // namespace

TEST(RadioPage, TheNetworkRangeFollowsTheRadioAndTheFirmware)
{
    RadioRig rig; // product 4, at most 32
    rig.Activate();
    EXPECT_EQ(33u, rig.model.entries.size());
    EXPECT_EQ("---", rig.model.entries.front().text);
    EXPECT_EQ("Network 32", rig.model.entries.back().text);
    EXPECT_TRUE(rig.model.usable);
    EXPECT_EQ(5, FieldChoiceIndex(rig.model.Fields()[0]));
    EXPECT_TRUE(rig.notifier.shown.empty());
    EXPECT_EQ(0, rig.busy.depth);

    EXPECT_EQ(250u, HighestRadioNetwork(7, 32, true));
    EXPECT_EQ(40u, HighestRadioNetwork(7, 32, false));
    EXPECT_EQ(250u, HighestRadioNetwork(std::nullopt, 32, true));
    EXPECT_EQ(250u, HighestRadioNetwork(4, std::nullopt, true)) << "a range that could not be read";
}

TEST(RadioPage, ARadioThatCannotBeReachedIsAsked51TimesInAll)
{
    RadioRig stuck({{"radio-busy-gets", "60"}});
    stuck.Activate();
    EXPECT_EQ(51, stuck.Gets("rnie"));
    EXPECT_EQ((std::vector<std::string>{"Cannot connect to radio."}), stuck.notifier.Texts());
    EXPECT_FALSE(stuck.model.usable);
    EXPECT_EQ(-1, FieldChoiceIndex(stuck.model.Fields()[0])) << "the list is not bound";
    stuck.logic.OnLeave(stuck.link);
    EXPECT_TRUE(stuck.Sets().empty());

    RadioRig slow({{"radio-busy-gets", "10"}});
    slow.Activate();
    EXPECT_EQ(11, slow.Gets("rnie"));
    EXPECT_TRUE(slow.model.usable);
    EXPECT_TRUE(slow.notifier.shown.empty());
}

TEST(RadioPage, OlderFirmwareReportsItsStatusInTheNetworkNumber)
{
    RadioRig older({{"unknown-params", "rnie"}});
    older.Set("rni", "44");
    older.Set("RORadioProductID", "7");
    older.logic.FetchAll(older.link); // the page's creation
    older.Activate();
    EXPECT_FALSE(older.model.newerFirmware);
    EXPECT_EQ(41u, older.model.entries.size()) << "product 7 with older firmware: 40 networks";
    EXPECT_EQ((std::vector<std::string>{"Configuration is in progress. Please Wait."}), older.notifier.Texts());
    EXPECT_FALSE(older.model.usable);

    EXPECT_EQ(std::optional<std::string>("Network ID selected if invalid."), RadioStatusMessage(0, false));
    EXPECT_EQ(std::optional<std::string>("Unkown radio."), RadioStatusMessage(45, false));
    EXPECT_EQ(std::optional<std::string>("Unknown radio."), RadioStatusMessage(-5, true));
    EXPECT_EQ(std::nullopt, RadioStatusMessage(44, true));
    EXPECT_EQ(std::nullopt, RadioStatusMessage(-2.5, true));
}

TEST(RadioPage, EveryStatusCodeHasItsTextAndAnyOtherCodeNone)
{
    const struct {
        double code;
        bool newer;
        const char* text; // none: the radio is usable
    } cases[] = {
        {0, true, "Network ID selected is invalid."},       {0, false, "Network ID selected if invalid."},
        {-3, true, "Network ID selected is too large."},    {41, false, "Network ID selected is too large."},
        {-2, true, "Cannot connect to radio."},             {42, false, "Cannot connect to radio."},
        {-1, true, "Upgrade radio firmware is required."},  {43, false, "Upgrade radio firmware is required."},
        {-4, true, "Configuration is in progress. Please Wait."},
        {44, false, "Configuration is in progress. Please Wait."},
        {-5, true, "Unknown radio."},                       {45, false, "Unkown radio."},
        {41, true, nullptr},  {-3, false, nullptr}, {5, true, nullptr}, {5, false, nullptr},
        {-6, true, nullptr},  {46, false, nullptr}, {250, true, nullptr}, {40, false, nullptr},
    };
    for (const auto& c : cases) {
        const std::optional<std::string> expected = c.text ? std::optional<std::string>(c.text) : std::nullopt;
        EXPECT_EQ(expected, RadioStatusMessage(c.code, c.newer)) << c.code << (c.newer ? " newer" : " older");
    }
}

TEST(RadioPage, ASharedRadioShowsItsMessageAndNothingElse)
{
    RadioRig shared;
    shared.Set("srl", "1");
    shared.Set("rnie", "-2.000000");
    shared.Activate();
    ASSERT_EQ(1u, shared.notifier.shown.size());
    EXPECT_EQ(kSharedRadioText, shared.notifier.shown[0].text);
    EXPECT_EQ(kSharedRadioCaption, shared.notifier.shown[0].caption);
    EXPECT_EQ(1, shared.Gets("rnie"));
    EXPECT_FALSE(shared.model.usable);
}

TEST(RadioPage, SavingWaitsForTheRadioUnderTheBusyIndicator)
{
    RadioRig rig;
    rig.model.saveWait = std::chrono::milliseconds(60);
    rig.Activate();
    StoreFieldChoice(rig.model.Fields()[0], 7);
    const auto started = std::chrono::steady_clock::now();
    rig.model.Leave(rig.link, rig.busy);
    EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(60));
    EXPECT_EQ((std::vector<std::string>{"rni: 7"}), rig.Sets());
    EXPECT_EQ(0, rig.busy.depth);

    // No to "Save Changes?": no wait.
    rig.Activate();
    StoreFieldChoice(rig.model.Fields()[0], 9);
    rig.notifier.answers = {MsgAnswer::No};
    const int callsBefore = rig.busy.calls;
    rig.model.Leave(rig.link, rig.busy);
    EXPECT_EQ(callsBefore, rig.busy.calls);
}

TEST(RadioPage, AControllerThatStopsAnsweringIsNotAsked50TimesMore)
{
    RadioRig rig({{"radio-busy-gets", "60"}});
    const auto record = rig.unanswered;
    rig.unanswered = [&](const sim::Request& r) { return record(r) || rig.Gets("rnie") > 1; };
    rig.model.CheckRadio(rig.link, rig.busy);
    EXPECT_EQ(4, rig.Gets("rnie")) << "the first get, then one get of three tries";
    EXPECT_EQ((std::vector<std::string>{kTransactionErrorText, "Cannot connect to radio."}), rig.notifier.Texts());
}
