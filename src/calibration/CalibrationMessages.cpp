#include "calibration/CalibrationMessages.h"

#include "link/Framing.h"
#include "link/MessageIds.h"

namespace halcyra {

using namespace wire::calibration;

CSensorReadingMsg::CSensorReadingMsg()
    : CControllerMsg(HeaderFamily::FourByte, wire::kCalibrationMsg, kSteerSensorSub, kSensorReadingOp, 8)
{
    packetCode = kReplyCode;
}

bool CSensorReadingMsg::DecodePayload(CRxBuffer& rx)
{
    rx.PopValue(voltage);
    rx.PopValue(angle);
    return true;
}

CSensorCalCommandMsg::CSensorCalCommandMsg(std::uint8_t command_)
    : CControllerMsg(HeaderFamily::FourByte, wire::kCalibrationMsg, kSteerSensorSub, kSensorCommandOp, 1),
      command(command_)
{
    packetCode = kReplyCode;
}

void CSensorCalCommandMsg::EncodePayload(CTxBuffer& tx) const { tx.PushValue(command); }

bool CSensorCalCommandMsg::DecodePayload(CRxBuffer& rx)
{
    rx.PopValue(status);
    return true;
}

CGainTestStatusMsg::CGainTestStatusMsg()
    : CControllerMsg(HeaderFamily::FourByte, wire::kCalibrationMsg, kGainTestSub, kGainStatusOp, 28)
{
}

bool CGainTestStatusMsg::DecodePayload(CRxBuffer& rx)
{
    for (float& value : values)
        rx.PopValue(value);
    return true;
}

CGainTestSetupMsg::CGainTestSetupMsg(float gain, float loopValue2, float loopValue3)
    : CControllerMsg(HeaderFamily::FourByte, wire::kCalibrationMsg, kGainTestSub, kGainSetupOp, 0),
      values{gain, loopValue2, loopValue3}
{
}

void CGainTestSetupMsg::EncodePayload(CTxBuffer& tx) const
{
    for (float value : values)
        tx.PushValue(value);
}

CGainTestCommandMsg::CGainTestCommandMsg(std::uint8_t operation_)
    : CControllerMsg(HeaderFamily::FourByte, wire::kCalibrationMsg, kGainTestSub, operation_, 0)
{
}

CTurnStateMsg::CTurnStateMsg()
    : CControllerMsg(HeaderFamily::FourByte, wire::kCalibrationMsg, kGainTestSub, kTurnStateOp, 1)
{
}

bool CTurnStateMsg::DecodePayload(CRxBuffer& rx)
{
    rx.PopValue(state);
    return true;
}

} // namespace halcyra
