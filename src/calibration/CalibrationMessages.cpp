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

CCalCommandMsg::CCalCommandMsg(std::uint8_t subCode_, std::uint8_t operation_)
    : CControllerMsg(HeaderFamily::FourByte, wire::kCalibrationMsg, subCode_, operation_, 0)
{
}

CGainTestCommandMsg::CGainTestCommandMsg(std::uint8_t operation_) : CCalCommandMsg(kGainTestSub, operation_) {}

CTurnStateMsg::CTurnStateMsg()
    : CControllerMsg(HeaderFamily::FourByte, wire::kCalibrationMsg, kGainTestSub, kTurnStateOp, 1)
{
}

bool CTurnStateMsg::DecodePayload(CRxBuffer& rx)
{
    rx.PopValue(state);
    return true;
}

CKneeSetMsg::CKneeSetMsg(float leftKnee, float rightKnee)
    : CControllerMsg(HeaderFamily::FourByte, wire::kCalibrationMsg, kPumpKneeSub, kKneeSetOp, 0), left(leftKnee),
      right(rightKnee)
{
}

void CKneeSetMsg::EncodePayload(CTxBuffer& tx) const
{
    tx.PushValue(left);
    tx.PushValue(right);
}

CKneeStatusMsg::CKneeStatusMsg()
    : CControllerMsg(HeaderFamily::FourByte, wire::kCalibrationMsg, kPumpKneeSub, kKneeStatusOp, 13)
{
}

bool CKneeStatusMsg::DecodePayload(CRxBuffer& rx)
{
    float unused = 0;
    rx.PopValue(state);
    rx.PopValue(unused);
    rx.PopValue(turnRate);
    rx.PopValue(unused);
    return true;
}

CResponseGainsMsg::CResponseGainsMsg(float rightGain, float leftGain)
    : CControllerMsg(HeaderFamily::FourByte, wire::kCalibrationMsg, kPumpResponseSub, kResponseSetGainsOp, 8),
      right(rightGain), left(leftGain)
{
}

void CResponseGainsMsg::EncodePayload(CTxBuffer& tx) const
{
    tx.PushValue(right);
    tx.PushValue(left);
}

bool CResponseGainsMsg::DecodePayload(CRxBuffer& rx)
{
    float unused = 0;
    rx.PopValue(unused);
    rx.PopValue(unused);
    return true;
}

CResponseStatusMsg::CResponseStatusMsg()
    : CControllerMsg(HeaderFamily::FourByte, wire::kCalibrationMsg, kPumpResponseSub, kResponseStatusOp, 25)
{
}

bool CResponseStatusMsg::DecodePayload(CRxBuffer& rx)
{
    float unused = 0;
    rx.PopValue(state);
    rx.PopValue(rightRiseMs);
    rx.PopValue(rightOvershoot);
    rx.PopValue(unused);
    rx.PopValue(leftRiseMs);
    rx.PopValue(leftOvershoot);
    rx.PopValue(unused);
    return true;
}

CTrackBiasMsg::CTrackBiasMsg(float bias_)
    : CControllerMsg(HeaderFamily::FourByte, wire::kCalibrationMsg, kTrackSteeringSub, kTrackSetBiasOp, 4),
      bias(bias_)
{
}

void CTrackBiasMsg::EncodePayload(CTxBuffer& tx) const { tx.PushValue(bias); }

bool CTrackBiasMsg::DecodePayload(CRxBuffer& rx)
{
    rx.PopValue(taken);
    return true;
}

CTrackStatusMsg::CTrackStatusMsg()
    : CControllerMsg(HeaderFamily::FourByte, wire::kCalibrationMsg, kTrackSteeringSub, kTrackStatusOp, 29)
{
}

bool CTrackStatusMsg::DecodePayload(CRxBuffer& rx)
{
    rx.PopValue(state);
    for (float& value : values)
        rx.PopValue(value);
    return true;
}

CTurnRateLimitsMsg::CTurnRateLimitsMsg()
    : CControllerMsg(HeaderFamily::FourByte, wire::kCalibrationMsg, kTrackSteeringSub, kTrackLimitsOp, 16)
{
}

bool CTurnRateLimitsMsg::DecodePayload(CRxBuffer& rx)
{
    rx.PopValue(low);
    rx.PopValue(high);
    rx.PopValue(barMinimum);
    rx.PopValue(barMaximum);
    return true;
}

COverrideStatusMsg::COverrideStatusMsg()
    : CControllerMsg(HeaderFamily::FourByte, wire::kCalibrationMsg, kOverrideSub, kOverrideStatusOp, 12)
{
}

bool COverrideStatusMsg::DecodePayload(CRxBuffer& rx)
{
    rx.PopValue(savedBias);
    rx.PopValue(testBias);
    rx.PopValue(state);
    return true;
}

} // namespace halcyra
