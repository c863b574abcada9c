#pragma once
// The controller's identity: firmware and unit information.

#include "link/ControllerMsg.h"

#include <array>
#include <cstdint>
#include <string>

namespace halcyra {

// Application firmware version and date (message 0x40, sub-code 0, operation 0).
class CFirmwareInfoMsg final : public CControllerMsg {
public:
    static constexpr std::int32_t kPayload = 120;
    CFirmwareInfoMsg();
    bool DecodePayload(CRxBuffer& rx) override;

    std::uint16_t versionTimes100 = 0;
    std::uint16_t year = 0; // full year: the controller sends year - 1900
    std::uint8_t month = 0;
    std::uint8_t day = 0;
    std::uint8_t reserved6 = 0, reserved7 = 0;
    std::array<std::uint32_t, 3> words8{};
    char text[8] = {};
    std::array<std::uint32_t, 13> words28{};
    std::array<std::uint16_t, 2> shorts80{};
    std::array<std::uint32_t, 9> words84{};

    float Version() const { return static_cast<float>(versionTimes100) / 100.0f; }
};

// Serial number and installed options (message 0x40, sub-code 1, operation 0).
class CUnitInfoMsg final : public CControllerMsg {
public:
    static constexpr std::int32_t kPayload = 80;
    CUnitInfoMsg();
    bool DecodePayload(CRxBuffer& rx) override;

    std::uint8_t serial[16] = {};
    std::uint8_t options[64] = {};

    // At most 15 characters: the last byte is always treated as the end.
    std::string SerialNumber() const;
};

// One of the three compatibility queries (operation 3, sub-codes 0, 1 and 5);
// the controller is compatible when it answers the expected byte.
class CCompatibilityMsg final : public CControllerMsg {
public:
    explicit CCompatibilityMsg(std::uint8_t subCode, std::uint8_t expected = 1);
    bool DecodePayload(CRxBuffer& rx) override;
    bool Compatible() const { return reply == expected; }

    std::uint8_t expected;
    std::uint8_t reply = 0;
};

} // namespace halcyra
