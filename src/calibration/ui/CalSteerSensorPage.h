#pragma once
// "Steering Sensor": the steering sensor calibration wizard, and its
// implement steering version, over their procedures.

#include "calibration/SteerSensorCal.h"
#include "pages/ui/HCPropertyPage.h"

class QLabel;
class QPushButton;

namespace halcyra {

class CCalSteerSensorPage final : public CHCPropertyPage {
    Q_OBJECT

public:
    explicit CCalSteerSensorPage(CUiContext& context, QWidget* parent = nullptr);

    bool OnInitDialog() override;
    bool OnSetActive() override;
    bool OnKillActive() override;
    void OnDestroy() override { cal_.StopPolling(); }

    CSteerSensorCal& Procedure() { return cal_; }
    QPushButton* StepButton() const { return button_; }
    QLabel* InstructionLabel() const { return instruction_; }
    QLabel* WarningLabel() const { return warning_; }

private:
    void ShowState();

    CSteerSensorCal cal_;
    QLabel* instruction_ = nullptr;
    QPushButton* button_ = nullptr;
    QLabel* warning_ = nullptr;
};

class CCalImplSteerSensorPage final : public CHCPropertyPage {
    Q_OBJECT

public:
    explicit CCalImplSteerSensorPage(CUiContext& context, QWidget* parent = nullptr);

    bool OnInitDialog() override;
    bool OnSetActive() override;
    bool OnKillActive() override;
    bool OnQueryCancel() override;
    void OnOK() override { cal_.OnOK(); }
    void OnDestroy() override { cal_.StopPolling(); }

    CImplSteerSensorCal& Procedure() { return cal_; }
    QPushButton* StartButton() const { return start_; }
    QPushButton* StopButton() const { return stop_; }
    QLabel* StatusLabel() const { return status_; }

private:
    void ShowState();

    CImplSteerSensorCal cal_;
    QLabel* status_ = nullptr;
    QPushButton* start_ = nullptr;
    QPushButton* stop_ = nullptr;
};

} // namespace halcyra
