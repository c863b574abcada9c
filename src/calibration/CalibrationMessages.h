#pragma once
// The calibration tests' own messages (message 0x4A): the steering angle
// sensor and the steering gain test.

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

// Sub-code 0x0C without payloads either way: begin and end the gain test,
// turn left, turn right (the operation says which).
class CGainTestCommandMsg final : public CControllerMsg {
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

} // namespace halcyra
