#include "calibration/CalibrationFields.h"

#include "calibration/CalibrationUnits.h"
#include "calibration/SimpleCalibrations.h"

namespace halcyra {

FieldSpec CalibrationLengthField(std::string id, std::string label, CFloatParam& length, double minimum)
{
    return field::Edit(std::move(id), std::move(label), CFieldValue::Number(length))
        .Range(minimum, kMaxCalibrationLength)
        .InDisplayUnits()
        .FormatPerUnit(kLengthFormats);
}

PageFields AntennaFields(CFloatParam& height, CFloatParam& distance)
{
    return {
        CalibrationLengthField("antennaHeight", "Antenna height above ground:", height, 0),
        CalibrationLengthField("antennaDistance", "Antenna distance from fixed axle:", distance,
                               -kMaxCalibrationLength),
    };
}

PageFields RollFields(CRollCorrection& roll)
{
    // The distance and side come from rof and the antenna height.
    return {
        field::Edit("rollOffset", "Roll Offset:",
                    CFieldValue::Number(roll.Distance()).From(roll.RollOffsetParam()).From(roll.Height()))
            .Range(0, kMaxCalibrationLength)
            .InDisplayUnits()
            .FormatPerUnit(kLengthFormats),
        field::Radios("side", "", CFieldValue::Number(roll.Side()).From(roll.RollOffsetParam()).From(roll.Height()),
                      {{"Vehicle is to the RIGHT of the line", kRollRight},
                       {"Vehicle is to the LEFT of the line", kRollLeft}}),
    };
}

PageFields TrackSpacingFields(CFloatParam& trackSpacing)
{
    return {CalibrationLengthField("trackSpacing", kTrackSpacingLabel, trackSpacing, 0)};
}

PageFields OrientationAngleFields(CFieldValue yaw, CFieldValue pitch, CFieldValue roll)
{
    auto angle = [](std::string id, std::string label, CFieldValue value) {
        return field::Edit(std::move(id), std::move(label), std::move(value)).Range(0, 360).Unit("deg");
    };
    return {angle("yaw", "Yaw:", std::move(yaw)), angle("pitch", "Pitch:", std::move(pitch)),
            angle("roll", "Roll:", std::move(roll))};
}

PageFields SteerSensorFields(CFieldValue volts, CFieldValue angle, std::function<bool()> angleShown)
{
    return {field::ReadOnly("sensorVolts", "Sensor Volts:", std::move(volts)),
            field::ReadOnly("sensorAngle", "Sensor Angle:", std::move(angle)).VisibleWhen(std::move(angleShown))};
}

PageFields DeadZoneFields(CFieldValue left, CFieldValue right)
{
    return {field::ReadOnly("deadZoneLeft", "Dead Zone Left:", std::move(left)).Format("%.2f"),
            field::ReadOnly("deadZoneRight", "Dead Zone Right:", std::move(right)).Format("%.2f")};
}

FieldSpec SavedGainField(CFieldValue gain) { return field::ReadOnly("savedGain", "Saved Gain:", std::move(gain)); }

FieldSpec SavedBiasField(CFieldValue bias)
{
    return field::ReadOnly("savedBias", "Saved Bias:", std::move(bias)).Format("%.2f");
}

} // namespace halcyra
