// A diagnostics page's values: the request it sends, its reply decoded from
// bytes, its state texts, and what it shows when a poll fails.

#include "diagnostics/DiagController.h"
#include "diagnostics/DiagnosticsValues.h"
#include "params/ParamSet.h"

#include <gtest/gtest.h>

using namespace halcyra;
using namespace halcyra::test;

namespace {

sim::Bytes B(std::initializer_list<std::uint8_t> bytes) { return bytes; }
sim::Bytes F(float value) { return FloatBytes(value); }

// One poll of the page against a reply carrying payload.
std::string ShownAfterReply(DiagPage page, const sim::Bytes& payload)
{
    DiagController c;
    c.payload = payload;
    CDiagPageValues values(DiagRow(page));
    values.transact = {.timeoutMs = 50, .tries = 1};
    values.Refresh(c.link);
    return values.LineText();
}

// A parameter page polled against scripted answers ("name: value" each).
std::string ShownAfterAnswers(DiagPage page, std::map<std::string, std::string> answers)
{
    DiagController c;
    c.answers = std::move(answers);
    CDiagPageValues values(DiagRow(page));
    values.Refresh(c.link);
    return values.LineText();
}

} // namespace

TEST(DiagnosticsValues, AReadingAsksForTheItemWithTheSixByteHeaderAndNoPayload)
{
    DiagController c;
    CDiagPageValues values(DiagRow(DiagPage::NeutralSenseDigital));
    ASSERT_TRUE(values.Refresh(c.link));
    ASSERT_EQ(1u, c.readings.size());
    EXPECT_EQ(kRequestCode, c.readings[0].packetCode);
    EXPECT_EQ(0x4C, c.readings[0].messageId);
    EXPECT_EQ((sim::Bytes{0x00, 0x00, 21, 0x04}), c.readings[0].body);
}

TEST(DiagnosticsValues, EveryMessagePageDecodesItsPayload)
{
    struct Case {
        DiagPage page;
        sim::Bytes payload;
        const char* shown;
    };
    const Case cases[] = {
        {DiagPage::EngineSpeed, F(123.5f) + F(1852.5f), "Raw: 123.5\tScaled: 1852.5"},
        {DiagPage::GearLeverAnalog, F(4.02f) + B({1}), "State: Forward\tRaw: 4.02"},
        {DiagPage::GearLeverAnalog, F(2.5f) + B({2}), "State: Neutral\tRaw: 2.5"},
        {DiagPage::GearLeverDigital, F(3) + B({3}), "State: Reverse\tRaw: 3"},
        {DiagPage::GearLeverDigital, F(0) + B({0}), "State: Neutral\tRaw: 0"},
        {DiagPage::LeftPumpPressure, F(0.75f) + F(187.5f), "Raw: 0.75\tScaled: 187.5"},
        {DiagPage::RightPumpPressure, F(4.5f) + F(3000), "Raw: 4.5\tScaled: 3000"},
        {DiagPage::ManualOverride, F(0.6f) + B({0}), "State: Not Active\tRaw: 0.6"},
        {DiagPage::ManualOverride, F(3.2f) + B({1}), "State: Active\tRaw: 3.2"},
        {DiagPage::ManualOverride, F(9) + B({2}), "State: Unknown\tRaw: 9"},
        {DiagPage::SteeringAngle, F(2.51f) + F(12.3f), "Raw: 2.51\tScaled: 12.3"},
        {DiagPage::SteeringAngle, F(-0.0001234567f) + F(-31.25f), "Raw: -0.000123457\tScaled: -31.25"},
        {DiagPage::SteeringAngleCan, F(0.0123f) + F(-2), "Raw: 0.0123\tScaled: -2"},
        {DiagPage::WheelTransmissionSpeed, F(35.75f) + F(2.5f), "Raw: 35.75\tScaled: 2.5"},
        {DiagPage::NeutralSenseDigital, B({0}), "State: In Neutral\tRaw: 0"},
        {DiagPage::NeutralSenseDigital, B({200}), "State: Not In Neutral\tRaw: 200"},
        {DiagPage::OutputBalanceVoltage, F(0.8f) + B({0}), "State: Out Of Balance\tRaw: 0.8"},
        {DiagPage::OutputBalanceVoltage, F(0.01f) + B({2}), "State: OK\tRaw: 0.01"},
        {DiagPage::SteeringModuleFault, B({7, 0}), "State: OK\tRaw: 7"},
        {DiagPage::SteeringModuleFault, B({1, 255}), "State: Fault Detected\tRaw: 1"},
        {DiagPage::VehicleDirectionCan, F(5) + B({1}), "State: Forward"},
        {DiagPage::VehicleDirectionCan, F(5) + B({2}), "State: Stopped"},
        {DiagPage::VehicleDirectionCan, F(5) + B({3}), "State: Reverse"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.shown, ShownAfterReply(c.page, c.payload)) << DiagRow(c.page).title;
}

TEST(DiagnosticsValues, AReplyOfAnotherLengthIsNoReading)
{
    // Five bytes, as a state page's reply, to a page that expects two floats.
    EXPECT_EQ("Raw: 0\tScaled: 0", ShownAfterReply(DiagPage::SteeringAngle, F(2.5f) + B({1})));
    EXPECT_EQ("State: Unknown\tRaw: 0", ShownAfterReply(DiagPage::NeutralSenseDigital, B({0, 0})));
}

TEST(DiagnosticsValues, AFailedPollShowsZeroAndUnknownNotTheLastReading)
{
    DiagController c;
    c.payload = F(1.5f) + B({1});
    CDiagPageValues values(DiagRow(DiagPage::GearLeverAnalog));
    values.transact = {.timeoutMs = 30, .tries = 1};
    EXPECT_EQ("State: Unknown\tRaw: 0", values.LineText()) << "before the first poll";
    ASSERT_TRUE(values.Refresh(c.link));
    EXPECT_EQ("State: Forward\tRaw: 1.5", values.LineText());
    EXPECT_TRUE(values.PlotValue(DiagQuantity::Raw).has_value());

    c.pulled = true;
    EXPECT_FALSE(values.Refresh(c.link));
    EXPECT_EQ("State: Unknown\tRaw: 0", values.LineText());
    EXPECT_FALSE(values.PlotValue(DiagQuantity::Raw).has_value()) << "a gap in the trend, not a zero";
}

TEST(DiagnosticsValues, ParameterPagesDecodeTheirParameters)
{
    EXPECT_EQ("State: Active\tRaw: 12.1",
              ShownAfterAnswers(DiagPage::OperatorPresentSwitch, {{"RODiagOpsSwitchRaw", "RODiagOpsSwitchRaw: 12.100000"},
                                                                 {"RODiagOpsSwitchScaled", "RODiagOpsSwitchScaled: 1"}}));
    EXPECT_EQ("State: Not Active\tRaw: 0.02",
              ShownAfterAnswers(DiagPage::RemoteEngageSwitch,
                                {{"RODiagRemoteEngageSwitchScaled", "RODiagRemoteEngageSwitchScaled: 2"},
                                 {"RODiagRemoteEngageSwitchRaw", "RODiagRemoteEngageSwitchRaw: 0.020000"}}));
    const std::pair<const char*, const char*> directions[] = {
        {"0", "Unknown"}, {"1", "Forward"}, {"2", "Stopped"}, {"3", "Reverse"}, {"4", "Unknown"}};
    for (const auto& [value, text] : directions)
        EXPECT_EQ(std::string("State: ") + text,
                  ShownAfterAnswers(DiagPage::VehicleDirection, {{"ROVehDirection", std::string("ROVehDirection: ") + value}}));
}

TEST(DiagnosticsValues, AParameterPageWhoseReadFailsShowsUnknownNotTheLastValue)
{
    DiagController c;
    c.answers = {{"RODiagOpsSwitchRaw", "RODiagOpsSwitchRaw: 12.100000"},
                 {"RODiagOpsSwitchScaled", "RODiagOpsSwitchScaled: 1"}};
    CParamSet pageParams;
    CDiagPageValues values(DiagRow(DiagPage::OperatorPresentSwitch), &pageParams);
    EXPECT_EQ(2u, pageParams.Size()) << "the page's activation reads them too";
    ASSERT_TRUE(values.Refresh(c.link));
    EXPECT_EQ("State: Active\tRaw: 12.1", values.LineText());

    c.answers["RODiagOpsSwitchScaled"] = "RODiagOpsSwitchScaled? unknown parameter";
    EXPECT_FALSE(values.Refresh(c.link));
    EXPECT_EQ("State: Unknown\tRaw: 0", values.LineText());
    EXPECT_FALSE(values.PlotValue(DiagQuantity::State).has_value());
}

TEST(DiagnosticsValues, AStateIsPlottedAtItsLevelAmongThePagesStates)
{
    // Reverse, Neutral, Forward from the bottom; any unnamed value is Neutral.
    const std::pair<std::uint8_t, double> levels[] = {{3, 0}, {2, 1}, {0, 1}, {1, 2}};
    for (const auto& [state, level] : levels) {
        DiagController c;
        c.payload = F(2.5f) + B({state});
        CDiagPageValues values(DiagRow(DiagPage::GearLeverAnalog));
        ASSERT_TRUE(values.Refresh(c.link));
        EXPECT_EQ(level, values.PlotValue(DiagQuantity::State)) << "state " << int{state};
    }
}

TEST(DiagnosticsValues, EveryMessagePageReadsItsItemFromTheSimulatedController)
{
    DiagController c;
    for (const DiagPageRow& row : DiagPageRows()) {
        CDiagPageValues values(row);
        EXPECT_TRUE(values.Refresh(c.link)) << row.title;
        EXPECT_TRUE(values.HasReading()) << row.title;
    }
    EXPECT_TRUE(c.notifier.shown.empty());
}
