// The rules of the table-of-fields configuration pages, without widgets:
// mappings, conversions, range checks, forced values, lists and what is
// sent when a page is left.

#include "ConfigRig.h"
#include "config/DisplayModel.h"
#include "config/DoroZirivModel.h"
#include "config/GpsModel.h"
#include "config/LightbarModel.h"
#include "config/OperationModel.h"
#include "config/SensorsModel.h"

#include <gtest/gtest.h>

using namespace halcyra;
using namespace halcyra::test;

namespace {

const FieldSpec& Field(const PageFields& fields, const std::string& id)
{
    for (const FieldSpec& f : fields)
        if (f.id == id)
            return f;
    throw std::out_of_range(id);
}

std::vector<std::string> Texts(const std::vector<FieldChoice>& choices)
{
    std::vector<std::string> texts;
    for (const FieldChoice& c : choices)
        texts.push_back(c.text);
    return texts;
}

} // namespace

TEST(DisplayPage, OnlyASavedLanguageRestartsTheController)
{
    ConfigRig rig;
    CPageLogic logic;
    CDisplayModel model(logic);
    logic.FetchAll(rig.link);
    model.units.value = 3;
    EXPECT_FALSE(model.Leave(rig.link)) << "a unit change takes no restart";
    EXPECT_EQ("3", rig.Param("dsu"));

    logic.FetchAll(rig.link);
    model.language.value = 1;
    rig.notifier.answers = {MsgAnswer::No};
    EXPECT_FALSE(model.Leave(rig.link));
    logic.FetchAll(rig.link);
    model.language.value = 1;
    EXPECT_TRUE(model.Leave(rig.link));
    EXPECT_EQ("1", rig.Param("dsl"));
}

TEST(SensorsPage, ADoroZirivSensorIgnoresBothInputs)
{
    ConfigRig rig;
    rig.Set("lso", "0");
    rig.Set("vde", "0");
    CPageLogic logic;
    CSensorsModel model(logic);
    model.BeforeActivation(rig.link);
    EXPECT_FALSE(model.locked);
    EXPECT_EQ(kSensorsExplanation, model.explanation);
    logic.FetchAll(rig.link);
    const PageFields fields = model.Fields();
    EXPECT_DOUBLE_EQ(1, Field(fields, "wheelSpeed").value.GetNumber()) << "0 is an input used: ticked";
    StoreFieldChecked(Field(fields, "gearLever"), false);
    EXPECT_EQ(1u, model.gearLeverIgnored.value);

    rig.Set("sge", "1");
    model.BeforeActivation(rig.link);
    logic.FetchAll(rig.link);
    model.Rules();
    EXPECT_TRUE(model.locked);
    EXPECT_FALSE(FieldEnabled(Field(fields, "wheelSpeed")));
    EXPECT_EQ(kSensorsDoroZirivExplanation, model.explanation);
    logic.OnLeave(rig.link);
    EXPECT_EQ((std::vector<std::string>{"lso: 1", "vde: 1"}), rig.Sets());
}

TEST(SensorsPage, AnSgeThatCannotBeReadLeavesBothBoxesEnabled)
{
    for (const bool refused : {true, false}) {
        ConfigRig rig(refused ? std::initializer_list<std::pair<const char*, const char*>>{{"unknown-params", "sge"}}
                              : std::initializer_list<std::pair<const char*, const char*>>{});
        if (!refused) {
            rig.Set("sge", "1");
            rig.damaged = [](const sim::Request& r) {
                const sim::Bytes p = r.Payload();
                return std::string(p.begin(), p.end()).rfind("sge", 0) == 0;
            };
        }
        CPageLogic logic;
        CSensorsModel model(logic);
        model.locked = true; // as a DoroZiriv sensor seen before left it
        model.BeforeActivation(rig.link);
        EXPECT_FALSE(model.locked) << (refused ? "refused" : "unanswered");
        EXPECT_EQ(kSensorsExplanation, model.explanation);
        const PageFields fields = model.Fields();
        EXPECT_TRUE(FieldEnabled(Field(fields, "wheelSpeed")));
        EXPECT_TRUE(FieldEnabled(Field(fields, "gearLever")));
    }
}

TEST(DoroZirivPage, TheProfileForcesTheSensorAndMarksThePageChanged)
{
    ConfigRig rig;
    rig.Set("gss", "2");
    rig.Set("sge", "0");
    rig.Set("lso", "0");
    CPageLogic logic;
    CDoroZirivModel model(logic);
    logic.FetchAll(rig.link);
    model.ApplyProfileSupport();
    EXPECT_EQ(CDoroZirivModel::kDoroZiriv, model.sensor.value);
    EXPECT_FALSE(model.potentiometerAllowed);
    EXPECT_TRUE(logic.IsPageModified());
    EXPECT_EQ(0u, model.note.find("Caution: Potentiometers are not\r\n"));
    const PageFields fields = model.Fields();
    EXPECT_FALSE(FieldChoiceEnabled(Field(fields, "sensor").choices[0]));
    EXPECT_TRUE(FieldEnabled(Field(fields, "upsideDown")));
    EXPECT_TRUE(FieldEnabled(Field(fields, "wheel"))) << "sws 0.01 is at least 0.009";

    // Declining to save leaves the other inputs alone.
    rig.notifier.answers = {MsgAnswer::No};
    model.Leave(rig.link);
    EXPECT_TRUE(rig.Sets().empty());
    EXPECT_EQ((std::vector<std::string>{"Save Changes?"}), rig.notifier.Texts());

    logic.FetchAll(rig.link);
    model.ApplyProfileSupport();
    rig.notifier.shown.clear();
    model.Leave(rig.link);
    EXPECT_EQ((std::vector<std::string>{"sge: 1", "lso: 1", "vde: 1"}), rig.Sets());
    EXPECT_EQ((std::vector<std::string>{"Save Changes?", kDoroZirivInformation}), rig.notifier.Texts());
    EXPECT_EQ("DoroZiriv Information", rig.notifier.shown[1].caption);

    // A profile without DoroZiriv forces the potentiometer.
    rig.Set("gss", "0");
    logic.FetchAll(rig.link);
    model.ApplyProfileSupport();
    EXPECT_EQ(CDoroZirivModel::kPotentiometer, model.sensor.value);
    EXPECT_FALSE(model.doroZirivAllowed);
    EXPECT_FALSE(FieldEnabled(Field(fields, "wheel")));
}

TEST(OperationPage, EndOfRowDistanceStepsSnapsAndIsRangeChecked)
{
    ConfigRig rig;
    rig.Set("dsu", "3");
    CPageLogic logic;
    COperationModel model(logic);
    logic.FetchAll(rig.link);
    const PageFields fields = model.Fields();
    const FieldSpec& distance = Field(fields, "endOfRow");
    EXPECT_EQ("ft", FieldUnitText(distance, &logic.units));
    // 47 + 30 = 77, snapped to the nearest multiple of 30.
    EXPECT_DOUBLE_EQ(90, SteppedFieldValue(distance, &logic.units, 47, 1));
    EXPECT_DOUBLE_EQ(30, SteppedFieldValue(distance, &logic.units, 30, -1)) << "the minimum stays";
    EXPECT_DOUBLE_EQ(300, SteppedFieldValue(distance, &logic.units, 290, 1));
    EXPECT_EQ(std::optional<std::string>("Please enter a number between 30 and 300."),
              StoreFieldText(distance, "1000", &logic.units));
    EXPECT_EQ(std::nullopt, StoreFieldText(distance, "120", &logic.units));
    logic.OnLeave(rig.link);
    ASSERT_EQ(1u, rig.Sets().size());
    EXPECT_EQ(0u, rig.Sets()[0].find("wre: 36.57")) << "sent in metres";
}

TEST(OperationPage, AnAlertTimeoutOfNoEntryShowsTheFirstAndIsSentAsIt)
{
    ConfigRig rig;
    rig.Set("oss", "420.000000");
    CPageLogic logic;
    COperationModel model(logic);
    logic.FetchAll(rig.link);
    const PageFields fields = model.Fields();
    const FieldSpec& timeout = Field(fields, "alertTimeout");
    EXPECT_EQ((std::vector<std::string>{"3 min", "5 min", "10 min", "15 min"}), Texts(timeout.choices));
    EXPECT_EQ(0, FieldChoiceIndex(timeout));
    model.BeforeLeave();
    EXPECT_TRUE(logic.IsPageModified());
    logic.OnLeave(rig.link);
    EXPECT_EQ((std::vector<std::string>{"oss: 180.000000"}), rig.Sets());

    rig.Set("oss", "600.000000");
    rig.sent.clear();
    rig.notifier.shown.clear();
    logic.FetchAll(rig.link);
    EXPECT_EQ(2, FieldChoiceIndex(timeout));
    model.BeforeLeave();
    logic.OnLeave(rig.link);
    EXPECT_TRUE(rig.notifier.shown.empty()) << "a listed timeout is no change";
}

TEST(LightbarPage, SpacingRangesAndTheLinearEndDistance)
{
    ConfigRig rig;
    CPageLogic logic;
    CLightbarModel model(logic);
    rig.Set("lde", "0.300000");
    logic.FetchAll(rig.link);
    model.Rules();
    EXPECT_FLOAT_EQ(0.5f, model.endDistanceFactor.value);
    const PageFields fields = model.Fields();
    EXPECT_EQ((std::vector<std::string>{"1.70 m (linear)", "1/2 Swath Width"}),
              Texts(FieldChoices(Field(fields, "endDistance"))));
    const FieldSpec& spacing = Field(fields, "ledSpacing");
    // First 0 to 9999, then the row of the display unit.
    EXPECT_EQ(std::optional<std::string>("Please enter a number between 0 and 9999."),
              StoreFieldText(spacing, "10000", &logic.units));
    EXPECT_EQ(std::optional<std::string>("Please enter a number between 0.01 and 0.25."),
              StoreFieldText(spacing, "0.3", &logic.units));
    EXPECT_EQ(std::nullopt, StoreFieldText(spacing, "0.2", &logic.units));
    EXPECT_EQ("3.40 m (linear)", FieldChoices(Field(fields, "endDistance"))[0].text);
}

TEST(LightbarPage, TheLookAheadArrowsStepFromTheTimeShownWithinZeroToFive)
{
    CPageLogic logic;
    CLightbarModel model(logic);
    const PageFields fields = model.Fields();
    const FieldSpec& lookAhead = Field(fields, "lookAhead");
    const struct {
        double shown;
        int steps;
        double expected;
    } cases[] = {{1.5, 1, 2.5}, {1.5, -1, 0.5}, {0.2, 1, 1.2}, {4.5, 1, 5}, {5, 1, 5}, {0.5, -1, 0}, {0, -1, 0}, {3, 2, 5}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(c.expected, SteppedFieldValue(lookAhead, &logic.units, c.shown, c.steps))
            << c.shown << " stepped " << c.steps;
    EXPECT_EQ(std::optional<std::string>("Please enter a number between 0 and 5."),
              StoreFieldText(lookAhead, "5.5", &logic.units));
}

TEST(GpsPage, TheReceiverListHasEveryEntryWithItsCode)
{
    const std::vector<std::pair<std::string, int>> expected = {
        {"Unknown", 0},       {"Fieldora 310", 1}, {"Fieldora 320", 2}, {"Fieldora 330", 3},
        {"Fieldora 340", 4},  {"Fieldora 350", 5}, {"Fieldora 360", 6}, {"NOT USED", 7},
        {"Fieldora 370", 8},  {"Pemlo GPS&Display", 9}, {"Pemlo GPS Only", 10}};
    for (const std::uint32_t receiver : {0u, 1u, 8u}) {
        std::vector<std::pair<std::string, int>> listed;
        for (const FieldChoice& c : ReceiverChoices(receiver, "Own"))
            listed.emplace_back(c.text, c.data);
        EXPECT_EQ(expected, listed) << "grx " << receiver;
    }
    // The receiver's own name stands in for its own entry only.
    EXPECT_EQ((std::vector<std::string>{"Pemlo GPS&Display", "Own"}),
              (std::vector<std::string>{ReceiverChoices(10, "Own").at(9).text, ReceiverChoices(10, "Own").at(10).text}));
}

TEST(GpsPage, CorrectionsFollowTheOptionWordAndTheReceiver)
{
    const auto corrections = [](std::uint32_t word, bool newer, std::uint32_t receiver) {
        return Texts(CorrectionChoices(word, newer, receiver));
    };
    EXPECT_EQ((std::vector<std::string>{"Autonomous", "WAAS", "RTK"}), corrections(0x09, true, 1));
    EXPECT_EQ((std::vector<std::string>{"Autonomous", "Omni VBS", "Omni HP or XP", "Omni (HP or XP)/VBS"}),
              corrections(0x04, false, 5));
    EXPECT_EQ((std::vector<std::string>{"Autonomous", "Omni HP or XP"}), corrections(0x04, true, 5));
    EXPECT_EQ((std::vector<std::string>{"Autonomous", "Beacon", "Omni VBS"}), corrections(0x16, true, 1));
    EXPECT_EQ((std::vector<std::string>{"Autonomous", "Omni VBS", "Omni HP or XP", "Omni (HP or XP)/VBS"}),
              corrections(0x14, true, 8));

    EXPECT_EQ("Pemlo GPS&Display", ReceiverChoices(8, "Own").at(9).text);
    EXPECT_EQ("Own", ReceiverChoices(9, "Own").at(9).text);
    EXPECT_EQ("Pemlo GPS Only", ReceiverChoices(9, "Own").at(10).text);
}

TEST(GpsPage, TheOlderOptionWordAndTheRulesOfAnExchange)
{
    ConfigRig rig({{"unknown-params", "RORcvrConfigOption"}});
    rig.Set("grx", "5");
    rig.Set("RODblRcvrConfigOption", "4");
    rig.Set("gct", "3");
    rig.Set("srl", "1");
    CPageLogic logic;
    CGpsModel model(logic);
    EXPECT_TRUE(logic.FetchAll(rig.link)) << "older receivers lack the newer word: no failure to report";
    model.BuildLists(rig.link);
    EXPECT_FALSE(model.newerOptionWord);
    EXPECT_EQ(4u, model.options);
    const PageFields fields = model.Fields();
    EXPECT_EQ(-1, FieldChoiceIndex(Field(fields, "correction"))) << "Beacon is not offered";

    model.Rules();
    EXPECT_EQ(0u, model.sharedRadio.value) << "no shared radio without RTK";
    EXPECT_FALSE(FieldEnabled(Field(fields, "sharedRadio")));
    EXPECT_FALSE(FieldEnabled(Field(fields, "receiver"))) << "acf 1";
    StoreFieldChecked(Field(fields, "autoConfigure"), false);
    EXPECT_TRUE(FieldEnabled(Field(fields, "receiver")));
    StoreFieldChoice(Field(fields, "correction"), 2); // Omni HP or XP
    EXPECT_EQ(7u, model.correction.value);
    EXPECT_TRUE(FieldEnabled(Field(fields, "hpAutoSeed")));
    model.receiver.value = 6;
    EXPECT_FALSE(FieldEnabled(Field(fields, "receiver")) || FieldEnabled(Field(fields, "correction")));
    logic.OnLeave(rig.link);
    EXPECT_EQ("0", rig.Param("srl"));
}
