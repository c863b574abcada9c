#include "calibration/SimpleCalibrations.h"

#include "calibration/CalibrationMessages.h"
#include "link/ControllerLink.h"
#include "link/Format.h"
#include "link/Notifier.h"
#include "link/RequestSeries.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace halcyra {

namespace {

// Converts a number to a slider position, keeping it within the slider;
// anything that is no number lands at the low end.
int SliderPosition(double position, int minimum, int maximum)
{
    if (!(position >= minimum))
        return minimum;
    if (position > maximum)
        return maximum;
    return static_cast<int>(position);
}

} // namespace

// ---------------------------------------------------------------- antenna height

bool CAntennaHeightParam::Get(CControllerLink& link)
{
    if (!CLengthParam::Get(link))
        return false;
    value = -value;
    readValue = -readValue;
    return true;
}

bool CAntennaHeightParam::Set(CControllerLink& link)
{
    value = -value;
    readValue = -readValue;
    return CLengthParam::Set(link);
}

// ---------------------------------------------------------------- aggressiveness

int AggressivenessPosition(float speed)
{
    // A speed of 0 is past the high end, not a division fault.
    const double position = speed > 0 ? std::trunc(50.0 / speed + 0.5) : kAggressivenessHigh;
    return SliderPosition(position, kAggressivenessLow, kAggressivenessHigh);
}

float AggressivenessSpeed(int position) { return 50.0f / static_cast<float>(position); }

int AggressivenessPercent(int position)
{
    return (position - kAggressivenessLow) * 100 / (kAggressivenessHigh - kAggressivenessLow) + 50;
}

std::string StabilityText(float speed, const CUnitsParam& units)
{
    const bool imperial = units.HasFactor() && (units.UnitIndex() == 2 || units.UnitIndex() == 3);
    const std::string shown = imperial ? Format("%.1f mph", static_cast<double>(speed) * 2.2369)
                                       : Format("%.1f km/h", static_cast<double>(speed) * 3.6);
    return "Vehicle stability needs to be checked at " + shown + " or at maximum engagement speed";
}

CAggressivenessCal::CAggressivenessCal(CParamSet& pageParams) : var_("var", &pageParams), vad_("vad", &pageParams) {}

void CAggressivenessCal::FromParams()
{
    position_ = AggressivenessPosition(var_.value);
    position_ = AggressivenessPosition(vad_.value);
}

void CAggressivenessCal::MoveSlider(int position)
{
    position_ = std::clamp(position, kAggressivenessLow, kAggressivenessHigh);
    var_.value = vad_.value = AggressivenessSpeed(position_);
}

std::string CAggressivenessCal::PercentText() const { return Format("%d%%", AggressivenessPercent(position_)); }

// ---------------------------------------------------------------- roll

namespace {
constexpr double kDegreesPerRadian = 57.29577951308232;
}

CRollCorrection::CRollCorrection(CParamSet& pageParams) : rof_("rof", &pageParams), alz_(&pageParams) {}

void CRollCorrection::FromParams()
{
    const double product = std::sin(static_cast<double>(rof_.value) / kDegreesPerRadian) *
                           static_cast<double>(alz_.value) * 2;
    distance_ = static_cast<float>(std::fabs(product));
    side_ = product > 0 ? kRollLeft : kRollRight;
}

void CRollCorrection::ToParams(INotifier& notifier)
{
    if (distance_ > alz_.value) {
        notifier.Notify(kRollTooLargeText, kRollTooLargeCaption, MsgButtons::Ok, MsgIcon::None);
        rof_.value = 0;
        return;
    }
    // No offset is no roll, whatever the height (0 / 0 is no angle).
    if (distance_ == 0) {
        rof_.value = 0;
        return;
    }
    const double degrees = std::asin(static_cast<double>(distance_) / (static_cast<double>(alz_.value) * 2)) *
                           kDegreesPerRadian;
    rof_.value = static_cast<float>(side_ == kRollRight ? -degrees : degrees);
}

// ---------------------------------------------------------------- manual override sensitivity

COverrideSensitivity::COverrideSensitivity(CParamSet& pageParams) : orv_("orv", &pageParams) {}

void COverrideSensitivity::ReadScale(CControllerLink& link)
{
    scale_ = 10;
    // An input that cannot be read is passed over, so a later one with the
    // override function is still found; an outage shows one box, and a
    // controller that has stopped answering ends the scan.
    CRequestSeries series(link);
    for (int input = 1; input <= 14 && !series.StoppedAnswering(); ++input) {
        CUIntParam function(Format("ei%d", input));
        if (series.Run([&] { return function.Get(link); }) && (function.value == 30 || function.value == 31)) {
            scale_ = 1;
            return;
        }
    }
}

// 0.5 to 2.5 in tenths; with an override input, 2 to 20 in whole steps.
int COverrideSensitivity::Minimum() const { return scale_ == 1 ? 2 : 5; }

int COverrideSensitivity::Maximum() const { return scale_ == 1 ? 20 : 25; }

void COverrideSensitivity::FromParams()
{
    // In single precision, as orv is kept: 10 x 0.7f is 7, where the same
    // product in double is 6.99999988 and would sit a notch low.
    const float product = static_cast<float>(scale_) * orv_.value;
    position_ = SliderPosition(std::trunc(static_cast<double>(product)), Minimum(), Maximum());
}

void COverrideSensitivity::MoveSlider(int position)
{
    position_ = std::clamp(position, Minimum(), Maximum());
    orv_.value = static_cast<float>(position_) / static_cast<float>(scale_);
}

std::string COverrideSensitivity::ValueText() const { return Format("%.1f", static_cast<double>(orv_.value)); }

// ---------------------------------------------------------------- RPM sensor

namespace {

constexpr std::array<const char*, kRpmSteps> kRpmInstructions = {
    "1. Make sure the tractor is in park and press Next.",
    "2. Vary the engine throttle and verify that the rpm displayed is close to the actual rpm. If it is not close "
    "press Change. Press Ok when complete.",
    "3. Enter the current rpm and press Enter",
};
constexpr std::array<const char*, kRpmSteps> kRpmButtons = {"Next >>", "Change RPM", "Enter"};
constexpr float kMaxShownRpm = 10000;

} // namespace

const char* RpmInstruction(int step) { return kRpmInstructions.at(static_cast<std::size_t>(step)); }

const char* RpmButtonText(int step) { return kRpmButtons.at(static_cast<std::size_t>(step)); }

float ShownRpm(float reading, float startFactor, float factor)
{
    const float rpm = reading / startFactor * factor;
    return std::isfinite(rpm) && rpm >= 0 && rpm < kMaxShownRpm ? rpm : 0.0f;
}

CRPMSensorCal::CRPMSensorCal(CPageContext& context, CParamSet& pageParams)
    : CCalProcedure(context), sfm_("sfm", &pageParams)
{
}

void CRPMSensorCal::Init()
{
    step_ = 0;
    startFactor_ = sfm_.value;
    reArm_ = false;
    StartPolling();
    Changed();
}

void CRPMSensorCal::Show()
{
    if (!reArm_)
        return;
    reArm_ = false;
    step_ = 0;
    // The rpm follows the engine again, whatever step the page was left at.
    StartPolling();
    Changed();
}

void CRPMSensorCal::Leave()
{
    StopPolling();
    reArm_ = true;
}

void CRPMSensorCal::Press()
{
    switch (step_) {
    case 0:
        step_ = 1;
        break;
    case 1:
        step_ = 2;
        StopPolling();
        entered_ = rpm_;
        break;
    default: {
        CTrackStatusMsg status;
        if (Link().Transact(status) && status.EngineRpm() > 0 && entered_ > 0)
            sfm_.value = entered_ / status.EngineRpm() * startFactor_;
        step_ = 1;
        StartPolling();
        break;
    }
    }
    ++rpmMoved_;
    Changed();
}

std::optional<std::string> CRPMSensorCal::EnterRpm(const std::string& text)
{
    const TypedValue typed = ReadTypedValue(text, kMaxShownRpm);
    if (!typed.value)
        return typed.refusal;
    entered_ = *typed.value;
    return std::nullopt;
}

std::string CRPMSensorCal::RpmText() const { return Format("%.0f", static_cast<double>(rpm_)); }

bool CRPMSensorCal::Poll()
{
    CTrackStatusMsg status;
    if (!Link().Transact(status))
        return false;
    rpm_ = ShownRpm(status.EngineRpm(), startFactor_, sfm_.value);
    ++rpmMoved_;
    return true;
}

} // namespace halcyra
