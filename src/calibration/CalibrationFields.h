#pragma once
// What the calibration pages show of the values they keep, each described
// once: the pages bind these descriptions to their controls, and the
// installation report lists the same labels, values and units.

#include "pages/PageFields.h"
#include "params/Param.h"

#include <functional>
#include <string>

namespace halcyra {

class CRollCorrection;

// The longest length the calibration pages take, in display units.
inline constexpr double kMaxCalibrationLength = 9999;

// A length in the display units, thousandths of metres and feet,
// hundredths of centimetres and inches.
FieldSpec CalibrationLengthField(std::string id, std::string label, CFloatParam& length, double minimum);

// "Antenna Compensation": the antenna's height above the ground (alz, kept
// positive) and its distance from the fixed axle (alx).
PageFields AntennaFields(CFloatParam& height, CFloatParam& distance);
// "Roll Compensation": the offset distance and the side of the line.
PageFields RollFields(CRollCorrection& roll);
// "Track Spacing" (trw).
PageFields TrackSpacingFields(CFloatParam& trackSpacing);
// Yaw, pitch and roll in degrees, 0 to 360 each: the angles page and the
// "Orientation Angles" dialog.
PageFields OrientationAngleFields(CFieldValue yaw, CFieldValue pitch, CFieldValue roll);
// The steering sensor's voltage and angle, read only; the angle shows while
// angleShown says so (always without it).
PageFields SteerSensorFields(CFieldValue volts, CFieldValue angle, std::function<bool()> angleShown = {});
// The left and right dead zones, "%.2f".
PageFields DeadZoneFields(CFieldValue left, CFieldValue right);
// The proportional gain the controller steers with (pgr).
FieldSpec SavedGainField(CFieldValue gain);
// The manual override bias the controller keeps (ovb).
FieldSpec SavedBiasField(CFieldValue bias);

// The pump pages show each value for both sides, under these two headings.
inline constexpr const char* kLeftSideText = "Left";
inline constexpr const char* kRightSideText = "Right";
inline constexpr const char* kSavedKneeLabel = "Saved Knee:";
inline constexpr const char* kSavedPumpGainLabel = "Saved Gain:";
// The track steering dialogs: the bias (k0e), the deadband (dk0) and the
// track spacing (trw).
inline constexpr const char* kBiasHeading = "Steering Pot Centerpoint (Bias):";
inline constexpr const char* kDeadbandLabel = "Deadband Compensation:";
inline constexpr const char* kTrackSpacingLabel = "Track Spacing:";
// The RPM sensor page shows the rpm; what it keeps is the scale (sfm).
inline constexpr const char* kEngineSpeedScaleLabel = "Engine Speed Scale:";

} // namespace halcyra
