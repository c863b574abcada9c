#pragma once
// The electric track pages: the JD and MT steering calibrations, whose one
// button runs their chain of dialogs, the JD manual override test and the
// JD tracked interface calibration.

#include "calibration/CalibrationPages.h"
#include "calibration/ElecTrackPagesCal.h"
#include "calibration/TrackSteeringCal.h"
#include "pages/ui/HCPropertyPage.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace halcyra {

// "Steering Calibration": "Begin  >>" runs the variant's chain.
class CCalElecTrackContentsPage : public CHCPropertyPage {
    Q_OBJECT

public:
    CCalElecTrackContentsPage(CUiContext& context, CalPage page, TrackVariant variant, QWidget* parent);

    bool OnInitDialog() override;
    bool OnKillActive() override;
    bool OnQueryCancel() override;

    CTrackSteeringChain& Chain() { return chain_; }
    QPushButton* BeginButton() const { return begin_; }

private:
    CTrackSteeringChain chain_;
    QPushButton* begin_ = nullptr;
};

class CCalJDElecTrackContentsPage final : public CCalElecTrackContentsPage {
    Q_OBJECT

public:
    explicit CCalJDElecTrackContentsPage(CUiContext& context, QWidget* parent = nullptr);
};

class CCalMTElecTrackContentsPage final : public CCalElecTrackContentsPage {
    Q_OBJECT

public:
    explicit CCalMTElecTrackContentsPage(CUiContext& context, QWidget* parent = nullptr);
};

// "Manual Override": the JD override bias measured by the controller.
class CCalJDElecManualOverride final : public CHCPropertyPage {
    Q_OBJECT

public:
    explicit CCalJDElecManualOverride(CUiContext& context, QWidget* parent = nullptr);

    bool OnInitDialog() override;
    bool OnSetActive() override;
    bool OnKillActive() override;
    bool OnQueryCancel() override;
    void OnOK() override { cal_.OnOK(); }
    void OnDestroy() override { cal_.StopPolling(); }

    CJDManualOverrideCal& Procedure() { return cal_; }
    QPushButton* StepButton() const { return button_; }
    QLabel* CompletedLabel() const { return completed_; }
    QLabel* Line(int index) const { return lines_[index]; }

private:
    void ShowState();

    CJDManualOverrideCal cal_;
    QLabel* lines_[kOverrideLines] = {};
    QLabel* completed_ = nullptr;
    QPushButton* button_ = nullptr;
};

// "JD Interface": the controller's own interface calibration.
class CCalJDx30TElecTrackContentsPage final : public CHCPropertyPage {
    Q_OBJECT

public:
    explicit CCalJDx30TElecTrackContentsPage(CUiContext& context, QWidget* parent = nullptr);

    bool OnSetActive() override;
    bool OnKillActive() override;
    bool OnQueryCancel() override;
    void OnDestroy() override { cal_.StopPolling(); }

    CJDInterfaceCal& Procedure() { return cal_; }
    QPushButton* RunButton() const { return button_; }
    QLabel* StatusLabel() const { return status_; }

private:
    void ShowState();

    CJDInterfaceCal cal_;
    QLabel* status_ = nullptr;
    QPushButton* button_ = nullptr;
};

} // namespace halcyra
