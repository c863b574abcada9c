#include "calibration/CalibrationPages.h"

#include "params/Param.h"

#include <algorithm>

namespace halcyra {

namespace {

// When a page of a vehicle's list is added.
enum class When { Always, SensorWanted, OverrideSensor, VltNot10, VltNot11 };

struct Entry {
    CalPage page; // Orientation stands for either orientation page
    When when = When::Always;
};

struct VehicleRow {
    std::vector<std::uint32_t> types;
    std::vector<Entry> pages;
};

const std::vector<VehicleRow>& VehicleTable()
{
    using enum CalPage;
    static const std::vector<VehicleRow> rows = {
        {{1, 4, 5, 6},
         {{Orientation}, {AntennaPosCorr}, {SteerSensor, When::SensorWanted}, {AutoDeadZone}, {PGain}, {RollCorr},
          {ManOverride, When::OverrideSensor}, {Aggressiveness}}},
        {{2},
         {{Orientation}, {AntennaPosCorr}, {TrackSpacing}, {RPMSensor}, {HydTrackedSteeringPump},
          {HydTrackedPumpKnee}, {RollCorr}, {ManOverride, When::OverrideSensor}, {Aggressiveness}}},
        {{3},
         {{Orientation}, {AntennaPosCorr}, {TrackSpacing}, {JDElecManualOverride}, {JDx30TElecTrackContents},
          {JDElecTrackContents, When::VltNot11}, {RollCorr}, {Aggressiveness}}},
        {{7},
         {{Orientation}, {AntennaPosCorr}, {TrackSpacing, When::VltNot10}, {JDElecManualOverride, When::VltNot10},
          {MTElecTrackContents, When::VltNot10}, {RollCorr}, {Aggressiveness}}},
        {{8},
         {{Orientation}, {AntennaPosCorr}, {ImplSteerSensor, When::SensorWanted}, {AutoDeadZone}, {PGain},
          {RollCorr}, {Aggressiveness}}},
    };
    return rows;
}

const VehicleRow* RowFor(std::uint32_t vtt)
{
    for (const VehicleRow& row : VehicleTable())
        if (std::find(row.types.begin(), row.types.end(), vtt) != row.types.end())
            return &row;
    return nullptr;
}

bool Holds(When when, const CalibrationVehicle& v)
{
    switch (when) {
    case When::Always:
        return true;
    case When::SensorWanted:
        return v.wantSensorPage;
    case When::OverrideSensor:
        return v.hasOverrideSensor;
    case When::VltNot10:
        return v.vlt != 10;
    case When::VltNot11:
        return v.vlt != 11;
    }
    return false;
}

bool IsStandardAngle(float degrees)
{
    return degrees == 0.0f || degrees == 90.0f || degrees == 180.0f || degrees == 270.0f;
}

} // namespace

const std::vector<CalPageInfo>& CalPageTable()
{
    using enum CalPage;
    static const std::vector<CalPageInfo> table = {
        {Orientation, "CCalOrientationPage", "Controller Orientation", "Controller Orientation:"},
        {OrientationDirect, "CCalOrientationDirect", "Controller Orientation", "Controller Orientation:"},
        {AntennaPosCorr, "CCalAntennaPosCorrPage", "Antenna Compensation", "Antenna Pos. Compensation"},
        {RollCorr, "CCalRollCorrPage", "Roll Compensation", "Roll Compensation:"},
        {TrackSpacing, "CCalTrackSpacingPage", "Track Spacing", "Track Spacing:"},
        {AutoDeadZone, "CCalAutoDeadZonePage", "Automated Steering Deadzone", "Auto Deadzone Calibration:"},
        {PGain, "CCalPGainPage", "Steering Gain", "Proportional Gain Calibration:"},
        {SteerSensor, "CCalSteerSensorPage", "Steering Sensor", "Steering Sensor Calibration:"},
        {ImplSteerSensor, "CCalImplSteerSensorPage", "Steering Sensor", "Impl. Steering Sensor Cal:"},
        {JDElecManualOverride, "CCalJDElecManualOverride", "Manual Override", "Manual Override Calibration:"},
        {HydTrackedSteeringPump, "CCalHydTrackedSteeringPump", "Steering Pump Responses",
         "Steering Pump Response Calibration:"},
        {JDElecTrackContents, "CCalJDElecTrackContentsPage", "Steering Calibration", "JD Steering Calibration:"},
        {MTElecTrackContents, "CCalMTElecTrackContentsPage", "Steering Calibration", "MT Steering Calibration:"},
        {RPMSensor, "CCalRPMSensor", "RPM Sensor", "RPM Sensor Calibration:"},
        {HydTrackedPumpKnee, "CCalHydTrackedPumpKneePage", "Steering Pump Knees", "Steering Pump Knee Calibration:"},
        {ManOverride, "CCalManOverridePage", "Manual Override", "Manual Override Sensitivity"},
        {JDx30TElecTrackContents, "CCalJDx30TElecTrackContentsPage", "JD Interface", "JD Tracked Interface Cal:"},
        {Aggressiveness, "CCalAggressivenessPage", "Aggressiveness", "Line Acquisition Aggressiveness"},
    };
    return table;
}

const CalPageInfo& CalPageInfoOf(CalPage page) { return CalPageTable()[static_cast<std::size_t>(page)]; }

CalibrationVehicle ReadCalibrationVehicle(CControllerLink& link)
{
    CalibrationVehicle v;
    CUIntParam vtt("vtt"), vti("vti");
    CStringParam vms("vms");
    if (!vtt.Get(link) || !vti.Get(link) || !vms.Get(link) || !RowFor(vtt.value))
        return v;
    v.vtt = vtt.value;

    CUIntParam vlt("vlt");
    v.vlt = vlt.Get(link) ? vlt.value : 0;

    // A failed read leaves the angle at 0, a standard one.
    for (const char* name : {"iay", "iap", "iar"}) {
        CFloatParam angle(name);
        angle.Get(link);
        v.orientationNonStandard = v.orientationNonStandard || !IsStandardAngle(angle.value);
    }

    CUIntParam ei1("ei1");
    ei1.Get(link);
    if (ei1.value == 9) {
        v.hasOverrideSensor = true;
    } else {
        CUIntParam ei6("ei6");
        ei6.Get(link);
        v.hasOverrideSensor = ei6.value == 30;
    }

    CUIntParam sge("sge");
    v.wantSensorPage = !(sge.Get(link) && sge.value == 1);
    return v;
}

std::vector<CalPage> SelectCalibrationPages(const CalibrationVehicle& vehicle)
{
    std::vector<CalPage> pages;
    const VehicleRow* row = RowFor(vehicle.vtt);
    if (!row)
        return pages;
    for (const Entry& entry : row->pages) {
        if (!Holds(entry.when, vehicle))
            continue;
        CalPage page = entry.page;
        if (page == CalPage::Orientation && vehicle.orientationNonStandard)
            page = CalPage::OrientationDirect;
        if (std::find(pages.begin(), pages.end(), page) == pages.end())
            pages.push_back(page);
    }
    return pages;
}

std::vector<std::string> CalibrationPageTitles(CControllerLink& link)
{
    std::vector<std::string> titles;
    for (CalPage page : SelectCalibrationPages(ReadCalibrationVehicle(link)))
        titles.emplace_back(CalPageInfoOf(page).title);
    return titles;
}

} // namespace halcyra
