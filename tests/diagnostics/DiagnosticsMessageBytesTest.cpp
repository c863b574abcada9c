// The diagnostics reading of every page that polls one, on the wire: the
// six header bytes with the page's item, and the reply laid out as the page
// expects it, with the bytes written out by hand.

#include "MessageBytes.h"
#include "diagnostics/DiagnosticsValues.h"

using namespace halcyra;
using namespace halcyra::test;

namespace {

class DiagnosticsMessageBytes : public ::testing::TestWithParam<MessageCase> {};

TEST_P(DiagnosticsMessageBytes, MatchTheTable) { CheckMessageCase(GetParam()); }

// The page's message as its values make it; the reply's fields as raw, scaled and state.
MessageCase Reading(DiagPage page, std::string request, std::string replyPayload, std::string fields)
{
    const DiagPageRow& row = DiagRow(page);
    std::string reply = "BF" + request.substr(2) + " | " + replyPayload;
    return {row.pageClass,
            [&row] { return std::make_unique<CDiagnosticsMsg>(row.item.value_or(0xEE), row.sources); },
            std::move(request),
            std::move(reply),
            std::move(fields),
            Read<CDiagnosticsMsg>([](const auto& m) { return Values(m.raw, m.scaled, m.state); })};
}

INSTANTIATE_TEST_SUITE_P(
    Pages, DiagnosticsMessageBytes,
    ::testing::Values(
        Reading(DiagPage::EngineSpeed, "BE 4C 00 00 06 04", "41 20 00 00 44 BB 80 00", "10 1500 0"),
        Reading(DiagPage::GearLeverAnalog, "BE 4C 00 00 08 04", "40 20 00 00 03", "2.5 0 3"),
        Reading(DiagPage::GearLeverDigital, "BE 4C 00 00 07 04", "3F 80 00 00 01", "1 0 1"),
        Reading(DiagPage::LeftPumpPressure, "BE 4C 00 00 01 04", "40 20 00 00 42 C8 00 00", "2.5 100 0"),
        Reading(DiagPage::RightPumpPressure, "BE 4C 00 00 02 04", "40 70 00 00 43 7A 00 00", "3.75 250 0"),
        Reading(DiagPage::ManualOverride, "BE 4C 00 00 00 04", "3F 00 00 00 01", "0.5 0 1"),
        Reading(DiagPage::SteeringAngle, "BE 4C 00 00 09 04", "40 20 00 00 C1 44 00 00", "2.5 -12.25 0"),
        Reading(DiagPage::SteeringAngleCan, "BE 4C 00 00 09 04", "3E 00 00 00 41 94 00 00", "0.125 18.5 0"),
        Reading(DiagPage::WheelTransmissionSpeed, "BE 4C 00 00 05 04", "42 36 00 00 40 90 00 00", "45.5 4.5 0"),
        Reading(DiagPage::NeutralSenseDigital, "BE 4C 00 00 15 04", "01", "0 0 1"),
        Reading(DiagPage::OutputBalanceVoltage, "BE 4C 00 00 0B 04", "40 C0 00 00 00", "6 0 0"),
        Reading(DiagPage::SteeringModuleFault, "BE 4C 00 00 0C 04", "05 01", "5 0 1"),
        Reading(DiagPage::VehicleDirectionCan, "BE 4C 00 00 07 04", "BF C0 00 00 03", "-1.5 0 3")),
    CaseName);

// Every page that polls the message has its row above.
TEST(DiagnosticsMessageBytes, EveryPageWithAnItemHasARow)
{
    int withItem = 0;
    for (const DiagPageRow& row : DiagPageRows())
        withItem += row.item.has_value() ? 1 : 0;
    EXPECT_EQ(13, withItem);
}

} // namespace
