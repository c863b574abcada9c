#pragma once
// The wire's message ids, sub-codes and operations, written once for the
// program's messages and the simulator's handlers alike.

#include <cstddef>
#include <cstdint>

namespace halcyra::wire {

// Message ids.
inline constexpr std::uint8_t kInfoMsg = 0x40;        // identity, named parameters, compatibility
inline constexpr std::uint8_t kBlockMsg = 0x41;       // data block transfers; sub-code = block number
inline constexpr std::uint8_t kLogStatusMsg = 0x42;   // three-byte family
inline constexpr std::uint8_t kLogCommandMsg = 0x43;  // three-byte family
inline constexpr std::uint8_t kControllerMsg = 0x46;  // status and reset
inline constexpr std::uint8_t kTableMsg = 0x47;       // faults, logging frames, vehicle list
inline constexpr std::uint8_t kCalibrationMsg = 0x4A; // one sub-code per calibration test
inline constexpr std::uint8_t kDiagnosticsMsg = 0x4C; // six-byte family

// kInfoMsg sub-codes and operations.
namespace info {
inline constexpr std::uint8_t kFirmwareSub = 0x00;
inline constexpr std::uint8_t kUnitSub = 0x01;
inline constexpr std::uint8_t kParamSub = 0x14;
inline constexpr std::uint8_t kQueryOp = 0x00;
inline constexpr std::uint8_t kParamGetOp = 0x00;
inline constexpr std::uint8_t kParamSetOp = 0x01;
inline constexpr std::uint8_t kCompatibilityOp = 0x03;
// The compatibility queries' sub-codes, asked in this order.
inline constexpr std::uint8_t kCompatibilitySubs[] = {0x00, 0x01, 0x05};
} // namespace info

// kBlockMsg operations.
namespace block {
inline constexpr std::uint8_t kBeginUploadOp = 0;
inline constexpr std::uint8_t kUploadChunkOp = 1;
inline constexpr std::uint8_t kBeginDownloadOp = 2;
inline constexpr std::uint8_t kDownloadChunkOp = 3;
} // namespace block

// kControllerMsg sub-code and operations.
namespace controller {
inline constexpr std::uint8_t kSub = 0x00;
inline constexpr std::uint8_t kStatusOp = 0x00;
inline constexpr std::uint8_t kResetOp = 0x02;
} // namespace controller

// kTableMsg sub-codes and operations.
namespace table {
inline constexpr std::uint8_t kFaultSub = 5;
inline constexpr std::uint8_t kFaultRecordOp = 2;
inline constexpr std::uint8_t kFaultClearOp = 3;
inline constexpr std::uint8_t kFaultCountOp = 5;
inline constexpr std::uint8_t kFaultTextOp = 6;
inline constexpr std::uint8_t kLoggingSub = 14;
inline constexpr std::uint8_t kVehicleSub = 20;
inline constexpr std::uint8_t kVehicleCountOp = 0;
inline constexpr std::uint8_t kVehicleEntryOp = 1;
inline constexpr std::uint8_t kVehicleSelectOp = 2;
} // namespace table

// Data logging: kLogStatusMsg and kLogCommandMsg sub-codes, the command's
// values, and the operations of kTableMsg sub-code kLoggingSub.
namespace logging {
inline constexpr std::uint8_t kStatusSub = 4;
inline constexpr std::uint8_t kCommandSub = 3;
inline constexpr std::uint32_t kStopCommand = 0;
inline constexpr std::uint32_t kStartCommand = 1;
inline constexpr std::uint32_t kClearCommand = 2;
inline constexpr std::uint8_t kHeaderOp = 6; // sent unasked while streaming
inline constexpr std::uint8_t kRecordOp = 7; // sent unasked while streaming
inline constexpr std::uint8_t kOutputGetOp = 8;
inline constexpr std::uint8_t kOutputSetOp = 9;
// The output setting that streams the log to the PC.
inline constexpr std::uint32_t kExternalOutput = 6;
// A streamed item comes in numbered blocks; all but the last carry this many bytes.
inline constexpr std::size_t kItemBlockBytes = 170;
} // namespace logging
// kDiagnosticsMsg: one reading of an input, named by its item code in
// selector 1; selector 2 asks for the live reading.
namespace diagnostics {
inline constexpr std::uint8_t kSub = 0x00;
inline constexpr std::uint8_t kReadOp = 0x00;
inline constexpr std::uint8_t kLiveSelector = 0x04;
// Item codes (selector 1).
inline constexpr std::uint8_t kManualOverrideItem = 0;
inline constexpr std::uint8_t kLeftPumpPressureItem = 1;
inline constexpr std::uint8_t kRightPumpPressureItem = 2;
inline constexpr std::uint8_t kWheelSpeedItem = 5;
inline constexpr std::uint8_t kEngineSpeedItem = 6;
inline constexpr std::uint8_t kDirectionLeverItem = 7; // digital gear lever, or the vehicle direction over CAN
inline constexpr std::uint8_t kAnalogGearLeverItem = 8;
inline constexpr std::uint8_t kSteeringAngleItem = 9;
inline constexpr std::uint8_t kOutputBalanceItem = 11;
inline constexpr std::uint8_t kSteeringModuleFaultItem = 12;
inline constexpr std::uint8_t kNeutralSenseItem = 21;
} // namespace diagnostics

} // namespace halcyra::wire

// kCalibrationMsg sub-codes and operations, and the values calibrations
// write and read through named parameters.
namespace halcyra::wire::calibration {
// The steering angle sensor (both messages go out with packet code 0xBF).
inline constexpr std::uint8_t kSteerSensorSub = 0x0B;
inline constexpr std::uint8_t kSensorReadingOp = 0x00;
inline constexpr std::uint8_t kSensorCommandOp = 0x01;
// Sensor calibration commands: the points recorded, then finish and store.
inline constexpr std::uint8_t kRecordFullLeft = 0;
inline constexpr std::uint8_t kRecordFullRight = 1;
inline constexpr std::uint8_t kRecordStraight = 2;
inline constexpr std::uint8_t kStoreSensorPoints = 3;
inline constexpr std::uint8_t kSensorPointAccepted = 1;

// ISSteeringSensorCalCmd values, and the ROCalState values that end a run.
inline constexpr std::uint8_t kImplSensorPrepare = 1;
inline constexpr std::uint8_t kImplSensorStop = 2;
inline constexpr std::uint8_t kImplSensorStart = 3;
inline constexpr std::uint8_t kImplSensorCompleted = 4;
inline constexpr std::uint8_t kImplSensorFailed = 5;

// DZSwpCmd: written to command a dead-zone run, read back as its state.
inline constexpr std::uint8_t kDeadZoneBeginRun = 1;
inline constexpr std::uint8_t kDeadZoneEndRun = 2;
inline constexpr std::uint8_t kDeadZoneCoarseSweep = 3;
inline constexpr std::uint8_t kDeadZoneFineSweep = 4;
inline constexpr std::uint8_t kDeadZoneSweepFinished = 7;
inline constexpr std::uint8_t kDeadZoneSweepFailed = 8;
// DZSwpSide: the side of the next sweep.
inline constexpr std::uint8_t kSideRight = 0;
inline constexpr std::uint8_t kSideLeft = 1;

// The steering gain test.
inline constexpr std::uint8_t kGainTestSub = 0x0C;
inline constexpr std::uint8_t kGainStatusOp = 0;
inline constexpr std::uint8_t kGainSetupOp = 1;
inline constexpr std::uint8_t kGainBeginOp = 2;
inline constexpr std::uint8_t kGainEndOp = 3;
inline constexpr std::uint8_t kTurnLeftOp = 5;
inline constexpr std::uint8_t kTurnRightOp = 6;
inline constexpr std::uint8_t kTurnStateOp = 8;
// Turn states: a test turn in progress to the left or right; 0 says nothing.
inline constexpr std::uint8_t kTurnNoState = 0;
inline constexpr std::uint8_t kTurnReady = 1;
inline constexpr std::uint8_t kTurningLeft = 2;
inline constexpr std::uint8_t kTurningRight = 3;
inline constexpr std::uint8_t kTurnDone = 4;
} // namespace halcyra::wire::calibration

// The hydraulic pumps, the electric track steering and the manual override.
namespace halcyra::wire::calibration {
// Track steering (sub-code 0x06): electric tracks, and the RPM sensor's reading.
inline constexpr std::uint8_t kTrackSteeringSub = 0x06;
inline constexpr std::uint8_t kTrackBeginOp = 0;
inline constexpr std::uint8_t kTrackEndOp = 1;
inline constexpr std::uint8_t kTrackSetBiasOp = 2;
inline constexpr std::uint8_t kTrackTurnRightOp = 4;
inline constexpr std::uint8_t kTrackTurnLeftOp = 5;
inline constexpr std::uint8_t kTrackStatusOp = 6;
inline constexpr std::uint8_t kTrackGyroBiasOp = 7;
inline constexpr std::uint8_t kTrackJDBiasTestOp = 8;
inline constexpr std::uint8_t kTrackMTBiasTestOp = 9;
inline constexpr std::uint8_t kTrackSpacingTestOp = 10;
inline constexpr std::uint8_t kTrackLimitsOp = 11;
// Track steering states: a test turn left or right, the gyro bias being computed.
inline constexpr std::uint8_t kTrackReady = 1;
inline constexpr std::uint8_t kTrackTurningLeft = 2;
inline constexpr std::uint8_t kTrackTurningRight = 3;
inline constexpr std::uint8_t kTrackGyroComputing = 4;

// Pump response (sub-code 0x07).
inline constexpr std::uint8_t kPumpResponseSub = 0x07;
inline constexpr std::uint8_t kResponseBeginOp = 0;
inline constexpr std::uint8_t kResponseEndOp = 1;
inline constexpr std::uint8_t kResponseSetGainsOp = 2; // right gain, then left
inline constexpr std::uint8_t kResponseTestOp = 4;
inline constexpr std::uint8_t kResponseStatusOp = 5;
// Response states: the test runs in 2 and 3.
inline constexpr std::uint8_t kResponseReady = 1;
inline constexpr std::uint8_t kResponseRising = 2;
inline constexpr std::uint8_t kResponseSettling = 3;

// Pump knees (sub-code 0x08).
inline constexpr std::uint8_t kPumpKneeSub = 0x08;
inline constexpr std::uint8_t kKneeBeginOp = 0;
inline constexpr std::uint8_t kKneeEndOp = 1;
inline constexpr std::uint8_t kKneeGyroBiasOp = 11;
inline constexpr std::uint8_t kKneeSetOp = 12; // left knee, then right
inline constexpr std::uint8_t kKneeStatusOp = 13;
inline constexpr std::uint8_t kKneeTurnRightOp = 14; // also stops the right turn
inline constexpr std::uint8_t kKneeTurnLeftOp = 15;  // also stops the left turn
// Knee states.
inline constexpr std::uint8_t kKneeReady = 1;
inline constexpr std::uint8_t kKneeGyroComputing = 2;
inline constexpr std::uint8_t kKneeTurningRight = 8;
inline constexpr std::uint8_t kKneeTurningLeft = 9;

// Manual override (sub-code 0x0A).
inline constexpr std::uint8_t kOverrideSub = 0x0A;
inline constexpr std::uint8_t kOverrideBeginOp = 0;
inline constexpr std::uint8_t kOverrideEndOp = 1;
inline constexpr std::uint8_t kOverrideRunOp = 2;
inline constexpr std::uint8_t kOverrideStatusOp = 4;
// Override states: finished, and the two of a running test.
inline constexpr std::uint32_t kOverrideFinished = 1;
inline constexpr std::uint32_t kOverrideReleasing = 2;
inline constexpr std::uint32_t kOverrideMeasuring = 3;

// JD30TCalCmd values and JD30TCalStatus values.
inline constexpr std::uint32_t kJDInterfaceStop = 0;
inline constexpr std::uint32_t kJDInterfaceStart = 1;
inline constexpr std::uint32_t kJDInterfaceIdle = 0;
inline constexpr std::uint32_t kJDInterfaceRunning = 1;
inline constexpr std::uint32_t kJDInterfaceSucceeded = 2;
inline constexpr std::uint32_t kJDInterfaceFailed = 3;
} // namespace halcyra::wire::calibration
