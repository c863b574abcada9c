#pragma once
// "Steering Pump Knees" and "Steering Pump Responses": the hydraulic pump
// calibrations over their procedures.

#include "calibration/PumpCal.h"
#include "calibration/ui/CalPageParts.h"
#include "pages/ui/HCPropertyPage.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace halcyra {

class CCalHydTrackedPumpKneePage final : public CHCPropertyPage {
    Q_OBJECT

public:
    explicit CCalHydTrackedPumpKneePage(CUiContext& context, QWidget* parent = nullptr);

    bool OnInitDialog() override;
    bool OnKillActive() override;
    bool OnQueryCancel() override;
    void OnDestroy() override { cal_.StopPolling(); }

    CPumpKneeCal& Procedure() { return cal_; }
    CStepArrowsEdit* KneeEdit(bool left) const { return left ? leftKnee_ : rightKnee_; }
    QPushButton* NextButton() const { return next_; }
    QPushButton* TurnButton(bool left) const { return left ? turnLeft_ : turnRight_; }
    QLineEdit* TurnRateField() const { return turnRate_; }

protected:
    void OnBeforeRefresh() override { cal_.Show(); }

private:
    void ShowState();
    // The knee typed in a field, once it is left: false (with a box) when refused.
    bool TakeKnee(bool left);

    CPumpKneeCal cal_;
    QLabel* instruction_ = nullptr;
    CStepArrowsEdit* leftKnee_ = nullptr;
    CStepArrowsEdit* rightKnee_ = nullptr;
    QLineEdit* leftSaved_ = nullptr;
    QLineEdit* rightSaved_ = nullptr;
    QLabel* turnRateLabel_ = nullptr;
    QLineEdit* turnRate_ = nullptr;
    QPushButton* next_ = nullptr;
    QPushButton* turnLeft_ = nullptr;
    QPushButton* turnRight_ = nullptr;
    int kneesShown_ = -1;
};

class CCalHydTrackedSteeringPump final : public CHCPropertyPage {
    Q_OBJECT

public:
    explicit CCalHydTrackedSteeringPump(CUiContext& context, QWidget* parent = nullptr);

    bool OnInitDialog() override;
    bool OnSetActive() override;
    bool OnKillActive() override;
    bool OnQueryCancel() override;
    void OnDestroy() override { cal_.StopPolling(); }

    CPumpResponseCal& Procedure() { return cal_; }
    QLineEdit* GainEdit(bool left) const { return left ? leftGain_ : rightGain_; }
    QPushButton* NextButton() const { return next_; }
    QPushButton* TestButton() const { return test_; }

private:
    void ShowState();
    bool TakeGain(bool left);

    CPumpResponseCal cal_;
    QLabel* instruction_ = nullptr;
    QLineEdit* leftGain_ = nullptr;
    QLineEdit* rightGain_ = nullptr;
    QLineEdit* leftSaved_ = nullptr;
    QLineEdit* rightSaved_ = nullptr;
    QLineEdit* leftRise_ = nullptr;
    QLineEdit* rightRise_ = nullptr;
    QLineEdit* leftOvershoot_ = nullptr;
    QLineEdit* rightOvershoot_ = nullptr;
    QPushButton* next_ = nullptr;
    QPushButton* test_ = nullptr;
    int gainsShown_ = -1;
};

} // namespace halcyra
