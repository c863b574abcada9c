// The calibration tests' messages on the wire, with the bytes written out by
// hand: the steering sensor, the gain test, the pump knees and responses,
// the track steering and the manual override.

#include "MessageBytes.h"
#include "calibration/CalibrationMessages.h"
#include "link/MessageIds.h"

using namespace halcyra;
using namespace halcyra::test;
using namespace halcyra::wire::calibration;

namespace {

class CalibrationMessageBytes : public ::testing::TestWithParam<MessageCase> {};

TEST_P(CalibrationMessageBytes, MatchTheTable) { CheckMessageCase(GetParam()); }

// A command without payloads either way, sent as the calibrations send it.
MessageCase Command(std::string name, std::uint8_t sub, std::uint8_t op, std::string bytes, bool answered = true)
{
    std::string reply = answered ? "BF" + bytes.substr(2) : "";
    return {std::move(name), Make<CCalCommandMsg>(sub, op), std::move(bytes), std::move(reply)};
}

MessageCase SensorCommand(std::string name, std::uint8_t command, std::string bytes)
{
    return {std::move(name),   Make<CSensorCalCommandMsg>(command),
            std::move(bytes),  "BF 4A 0B 01 | 01",
            "1",               Read<CSensorCalCommandMsg>([](const auto& m) { return Values(m.status); })};
}

MessageCase GainCommand(std::string name, std::uint8_t op, std::string bytes)
{
    std::string reply = "BF" + bytes.substr(2);
    return {std::move(name), Make<CGainTestCommandMsg>(op), std::move(bytes), std::move(reply)};
}

INSTANTIATE_TEST_SUITE_P(
    SteeringSensor, CalibrationMessageBytes,
    ::testing::Values(
        MessageCase{"Reading", Make<CSensorReadingMsg>(), "BF 4A 0B 00", "BF 4A 0B 00 | 40 20 00 00 C1 44 00 00",
                    "2.5 -12.25", Read<CSensorReadingMsg>([](const auto& m) { return Values(m.voltage, m.angle); })},
        SensorCommand("RecordFullLeft", kRecordFullLeft, "BF 4A 0B 01 | 00"),
        SensorCommand("RecordFullRight", kRecordFullRight, "BF 4A 0B 01 | 01"),
        SensorCommand("RecordStraight", kRecordStraight, "BF 4A 0B 01 | 02"),
        SensorCommand("StorePoints", kStoreSensorPoints, "BF 4A 0B 01 | 03")),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    GainTest, CalibrationMessageBytes,
    ::testing::Values(
        MessageCase{"Status", Make<CGainTestStatusMsg>(), "BE 4A 0C 00",
                    "BF 4A 0C 00 | 41 48 00 00 3F 80 00 00 40 20 00 00 3F 00 00 00 3E 80 00 00 43 7A 00 00 40 F0 00 00",
                    "12.5 1 2.5 0.5 0.25 250 7.5 | 12.5 250 7.5",
                    Read<CGainTestStatusMsg>([](const auto& m) {
                        const auto& v = m.values;
                        return Values(v[0], v[1], v[2], v[3], v[4], v[5], v[6]) + " | " +
                               Values(m.Gain(), m.SlewMs(), m.OvershootPercent());
                    })},
        MessageCase{"Setup", Make<CGainTestSetupMsg>(12.5f, 1.0f, 2.5f),
                    "BE 4A 0C 01 | 41 48 00 00 3F 80 00 00 40 20 00 00", "BF 4A 0C 01"},
        GainCommand("Begin", kGainBeginOp, "BE 4A 0C 02"), GainCommand("End", kGainEndOp, "BE 4A 0C 03"),
        GainCommand("TurnLeft", kTurnLeftOp, "BE 4A 0C 05"), GainCommand("TurnRight", kTurnRightOp, "BE 4A 0C 06"),
        MessageCase{"TurnState", Make<CTurnStateMsg>(), "BE 4A 0C 08", "BF 4A 0C 08 | 02", "2",
                    Read<CTurnStateMsg>([](const auto& m) { return Values(m.state); })}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    PumpKnee, CalibrationMessageBytes,
    ::testing::Values(
        Command("Begin", kPumpKneeSub, kKneeBeginOp, "BE 4A 08 00"),
        Command("End", kPumpKneeSub, kKneeEndOp, "BE 4A 08 01"),
        Command("GyroBias", kPumpKneeSub, kKneeGyroBiasOp, "BE 4A 08 0B"),
        MessageCase{"SetKneesLeftThenRight", Make<CKneeSetMsg>(3.75f, -0.75f),
                    "BE 4A 08 0C | 40 70 00 00 BF 40 00 00", "BF 4A 08 0C"},
        MessageCase{"Status", Make<CKneeStatusMsg>(), "BE 4A 08 0D",
                    "BF 4A 08 0D | 08 3F 80 00 00 40 90 00 00 40 C0 00 00", "8 4.5",
                    Read<CKneeStatusMsg>([](const auto& m) { return Values(m.state, m.turnRate); })},
        Command("TurnRight", kPumpKneeSub, kKneeTurnRightOp, "BE 4A 08 0E"),
        Command("TurnLeft", kPumpKneeSub, kKneeTurnLeftOp, "BE 4A 08 0F")),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    PumpResponse, CalibrationMessageBytes,
    ::testing::Values(
        Command("Begin", kPumpResponseSub, kResponseBeginOp, "BE 4A 07 00"),
        Command("End", kPumpResponseSub, kResponseEndOp, "BE 4A 07 01"),
        MessageCase{"SetGainsRightThenLeft", Make<CResponseGainsMsg>(1.5f, 0.75f),
                    "BE 4A 07 02 | 3F C0 00 00 3F 40 00 00", "BF 4A 07 02 | 00*8"},
        Command("Test", kPumpResponseSub, kResponseTestOp, "BE 4A 07 04"),
        MessageCase{"Status", Make<CResponseStatusMsg>(), "BE 4A 07 05",
                    "BF 4A 07 05 | 02 | 00 00 00 FA 41 94 00 00 3F 80 00 00 | 00 00 01 2C 41 A0 00 00 3F 80 00 00",
                    "2 250 18.5 300 20", Read<CResponseStatusMsg>([](const auto& m) {
                        return Values(m.state, m.rightRiseMs, m.rightOvershoot, m.leftRiseMs, m.leftOvershoot);
                    })}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    TrackSteering, CalibrationMessageBytes,
    ::testing::Values(
        Command("Begin", kTrackSteeringSub, kTrackBeginOp, "BE 4A 06 00", false),
        Command("End", kTrackSteeringSub, kTrackEndOp, "BE 4A 06 01", false),
        MessageCase{"SetBias", Make<CTrackBiasMsg>(-1.5f), "BE 4A 06 02 | BF C0 00 00", "BF 4A 06 02 | 3F 00 00 00",
                    "0.5", Read<CTrackBiasMsg>([](const auto& m) { return Values(m.taken); })},
        Command("TurnRight", kTrackSteeringSub, kTrackTurnRightOp, "BE 4A 06 04"),
        Command("TurnLeft", kTrackSteeringSub, kTrackTurnLeftOp, "BE 4A 06 05"),
        MessageCase{"Status", Make<CTrackStatusMsg>(), "BE 4A 06 06",
                    "BF 4A 06 06 | 03 | 3F 00 00 00 44 BB 80 00 40 70 00 00 C0 00 00 00 3E 80 00 00 3E 00 00 00 "
                    "BF 40 00 00",
                    "3 0.5 1500 3.75 2 -0.75", Read<CTrackStatusMsg>([](const auto& m) {
                        return Values(m.state, m.Balance(), m.EngineRpm(), m.RightTurnRate(), m.LeftTurnRate(),
                                      m.CurrentBias());
                    })},
        Command("GyroBias", kTrackSteeringSub, kTrackGyroBiasOp, "BE 4A 06 07", false),
        Command("JDBiasTest", kTrackSteeringSub, kTrackJDBiasTestOp, "BE 4A 06 08", false),
        Command("MTBiasTest", kTrackSteeringSub, kTrackMTBiasTestOp, "BE 4A 06 09", false),
        Command("MTSpacingTest", kTrackSteeringSub, kTrackSpacingTestOp, "BE 4A 06 0A", false),
        MessageCase{"TurnRateLimits", Make<CTurnRateLimitsMsg>(), "BE 4A 06 0B",
                    "BF 4A 06 0B | C0 00 00 00 40 00 00 00 C1 A0 00 00 41 A0 00 00", "-2 2 -20 20",
                    Read<CTurnRateLimitsMsg>(
                        [](const auto& m) { return Values(m.low, m.high, m.barMinimum, m.barMaximum); })}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    ManualOverride, CalibrationMessageBytes,
    ::testing::Values(
        Command("Begin", kOverrideSub, kOverrideBeginOp, "BE 4A 0A 00"),
        Command("End", kOverrideSub, kOverrideEndOp, "BE 4A 0A 01"),
        Command("Run", kOverrideSub, kOverrideRunOp, "BE 4A 0A 02"),
        MessageCase{"Status", Make<COverrideStatusMsg>(), "BE 4A 0A 04",
                    "BF 4A 0A 04 | 3F 00 00 00 BF 00 00 00 00 00 00 03", "0.5 -0.5 3",
                    Read<COverrideStatusMsg>([](const auto& m) { return Values(m.savedBias, m.testBias, m.state); })}),
    CaseName);

} // namespace
