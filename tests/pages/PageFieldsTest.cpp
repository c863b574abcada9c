// Field descriptions: the rules that turn values into texts and choices,
// and typed texts back into values.

#include "pages/PageFields.h"

#include <gtest/gtest.h>

using namespace halcyra;

TEST(PageFields, NumbersShowInTheirFormatAndABadFormatFallsBackToG)
{
    float gain = 2.5f;
    EXPECT_EQ("2.50", FieldText(field::Edit("gain", "Gain:", CFieldValue::Number(gain)).Format("%.2f")));
    // A format that would make printf read a text or an integer is not used.
    EXPECT_EQ("2.5", FieldText(field::Edit("gain", "Gain:", CFieldValue::Number(gain)).Format("%s")));
    EXPECT_EQ("2.5", FieldText(field::Edit("gain", "Gain:", CFieldValue::Number(gain)).Format("%d")));
    EXPECT_EQ("2.5", FieldText(field::Edit("gain", "Gain:", CFieldValue::Number(gain)).Format("%f %f")));
    EXPECT_EQ("2.5 %", FieldText(field::Edit("gain", "Gain:", CFieldValue::Number(gain)).Format("%g %%")));
    std::string name = "Fieldora";
    EXPECT_EQ("Fieldora", FieldText(field::ReadOnly("name", "Name:", CFieldValue::Text(name))));
}

TEST(PageFields, TypedNumbersAreRangeCheckedAndRefusedOnesAreNotStored)
{
    float knee = 0.5f;
    FieldSpec f = field::Edit("knee", "Knee:", CFieldValue::Number(knee)).Range(0.1f, 0.3f);
    EXPECT_EQ(std::optional<std::string>("Please enter a number between 0.1 and 0.3."), StoreFieldText(f, "0.35", nullptr));
    EXPECT_EQ(std::optional<std::string>("Please enter a number between 0.1 and 0.3."), StoreFieldText(f, "abc", nullptr));
    EXPECT_EQ(std::optional<std::string>("Please enter a number between 0.1 and 0.3."), StoreFieldText(f, "0.2x", nullptr));
    EXPECT_FLOAT_EQ(0.5f, knee);
    // The ends are allowed, although 0.1f lies just above 0.1.
    EXPECT_EQ(std::nullopt, StoreFieldText(f, "0.1", nullptr));
    EXPECT_FLOAT_EQ(0.1f, knee);
    EXPECT_EQ(std::nullopt, StoreFieldText(f, " 0.3 ", nullptr));
    EXPECT_FLOAT_EQ(0.3f, knee);
}

TEST(PageFields, LengthRangesFollowTheDisplayUnits)
{
    static const LengthRangeTable ranges = {{{100, 500, 1}, {1, 5, 0.01f}, {40, 200, 1}, {3, 16, 0.1f}}};
    CLengthParam spacing("wre");
    FieldSpec f = field::Spin("spacing", "Track spacing:", CFieldValue::Number(spacing), 1).LengthRanges(ranges);
    CUnitsParam units;
    EXPECT_EQ(std::nullopt, FieldRangeNow(f, &units)) << "no units read yet";
    ASSERT_TRUE(units.ApplyUnitIndex(3));
    EXPECT_EQ("ft", FieldUnitText(f, &units));
    EXPECT_DOUBLE_EQ(16, FieldRangeNow(f, &units)->maximum);
    EXPECT_NEAR(0.1, FieldStep(f, &units), 1e-6);
    ASSERT_TRUE(units.ApplyUnitIndex(0));
    EXPECT_EQ("cm", FieldUnitText(f, &units));
    EXPECT_DOUBLE_EQ(100, FieldRangeNow(f, &units)->minimum);
    EXPECT_EQ(std::optional<std::string>("Please enter a number between 100 and 500."), StoreFieldText(f, "50", &units));
}

TEST(PageFields, ChoicesByPositionByDataAndCheckBoxMappings)
{
    CUIntParam receiver("gct");
    receiver.value = 8;
    FieldSpec byData =
        field::ComboData("receiver", "Receiver:", CFieldValue::Number(receiver), {{"None", 0}, {"A", 3}, {"B", 8}});
    EXPECT_EQ(2, FieldChoiceIndex(byData));
    StoreFieldChoice(byData, 1);
    EXPECT_EQ(3u, receiver.value);
    receiver.value = 5;
    EXPECT_EQ(-1, FieldChoiceIndex(byData)) << "a value no entry holds selects none";

    int language = 1;
    FieldSpec byPosition = field::Combo("language", "Language:", CFieldValue::Number(language), {{"English"}, {"Deutsch"}});
    EXPECT_EQ(1, FieldChoiceIndex(byPosition));
    StoreFieldChoice(byPosition, 0);
    EXPECT_EQ(0, language);
    StoreFieldChoice(byPosition, 7);
    EXPECT_EQ(0, language) << "an index past the list changes nothing";

    int direction = 2;
    FieldSpec check = field::Check("reverse", "Reverse", CFieldValue::Number(direction), 2, 5);
    StoreFieldChecked(check, true);
    EXPECT_EQ(5, direction);
    StoreFieldChecked(check, false);
    EXPECT_EQ(2, direction);
    bool allowed = false;
    check.EnabledWhen([&] { return allowed; });
    EXPECT_FALSE(FieldEnabled(check));
    allowed = true;
    EXPECT_TRUE(FieldEnabled(check));
}

TEST(PageFields, AValueIsReadOnlyOnceEveryParameterItFollowsWasGot)
{
    CFloatParam gain("pgr");
    CUIntParam side("swl");
    CStringParam model("vms");
    const FieldSpec bound = field::Edit("gain", "Gain:", CFieldValue::Number(gain));
    const FieldSpec text = field::ReadOnly("model", "Model:", CFieldValue::Text(model));
    const FieldSpec computed = field::ReadOnly(
        "both", "Both:", CFieldValue::Computed([&] { return static_cast<double>(gain.value) + side.value; }).From(gain).From(side));
    std::string plain = "fixed";
    const FieldSpec unbound = field::ReadOnly("plain", "Plain:", CFieldValue::Text(plain));
    EXPECT_FALSE(FieldValueRead(bound));
    EXPECT_FALSE(FieldValueRead(text));
    EXPECT_FALSE(FieldValueRead(computed));
    EXPECT_TRUE(FieldValueRead(unbound)) << "a value of the program's own is never missing";

    ASSERT_TRUE(gain.ParseReply("pgr: 1.500000"));
    ASSERT_TRUE(model.ParseReply("vms: \"Fieldora 8240W\""));
    EXPECT_TRUE(FieldValueRead(bound));
    EXPECT_TRUE(FieldValueRead(text));
    EXPECT_FALSE(FieldValueRead(computed)) << "one of its two parameters is still missing";
    ASSERT_TRUE(side.ParseReply("swl: 1"));
    EXPECT_TRUE(FieldValueRead(computed));
}
