#pragma once
// The calibration pages that edit a parameter or two: aggressiveness,
// antenna and roll compensation, track spacing, manual override
// sensitivity, the mounting angles typed in, and the RPM sensor.

#include "calibration/SimpleCalibrations.h"
#include "pages/ui/HCPropertyPage.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;

namespace halcyra {

// "Aggressiveness": the line acquisition speed on a slider.
class CCalAggressivenessPage final : public CHCPropertyPage {
    Q_OBJECT

public:
    explicit CCalAggressivenessPage(CUiContext& context, QWidget* parent = nullptr);
    CAggressivenessCal& Rules() { return cal_; }
    QSlider* Slider() const { return slider_; }
    QLabel* PercentLabel() const { return percent_; }
    QLabel* StabilityLabel() const { return stability_; }

protected:
    void OnBeforeRefresh() override;

private:
    void ShowState();

    CAggressivenessCal cal_;
    QSlider* slider_ = nullptr;
    QLabel* percent_ = nullptr;
    QLabel* stability_ = nullptr;
};

// "Antenna Compensation": the antenna's height and its distance from the fixed axle.
class CCalAntennaPosCorrPage final : public CHCPropertyPage {
    Q_OBJECT

public:
    explicit CCalAntennaPosCorrPage(CUiContext& context, QWidget* parent = nullptr);
    CAntennaHeightParam& Height() { return height_; }

private:
    CAntennaHeightParam height_;
    CLengthParam alx_;
};

// "Roll Compensation": the roll offset as a distance to one side of the line.
class CCalRollCorrPage final : public CHCPropertyPage {
    Q_OBJECT

public:
    explicit CCalRollCorrPage(CUiContext& context, QWidget* parent = nullptr);
    CRollCorrection& Rules() { return roll_; }

protected:
    void OnBeforeRefresh() override { roll_.FromParams(); }
    bool UpdateMembers() override;

private:
    CRollCorrection roll_;
};

// "Track Spacing".
class CCalTrackSpacingPage final : public CHCPropertyPage {
    Q_OBJECT

public:
    explicit CCalTrackSpacingPage(CUiContext& context, QWidget* parent = nullptr);
    CLengthParam& TrackSpacing() { return trw_; }

private:
    CLengthParam trw_;
};

// "Manual Override": the override sensitivity on a slider.
class CCalManOverridePage final : public CHCPropertyPage {
    Q_OBJECT

public:
    explicit CCalManOverridePage(CUiContext& context, QWidget* parent = nullptr);
    bool OnInitDialog() override;
    COverrideSensitivity& Rules() { return sensitivity_; }
    QSlider* Slider() const { return slider_; }
    QLabel* ValueLabel() const { return value_; }

protected:
    void OnBeforeRefresh() override;

private:
    void ShowState();

    COverrideSensitivity sensitivity_;
    QSlider* slider_ = nullptr;
    QLabel* value_ = nullptr;
};

// "Controller Orientation" for a mounting at angles other than quarter turns.
class CCalOrientationDirect final : public CHCPropertyPage {
    Q_OBJECT

public:
    explicit CCalOrientationDirect(CUiContext& context, QWidget* parent = nullptr);

private:
    CFloatParam iay_;
    CFloatParam iap_;
    CFloatParam iar_;
};

// "RPM Sensor": the engine speed scale, checked against the real rpm.
class CCalRPMSensor final : public CHCPropertyPage {
    Q_OBJECT

public:
    explicit CCalRPMSensor(CUiContext& context, QWidget* parent = nullptr);
    bool OnInitDialog() override;
    bool OnSetActive() override;
    bool OnKillActive() override;
    void OnDestroy() override { cal_.StopPolling(); }

    CRPMSensorCal& Procedure() { return cal_; }
    QPushButton* StepButton() const { return button_; }
    QLineEdit* RpmField() const { return rpm_; }

private:
    void ShowState();
    void Press();

    CRPMSensorCal cal_;
    QLabel* instruction_ = nullptr;
    QPushButton* button_ = nullptr;
    QLineEdit* rpm_ = nullptr;
    int rpmShown_ = -1;
};

} // namespace halcyra
