#pragma once
// The calibration pages that edit a parameter or two through a converted
// control: the base page gets, compares, offers to save and writes them;
// these only convert between the parameters and what the controls show.

#include "calibration/CalProcedure.h"
#include "params/Param.h"

#include <string>

namespace halcyra {

class CParamSet;
class INotifier;

// alz, the antenna's height: the controller keeps it negative (below is
// positive), the pages a positive height. Its value and read value are
// negated after every get and again before every set.
class CAntennaHeightParam final : public CLengthParam {
public:
    explicit CAntennaHeightParam(CParamSet* set = nullptr) : CLengthParam("alz", set) {}
    bool Get(CControllerLink& link) override;
    bool Set(CControllerLink& link) override;
};

// ---------------------------------------------------------------- aggressiveness

// The slider's range: trunc(50 / 6) to trunc(50 x 2 / 3).
inline constexpr int kAggressivenessLow = 50 / 6;
inline constexpr int kAggressivenessHigh = 50 * 2 / 3;
// The position for a line acquisition speed (m/s): trunc(50 / speed + 0.5),
// kept within the slider as the slider itself would.
int AggressivenessPosition(float speed);
float AggressivenessSpeed(int position);
// 50 % at the low end, 150 % at the high end.
int AggressivenessPercent(int position);
// "Vehicle stability needs to be checked at ... or at maximum engagement
// speed", in km/h or, with inches or feet shown, in mph.
std::string StabilityText(float speed, const CUnitsParam& units);

class CAggressivenessCal {
public:
    // Adds var and vad to the page's parameters.
    explicit CAggressivenessCal(CParamSet& pageParams);

    // The slider from the parameters (vad, the second, wins).
    void FromParams();
    // The user moved the slider: both speeds follow.
    void MoveSlider(int position);

    int Position() const { return position_; }
    std::string PercentText() const;
    std::string StabilityText(const CUnitsParam& units) const { return halcyra::StabilityText(var_.value, units); }
    float Speed() const { return var_.value; }

private:
    CFloatParam var_;
    CFloatParam vad_;
    int position_ = kAggressivenessLow;
};

// ---------------------------------------------------------------- roll

inline constexpr const char* kRollTooLargeText =
    "The specified roll offset distance is too large.\r\nIt cannot exceed the antenna height.\r\nThe roll offset "
    "distance will now be set to zero.";
inline constexpr const char* kRollTooLargeCaption = "Roll Offset Distance Too Large";

// Which side of the line the vehicle drives on when the roll offset shows.
enum RollSide { kRollRight = 0, kRollLeft = 1 };

class CRollCorrection {
public:
    // Adds rof and alz to the page's parameters.
    explicit CRollCorrection(CParamSet& pageParams);

    // The distance and side from rof and the antenna height.
    void FromParams();
    // rof from the distance and side; a distance above the antenna height is
    // refused with a box and makes rof 0.
    void ToParams(INotifier& notifier);

    float& Distance() { return distance_; }
    int& Side() { return side_; }
    float RollOffset() const { return rof_.value; }
    CFloatParam& RollOffsetParam() { return rof_; }
    CAntennaHeightParam& Height() { return alz_; }

private:
    CFloatParam rof_;
    CAntennaHeightParam alz_;
    float distance_ = 0;
    int side_ = kRollRight;
};

// ---------------------------------------------------------------- manual override sensitivity

inline constexpr const char* kOverrideWarningText =
    "Warning: This calibration adjustment should only be made by qualified personnel.  Mis- adjustment of this "
    "calibration setting could result in the failure of this critical safety feature.";

class COverrideSensitivity {
public:
    // Adds orv to the page's parameters.
    explicit COverrideSensitivity(CParamSet& pageParams);

    // Reads the external inputs ei1 to ei14: one with function 30 or 31
    // makes the scale 1 (slider 2 to 20), otherwise it is 10 (5 to 25).
    // An input that cannot be read is passed over (one box per outage); two
    // unanswered in a row end the scan.
    void ReadScale(CControllerLink& link);
    void FromParams();
    void MoveSlider(int position);

    int Scale() const { return scale_; }
    int Minimum() const;
    int Maximum() const;
    int Position() const { return position_; }
    std::string ValueText() const;

private:
    CFloatParam orv_;
    int scale_ = 10;
    int position_ = 0;
};

// ---------------------------------------------------------------- RPM sensor

inline constexpr int kRpmSteps = 3;
const char* RpmInstruction(int step);
const char* RpmButtonText(int step);
// The rpm shown for the controller's reading with the factor it has and the
// factor the page has now: 0 when negative, not below 10000 or no number.
float ShownRpm(float reading, float startFactor, float factor);

class CRPMSensorCal final : public CCalProcedure {
public:
    // Adds sfm to the page's parameters.
    CRPMSensorCal(CPageContext& context, CParamSet& pageParams);

    // Init after the base page's initialisation, Show before its activation,
    // Leave before its leaving.
    void Init();
    void Show();
    void Leave();

    void Press();
    // The rpm field while it is editable.
    std::optional<std::string> EnterRpm(const std::string& text);

    int Step() const { return step_; }
    const char* Instruction() const { return RpmInstruction(step_); }
    const char* ButtonText() const { return RpmButtonText(step_); }
    bool RpmEditable() const { return step_ == 2; }
    std::string RpmText() const;
    float Factor() const { return sfm_.value; }
    // Counts the moves of the rpm into its field.
    int RpmMoved() const { return rpmMoved_; }

private:
    bool Poll() override;

    CFloatParam sfm_;
    int step_ = 0;
    float startFactor_ = 1;
    float rpm_ = 0;
    float entered_ = 0;
    bool reArm_ = false;
    int rpmMoved_ = 0;
};

} // namespace halcyra
