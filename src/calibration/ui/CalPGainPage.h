#pragma once
// "Steering Gain": the steering gain test over its procedure.

#include "calibration/PGainCal.h"
#include "calibration/ui/CalPageParts.h"
#include "pages/ui/HCPropertyPage.h"

class QLabel;
class QPushButton;

namespace halcyra {

class CCalPGainPage final : public CHCPropertyPage {
    Q_OBJECT

public:
    explicit CCalPGainPage(CUiContext& context, QWidget* parent = nullptr);

    bool OnInitDialog() override;
    bool OnSetActive() override;
    bool OnKillActive() override;
    bool OnQueryCancel() override;
    void OnDestroy() override { cal_.StopPolling(); }

    CPGainCal& Procedure() { return cal_; }
    QLabel* InstructionLabel() const { return instruction_; }
    CStepArrowsEdit* GainEdit() const { return gain_; }
    QPushButton* NextButton() const { return next_; }
    QPushButton* TurnLeftButton() const { return left_; }
    QPushButton* TurnRightButton() const { return right_; }

private:
    void ShowState();
    // The gain field lost its focus: false when its text was refused.
    bool TakeGain();

    CPGainCal cal_;
    QLabel* instruction_ = nullptr;
    CStepArrowsEdit* gain_ = nullptr;
    QPushButton* next_ = nullptr;
    QPushButton* left_ = nullptr;
    QPushButton* right_ = nullptr;
    int fieldsShown_ = -1; // the procedure's fields last put into the controls
};

} // namespace halcyra
