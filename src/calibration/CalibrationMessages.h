#pragma once
// The calibration tests' own messages (message 0x4A): the steering angle
// sensor, the steering gain test, the pump knees and responses, the electric
// track steering and the manual override test.

#include "link/ControllerMsg.h"

#include <array>
#include <cstdint>

namespace halcyra {

// Sub-code 0x0B, operation 0: the sensor's voltage and angle. Sent with
// packet code 0xBF, as the controller expects of sensor messages.
class CSensorReadingMsg final : public CControllerMsg {
public:
    CSensorReadingMsg();
    bool DecodePayload(CRxBuffer& rx) override;

    float voltage = 0; // volts
    float angle = 0;   // degrees
};

// Sub-code 0x0B, operation 1: records a sensor point (or stores them all);
// status 1 is an accepted point. Also sent with packet code 0xBF.
class CSensorCalCommandMsg final : public CControllerMsg {
public:
    explicit CSensorCalCommandMsg(std::uint8_t command);
    void EncodePayload(CTxBuffer& tx) const override;
    bool DecodePayload(CRxBuffer& rx) override;

    std::uint8_t command;
    std::uint8_t status = 0;
};

// Sub-code 0x0C, operation 0: the gain test's status, seven floats: the
// current gain, two loop values a test setup echoes back, two unused, the
// slew time (ms) and the overshoot (%) of the last test turn.
class CGainTestStatusMsg final : public CControllerMsg {
public:
    CGainTestStatusMsg();
    bool DecodePayload(CRxBuffer& rx) override;

    float Gain() const { return values[0]; }
    float SlewMs() const { return values[5]; }
    float OvershootPercent() const { return values[6]; }
    std::array<float, 7> values{};
};

// Sub-code 0x0C, operation 1: the gain for the next test turn, with the two
// loop values of the status.
class CGainTestSetupMsg final : public CControllerMsg {
public:
    CGainTestSetupMsg(float gain, float loopValue2, float loopValue3);
    void EncodePayload(CTxBuffer& tx) const override;

    float values[3];
};

// A calibration command without payloads either way: begin and end a test,
// turn left or right, start a measurement (the sub-code and operation say which).
class CCalCommandMsg : public CControllerMsg {
public:
    CCalCommandMsg(std::uint8_t subCode, std::uint8_t operation);
};

// Sub-code 0x0C: begin and end the gain test, turn left, turn right.
class CGainTestCommandMsg final : public CCalCommandMsg {
public:
    explicit CGainTestCommandMsg(std::uint8_t operation);
};

// Sub-code 0x0C, operation 8: the state of the test turn.
class CTurnStateMsg final : public CControllerMsg {
public:
    CTurnStateMsg();
    bool DecodePayload(CRxBuffer& rx) override;

    std::uint8_t state = 0;
};

// Sub-code 0x08, operation 12: the knees of the next test turns.
class CKneeSetMsg final : public CControllerMsg {
public:
    CKneeSetMsg(float leftKnee, float rightKnee);
    void EncodePayload(CTxBuffer& tx) const override;

    float left;
    float right;
};

// Sub-code 0x08, operation 13: the knee test's state and the vehicle's turn rate.
class CKneeStatusMsg final : public CControllerMsg {
public:
    CKneeStatusMsg();
    bool DecodePayload(CRxBuffer& rx) override;

    std::uint8_t state = 0;
    float turnRate = 0;
};

// Sub-code 0x07, operation 2: the gains of the next response test, right
// before left. The controller answers with eight bytes the page ignores.
class CResponseGainsMsg final : public CControllerMsg {
public:
    CResponseGainsMsg(float rightGain, float leftGain);
    void EncodePayload(CTxBuffer& tx) const override;
    bool DecodePayload(CRxBuffer& rx) override;

    float right;
    float left;
};

// Sub-code 0x07, operation 5: the response test's state and each pump's
// rise time (ms) and overshoot (%).
class CResponseStatusMsg final : public CControllerMsg {
public:
    CResponseStatusMsg();
    bool DecodePayload(CRxBuffer& rx) override;

    std::uint8_t state = 0;
    std::uint32_t rightRiseMs = 0;
    float rightOvershoot = 0;
    std::uint32_t leftRiseMs = 0;
    float leftOvershoot = 0;
};

// Sub-code 0x06, operation 2: the bias of the next test turn; the controller
// answers with the bias it took.
class CTrackBiasMsg final : public CControllerMsg {
public:
    explicit CTrackBiasMsg(float bias);
    void EncodePayload(CTxBuffer& tx) const override;
    bool DecodePayload(CRxBuffer& rx) override;

    float bias;
    float taken = 0;
};

// Sub-code 0x06, operation 6: the track steering state and seven values.
class CTrackStatusMsg final : public CControllerMsg {
public:
    CTrackStatusMsg();
    bool DecodePayload(CRxBuffer& rx) override;

    // Value 1 is weighed against the turn-rate limits.
    float Balance() const { return values[0]; }
    float EngineRpm() const { return values[1]; }
    float RightTurnRate() const { return values[2]; }
    float LeftTurnRate() const { return -values[3]; }
    float CurrentBias() const { return values[6]; }

    std::uint8_t state = 0;
    std::array<float, 7> values{};
};

// Sub-code 0x06, operation 11: the balance limits and the turn-rate bars' range.
class CTurnRateLimitsMsg final : public CControllerMsg {
public:
    CTurnRateLimitsMsg();
    bool DecodePayload(CRxBuffer& rx) override;

    float low = 0;
    float high = 0;
    float barMinimum = 0;
    float barMaximum = 0;
};

// Sub-code 0x0A, operation 4: the saved and the measured override bias and
// the test's state.
class COverrideStatusMsg final : public CControllerMsg {
public:
    COverrideStatusMsg();
    bool DecodePayload(CRxBuffer& rx) override;

    float savedBias = 0;
    float testBias = 0;
    std::uint32_t state = 0;
};

} // namespace halcyra
