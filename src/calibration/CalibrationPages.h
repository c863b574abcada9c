#pragma once
// The calibration sheet's pages: every page class the sheet owns with its
// title, and which of them, in which order, suit the connected vehicle.

#include <cstdint>
#include <string>
#include <vector>

namespace halcyra {

class CControllerLink;

// Ends the setup sheet so that it reopens at the calibration tab.
inline constexpr int kCalContentsResult = 134;

// One per page class of the calibration sheet, in the order the sheet owns them.
enum class CalPage {
    Orientation,            // CCalOrientationPage
    OrientationDirect,      // CCalOrientationDirect
    AntennaPosCorr,         // CCalAntennaPosCorrPage
    RollCorr,               // CCalRollCorrPage
    TrackSpacing,           // CCalTrackSpacingPage
    AutoDeadZone,           // CCalAutoDeadZonePage
    PGain,                  // CCalPGainPage
    SteerSensor,            // CCalSteerSensorPage
    ImplSteerSensor,        // CCalImplSteerSensorPage
    JDElecManualOverride,   // CCalJDElecManualOverride
    HydTrackedSteeringPump, // CCalHydTrackedSteeringPump
    JDElecTrackContents,    // CCalJDElecTrackContentsPage
    MTElecTrackContents,    // CCalMTElecTrackContentsPage
    RPMSensor,              // CCalRPMSensor
    HydTrackedPumpKnee,     // CCalHydTrackedPumpKneePage
    ManOverride,            // CCalManOverridePage
    JDx30TElecTrackContents, // CCalJDx30TElecTrackContentsPage
    Aggressiveness,         // CCalAggressivenessPage
};
inline constexpr int kCalPageCount = 18;

struct CalPageInfo {
    CalPage page;
    const char* className;
    const char* title;   // the tab and the contents list
    const char* heading; // the bold line at the top of the page
};

// Every page class, in the order of CalPage.
const std::vector<CalPageInfo>& CalPageTable();
const CalPageInfo& CalPageInfoOf(CalPage page);

// What the page selection reads from the controller.
struct CalibrationVehicle {
    std::uint32_t vtt = 0; // vehicle type code; 0 when the identity could not be read
    std::uint32_t vlt = 0;
    bool orientationNonStandard = false; // a mounting angle other than 0, 90, 180, 270
    bool hasOverrideSensor = false;      // manual-override pressure sensing (ei1 9 or ei6 30)
    bool wantSensorPage = true;          // unless sge reads 1
};

// Reads the vehicle identity (vtt, vti, vms), vlt, the mounting angles, the
// override inputs and sge. Without an identity no page suits the vehicle,
// so nothing more is read.
CalibrationVehicle ReadCalibrationVehicle(CControllerLink& link);

// The pages for the vehicle, in the sheet's order.
std::vector<CalPage> SelectCalibrationPages(const CalibrationVehicle& vehicle);

// The titles of the pages the calibration sheet holds for this controller, in order.
std::vector<std::string> CalibrationPageTitles(CControllerLink& link);

} // namespace halcyra
