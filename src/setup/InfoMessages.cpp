#include "setup/InfoMessages.h"

#include "link/Framing.h"
#include "link/MessageIds.h"

namespace halcyra {

CFirmwareInfoMsg::CFirmwareInfoMsg() : CControllerMsg(HeaderFamily::FourByte, wire::kInfoMsg, wire::info::kFirmwareSub, wire::info::kQueryOp, kPayload) {}

bool CFirmwareInfoMsg::DecodePayload(CRxBuffer& rx)
{
    rx.PopValue(versionTimes100);
    std::uint16_t yearSince1900 = 0;
    rx.PopValue(yearSince1900);
    year = static_cast<std::uint16_t>(yearSince1900 + 1900);
    rx.PopValue(month);
    rx.PopValue(day);
    rx.PopValue(reserved6);
    rx.PopValue(reserved7);
    for (auto& w : words8)
        rx.PopValue(w);
    for (char& c : text) {
        std::uint8_t b = 0;
        rx.PopValue(b);
        c = static_cast<char>(b);
    }
    text[7] = '\0';
    for (auto& w : words28)
        rx.PopValue(w);
    for (auto& s : shorts80)
        rx.PopValue(s);
    for (auto& w : words84)
        rx.PopValue(w);
    return true;
}

CUnitInfoMsg::CUnitInfoMsg() : CControllerMsg(HeaderFamily::FourByte, wire::kInfoMsg, wire::info::kUnitSub, wire::info::kQueryOp, kPayload) {}

bool CUnitInfoMsg::DecodePayload(CRxBuffer& rx)
{
    for (auto& b : serial)
        rx.PopValue(b);
    for (auto& b : options)
        rx.PopValue(b);
    return true;
}

std::string CUnitInfoMsg::SerialNumber() const
{
    std::string s;
    for (std::size_t i = 0; i < 15 && serial[i] != 0; ++i)
        s.push_back(static_cast<char>(serial[i]));
    return s;
}

CCompatibilityMsg::CCompatibilityMsg(std::uint8_t subCode_, std::uint8_t expected_)
    : CControllerMsg(HeaderFamily::FourByte, wire::kInfoMsg, subCode_, wire::info::kCompatibilityOp, 1), expected(expected_)
{
}

bool CCompatibilityMsg::DecodePayload(CRxBuffer& rx)
{
    rx.PopValue(reply);
    return true;
}

} // namespace halcyra
