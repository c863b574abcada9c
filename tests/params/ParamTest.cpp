// Named typed parameters and parameter sets against a scripted controller.

#include "RecordingNotifier.h"
#include "link/ControllerLink.h"
#include "link/MemoryPort.h"
#include "params/Param.h"
#include "params/ParamSet.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace halcyra {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ParamReplyFrame(std::uint8_t op, const std::string& text)
{
    CMemoryPort out;
    CTxBuffer tx(&out);
    for (std::uint8_t b : {kReplyCode, std::uint8_t{0x40}, std::uint8_t{0x14}, op})
        tx.PushBack(b);
    for (char c : text)
        tx.PushBack(static_cast<std::uint8_t>(c));
    tx.WriteFrame(true, true);
    return out.TakeWritten();
}

// Answers named-parameter requests when the link waits: a get of a name in
// `values` with "name: value", or with the whole text in `replies`; a set
// with "OK". Every request text is recorded.
class ParamTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        link.SetPort(&port);
        port.OnWait([this] { Answer(); });
    }
    void Answer()
    {
        CMemoryPort wire;
        wire.Feed(port.TakeWritten());
        CRxBuffer rx(&wire);
        while (rx.ReadFrame()) {
            rx.ExposeHeader();
            std::uint8_t b = 0, sub = 0, op = 0;
            for (int i = 0; i < 3; ++i)
                rx.PopBack(b);
            rx.PopFront(sub);
            rx.PopFront(op);
            std::string text;
            while (rx.PopFront(b))
                text.push_back(static_cast<char>(b));
            rx.Reset();
            (op == 0 ? gets : sets).push_back(text);
            if (op == 1)
                port.Feed(ParamReplyFrame(1, "OK"));
            else if (replies.count(text))
                port.Feed(ParamReplyFrame(0, replies[text]));
            else if (values.count(text))
                port.Feed(ParamReplyFrame(0, text + ": " + values[text]));
        }
    }

    test::CRecordingNotifier notifier;
    CMemoryPort port;
    CControllerLink link{notifier};
    std::map<std::string, std::string> values;
    std::map<std::string, std::string> replies;
    std::vector<std::string> gets;
    std::vector<std::string> sets;
};

using Texts = std::vector<std::string>;

TEST_F(ParamTest, GetStoresTheValueNamedInTheReply)
{
    CUIntParam vtt("vtt");
    EXPECT_FALSE(vtt.IsRetrieved());
    values["vtt"] = "7";
    ASSERT_TRUE(vtt.Get(link));
    EXPECT_EQ(gets, Texts{"vtt"});
    EXPECT_EQ(vtt.value, 7u);
    EXPECT_EQ(vtt.readValue, 7u);
    EXPECT_TRUE(vtt.IsRetrieved());
}

TEST_F(ParamTest, MalformedReplyFailsSilentlyAndStoresNothing)
{
    // A short name, no separator and no number; each after a good get, which
    // must not leave the parameter counted as retrieved.
    for (const char* reply : {"vt: 3", "vtt:3", "vtt 3", "vtt: x", ""}) {
        CUIntParam vtt("vtt");
        values["vtt"] = "99";
        ASSERT_TRUE(vtt.Get(link));
        replies["vtt"] = reply;
        EXPECT_FALSE(vtt.Get(link)) << reply;
        EXPECT_EQ(vtt.value, 99u) << reply;
        EXPECT_FALSE(vtt.IsRetrieved()) << reply;
        EXPECT_FALSE(vtt.IsModified()) << reply;
        replies.clear();
    }
    EXPECT_TRUE(notifier.shown.empty());
}

TEST_F(ParamTest, LateAnswersToEarlierGetsArePassedOverAndOtherNamesFailAtOnce)
{
    // Answers to gets that gave up wait in the port: the next get takes its
    // own answer within its first try, and every later get stays in step.
    values = {{"vtt", "7"}, {"gct", "2"}};
    link.UnansweredGets().Sent("gct");
    link.UnansweredGets().Sent("vttx");
    port.Feed(ParamReplyFrame(0, "gct: 3"));
    port.Feed(ParamReplyFrame(0, "vttx: 3"));
    CUIntParam vtt("vtt");
    CUIntParam gct("gct");
    ASSERT_TRUE(vtt.Get(link));
    EXPECT_EQ(vtt.value, 7u);
    ASSERT_TRUE(gct.Get(link));
    EXPECT_EQ(gct.value, 2u);
    EXPECT_EQ(gets, (Texts{"vtt", "gct"}));

    // A controller that answers a name it does not know with a text of its
    // own: the get fails at once, in one try and without a box.
    replies["abc"] = "ERR: no such parameter";
    CUIntParam abc("abc");
    EXPECT_FALSE(abc.Get(link));
    EXPECT_FALSE(abc.IsRetrieved());
    EXPECT_EQ(gets, (Texts{"vtt", "gct", "abc"}));
    EXPECT_TRUE(notifier.shown.empty());
}

TEST(ParamFloat, ModifiedOnlyOutsideABandAroundTheValueRead)
{
    CFloatParam f("gct");
    auto modifiedAt = [&f](float v) {
        f.value = v;
        return f.IsModified();
    };
    EXPECT_FALSE(modifiedAt(5.0f)); // never retrieved

    ASSERT_TRUE(f.ParseReply("gct: 10.0"));
    for (float v : {10.005f, 9.995f, 10.0f})
        EXPECT_FALSE(modifiedAt(v)) << v;
    for (float v : {10.02f, 9.98f, -10.0f})
        EXPECT_TRUE(modifiedAt(v)) << v;

    ASSERT_TRUE(f.ParseReply("gct: -10.000000"));
    for (float v : {-10.005f, -9.995f})
        EXPECT_FALSE(modifiedAt(v)) << v;
    for (float v : {-10.02f, -9.98f, 10.0f})
        EXPECT_TRUE(modifiedAt(v)) << v;

    ASSERT_TRUE(f.ParseReply("gct: 0"));
    EXPECT_FALSE(modifiedAt(0.0f));
    for (float v : {0.0001f, -0.0001f})
        EXPECT_TRUE(modifiedAt(v)) << v;
}

TEST_F(ParamTest, IntegerWidthsOnTheWire)
{
    // A short of -1 goes out as the 32-bit pattern and reads back as -1.
    CShortParam sht("sht");
    sht.value = -1;
    ASSERT_TRUE(sht.Set(link));
    ASSERT_TRUE(sht.ParseReply("sht: 4294967295"));
    EXPECT_EQ(sht.value, -1);
    ASSERT_TRUE(sht.ParseReply("sht: 65534"));
    EXPECT_EQ(sht.value, -2);

    // A byte sends its low 8 bits but is modified by all 32.
    CByteParam byt("byt");
    ASSERT_TRUE(byt.ParseReply("byt: 44"));
    byt.value = 300;
    EXPECT_TRUE(byt.IsModified());
    ASSERT_TRUE(byt.Set(link));

    CUIntParam uin("uin");
    uin.value = 4000000000u;
    ASSERT_TRUE(uin.Set(link));
    EXPECT_EQ(sets, (Texts{"sht: 4294967295", "byt: 44", "uin: 4000000000"}));
}

TEST_F(ParamTest, StringsAreQuotedAndBounded)
{
    CStringParam vms("vms");
    ASSERT_TRUE(vms.ParseReply("vms: \"Tractor 7\" trailing"));
    EXPECT_EQ(vms.value, "Tractor 7");
    for (const char* bad : {"vms: \"Tractor 7", "vms: Tractor", "vms: "}) {
        vms.value = vms.readValue = "old";
        EXPECT_FALSE(vms.ParseReply(bad)) << bad;
        EXPECT_EQ(vms.value, "");
        EXPECT_EQ(vms.readValue, "");
    }

    // "vms: " and the quotes leave room for 220 characters of value.
    vms.value = std::string(220, 'a');
    ASSERT_TRUE(vms.Set(link));
    EXPECT_EQ(sets, Texts{"vms: \"" + std::string(220, 'a') + "\""});
    EXPECT_TRUE(notifier.shown.empty());

    vms.value = std::string(221, 'a');
    EXPECT_FALSE(vms.Set(link));
    EXPECT_EQ(sets.size(), 1u);
    EXPECT_TRUE(port.Written().empty());
    ASSERT_EQ(notifier.shown.size(), 1u);
    EXPECT_EQ(notifier.shown[0].caption, "Error");
}

TEST_F(ParamTest, ValueLessParameterOnlySetsItsName)
{
    CParam trigger("DZSwpCmd");
    EXPECT_EQ(trigger.ToText(), "");
    EXPECT_FALSE(trigger.FromText("1"));
    ASSERT_TRUE(trigger.Set(link));
    EXPECT_EQ(sets, Texts{"DZSwpCmd: "});
    EXPECT_TRUE(trigger.IsRetrieved());
    EXPECT_FALSE(trigger.IsModified());
}

TEST_F(ParamTest, UnitsTableAndUnknownUnits)
{
    struct Row {
        const char* value;
        const char* name;
        float factor;
    };
    for (const Row& r : {Row{"0", "cm", 100.0f}, Row{"1", "m", 1.0f}, Row{"2", "in", 39.370079f},
                         Row{"3", "ft", 3.2808399f}}) {
        CUnitsParam dsu;
        values["dsu"] = r.value;
        ASSERT_TRUE(dsu.Get(link)) << r.value;
        EXPECT_EQ(dsu.UnitName(), r.name);
        EXPECT_FLOAT_EQ(dsu.Factor(), r.factor);
        EXPECT_EQ(dsu.UnitIndex(), static_cast<std::uint8_t>(r.value[0] - '0'));
    }
    // The unit index is the value's low eight bits.
    for (const char* highByteSet : {"257", "4354"}) {
        CUnitsParam dsu;
        values["dsu"] = highByteSet;
        ASSERT_TRUE(dsu.Get(link)) << highByteSet;
        EXPECT_EQ(dsu.UnitIndex(), highByteSet[0] == '2' ? 1 : 2);
        EXPECT_EQ(dsu.value, static_cast<std::uint32_t>(std::stoul(highByteSet)));
    }
    for (const char* unknown : {"4", "255", "260"}) {
        CUnitsParam dsu;
        values["dsu"] = unknown;
        EXPECT_FALSE(dsu.Get(link)) << unknown;
        EXPECT_FALSE(dsu.HasFactor());
        EXPECT_FALSE(dsu.IsRetrieved());
    }
    EXPECT_EQ(CUnitsParam().Name(), "dsu");
}

TEST_F(ParamTest, LengthsAreShownInDisplayUnitsAndSentInMetres)
{
    CLengthParam len("len");
    len.value = 1.0f;
    EXPECT_FALSE(len.Set(link)); // no display unit read yet
    ASSERT_EQ(notifier.shown.size(), 1u);
    EXPECT_EQ(notifier.shown[0].caption, "Error");
    EXPECT_TRUE(port.Written().empty());

    values["len"] = "2.5";
    values["dsu"] = "0";
    ASSERT_TRUE(len.Get(link));
    EXPECT_EQ(gets, (Texts{"len", "dsu"}));
    EXPECT_FLOAT_EQ(len.value, 250.0f);
    EXPECT_FLOAT_EQ(len.readValue, 250.0f);
    EXPECT_FALSE(len.IsModified());
    len.value = 300.0f;
    EXPECT_TRUE(len.IsModified());
    ASSERT_TRUE(len.Set(link));
    EXPECT_EQ(sets, Texts{"len: 3.000000"});
    EXPECT_FLOAT_EQ(len.value, 3.0f);

    values["dsu"] = "2";
    ASSERT_TRUE(len.Get(link));
    EXPECT_NEAR(len.value, 98.425f, 0.001f);

    // A failed display-unit get leaves metres that must never be saved.
    values["dsu"] = "9";
    EXPECT_FALSE(len.Get(link));
    EXPECT_FLOAT_EQ(len.value, 2.5f);
    len.value = 7.0f;
    EXPECT_FALSE(len.IsModified());
}

TEST_F(ParamTest, RangedLengthIsSteppedAndClampedAfterGet)
{
    EXPECT_FLOAT_EQ(CRangedLengthParam::Stepped(2.25f, 0.5f), 2.5f);
    EXPECT_FLOAT_EQ(CRangedLengthParam::Stepped(-2.25f, 0.5f), -2.5f);
    EXPECT_FLOAT_EQ(CRangedLengthParam::Stepped(2.2f, 0.5f), 2.0f);
    EXPECT_FLOAT_EQ(CRangedLengthParam::Stepped(-2.2f, 0.5f), -2.0f);

    const LengthRangeTable table = {LengthRange{10.0f, 502.0f, 5.0f}, LengthRange{-1.0f, 1.0f, 0.25f},
                                    LengthRange{0.0f, 100.0f, 1.0f}, LengthRange{0.0f, 10.0f, 0.5f}};
    struct Case {
        const char* metres;
        const char* units;
        float expected;
        bool moved;
    };
    for (const Case& c : {Case{"2.53", "0", 255.0f, true}, Case{"7", "0", 500.0f, true},
                          Case{"0.02", "0", 10.0f, true}, Case{"-0.375", "1", -0.5f, true},
                          Case{"-3", "1", -1.0f, true}, Case{"2", "1", 1.0f, true}, Case{"0.5", "1", 0.5f, false}}) {
        CRangedLengthParam p("rng");
        p.SetRange(&table);
        values["rng"] = c.metres;
        values["dsu"] = c.units;
        ASSERT_TRUE(p.Get(link)) << c.metres;
        EXPECT_FLOAT_EQ(p.value, c.expected) << c.metres;
        // The read value stays as received, so a moved value will be saved.
        EXPECT_EQ(p.IsModified(), c.moved) << c.metres;
    }

    CRangedLengthParam unbounded("rng");
    values["rng"] = "7";
    values["dsu"] = "0";
    ASSERT_TRUE(unbounded.Get(link));
    EXPECT_FLOAT_EQ(unbounded.value, 700.0f);
}

TEST_F(ParamTest, SetsGetAllAndSaveOnlyWhatChanged)
{
    CParamSet set;
    CStringParam ccc("ccc", &set);
    CUIntParam aaa("aaa", &set);
    CUIntParam bbb("bbb", &set);
    ASSERT_EQ(set.Size(), 3u);

    // A failed get, first or last, does not stop the others.
    values = {{"aaa", "1"}, {"bbb", "x"}, {"ccc", "c"}};
    EXPECT_FALSE(set.GetAll(link));
    EXPECT_EQ(gets, (Texts{"ccc", "aaa", "bbb"}));
    EXPECT_EQ(aaa.value, 1u);
    EXPECT_FALSE(ccc.IsRetrieved());
    values["ccc"] = "\"c\"";
    EXPECT_FALSE(set.GetAll(link));
    EXPECT_EQ(ccc.value, "c");

    // The parameter whose get failed is never sent, however it is changed.
    bbb.value = 5;
    EXPECT_FALSE(set.AnyModified());
    EXPECT_TRUE(set.SetModified(link));
    EXPECT_TRUE(sets.empty());

    values["bbb"] = "2";
    ASSERT_TRUE(set.GetAll(link));
    EXPECT_EQ(gets.size(), 9u);
    bbb.value = 9;
    EXPECT_TRUE(set.AnyModified());
    ASSERT_TRUE(set.SetModified(link));
    EXPECT_EQ(sets, Texts{"bbb: 9"});

    // A refused set does not stop the others.
    sets.clear();
    ccc.value = std::string(300, 'z');
    aaa.value = 4;
    EXPECT_FALSE(set.SetModified(link));
    EXPECT_EQ(sets, (Texts{"aaa: 4", "bbb: 9"}));
}

} // namespace
} // namespace halcyra

namespace halcyra {
namespace {

TEST(ParamSetText, RefusesAnEmptyNameAndControlCharacters)
{
    EXPECT_FALSE(CheckSetText("vms", "\"Tractor 7\"").has_value());
    EXPECT_FALSE(CheckSetText("DZSwpCmd", "").has_value());
    EXPECT_FALSE(CheckSetText("vms", "\"Tr\xC3\xA4ktor\"").has_value()); // UTF-8 is text
    for (const auto& [name, value] : std::vector<std::pair<std::string, std::string>>{
             {"", "5"},
             {"ei11", "5\r\nvms: \"Injected\""},
             {"ei11", "5\n"},
             {"ei11", std::string("5\0", 2)},
             {"ei11", "a\tb"},
             {"ei11", "\x7F"},
             {"ei\r11", "5"}}) {
        const auto problem = CheckSetText(name, value);
        ASSERT_TRUE(problem.has_value()) << ::testing::PrintToString(value);
    }
    EXPECT_EQ(*CheckSetText("ei11", "5\r\nvms"), "The value of ei11 holds a control character (CR at character 2)");
}

} // namespace
} // namespace halcyra
