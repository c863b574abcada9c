#pragma once
// "Automated Steering Deadzone": the automated dead-zone calibration over
// its procedure.

#include "calibration/AutoDeadZoneCal.h"
#include "pages/ui/HCPropertyPage.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace halcyra {

class CCalAutoDeadZonePage final : public CHCPropertyPage {
    Q_OBJECT

public:
    explicit CCalAutoDeadZonePage(CUiContext& context, QWidget* parent = nullptr);

    bool OnInitDialog() override;
    bool OnSetActive() override;
    bool OnKillActive() override;
    bool OnQueryCancel() override;
    void OnDestroy() override { cal_.StopPolling(); }

    CAutoDeadZoneCal& Procedure() { return cal_; }
    QLabel* TextLabel() const { return text_; }
    QPushButton* MainButton() const { return main_; }
    QPushButton* FineButton() const { return fine_; }
    QProgressBar* Progress() const { return progress_; }

private:
    void ShowState();

    CAutoDeadZoneCal cal_;
    QLabel* text_ = nullptr;
    QPushButton* main_ = nullptr;
    QPushButton* fine_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* download_ = nullptr;
};

} // namespace halcyra
