#pragma once
// The dialogs of the electric track steering chains, each over the rules of
// its dialog (TrackSteeringCal.h). A dialog of the chain ends with
// kTrackDialogNext to go on, kTrackDialogBack to go back; cancelling ends
// the chain.

#include "calibration/TrackSteeringCal.h"
#include "pages/ui/HCDialog.h"

#include <functional>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSlider;

namespace halcyra {

class CStepArrowsEdit;

// The picture for a balance of the turn rates.
QString TurnRateIndicatorPicture(TurnRateIndicator indicator);

// Ends its ticks whenever it closes, as a dialog's window goes.
class CTrackDialog : public CHCDialog {
    Q_OBJECT

public:
    CTrackDialog(CUiContext& context, CCalProcedure* procedure, QWidget* parent);
    ~CTrackDialog() override;
    void done(int result) override;

protected:
    CCalProcedure* procedure_;
};

// "Steering Calibration:": the gyro bias, with the tractor parked.
class CGyroBiasDlg final : public CTrackDialog {
    Q_OBJECT

public:
    CGyroBiasDlg(CUiContext& context, CGyroBiasCal& cal, QWidget* parent = nullptr);
    QPushButton* NextButton() const { return next_; }
    QLabel* Line(int index) const { return lines_[index]; }

private:
    void ShowState();

    CGyroBiasCal& cal_;
    QLabel* lines_[kGyroBiasLines] = {};
    QPushButton* next_ = nullptr;
};

// The speed, deadband and track spacing instructions: lines and "Next >>".
class CTrackInstructionsDlg final : public CTrackDialog {
    Q_OBJECT

public:
    CTrackInstructionsDlg(CUiContext& context, TrackDialog dialog, QWidget* parent = nullptr);
    TrackDialog Kind() const { return kind_; }
    QPushButton* NextButton() const { return next_; }

private:
    TrackDialog kind_;
    QPushButton* next_ = nullptr;
};

// The left and right turn rates with their bars and the indicator picture.
class CTurnRatePanel final : public QWidget {
    Q_OBJECT

public:
    explicit CTurnRatePanel(QWidget* parent);
    void Show(const CTurnRateTest& test);
    QLabel* Indicator() const { return indicator_; }

private:
    QLineEdit* leftRate_ = nullptr;
    QLineEdit* rightRate_ = nullptr;
    QProgressBar* leftBar_ = nullptr;
    QProgressBar* rightBar_ = nullptr;
    QLabel* indicator_ = nullptr;
    TurnRateIndicator shown_ = TurnRateIndicator::Centred;
};

// "Steering Pot Centerpoint (Bias):", JD or MT.
class CTrackBiasDlg final : public CTrackDialog {
    Q_OBJECT

public:
    // changeDeadband runs the deadband dialog (MT).
    CTrackBiasDlg(CUiContext& context, CTrackBiasCal& cal, std::function<void()> changeDeadband,
                  QWidget* parent = nullptr);

    QSlider* Slider() const { return slider_; }
    CStepArrowsEdit* BiasEdit() const { return bias_; }
    QPushButton* Button(const char* name) const;
    CTurnRatePanel* Panel() const { return panel_; }

protected:
    bool OnInitDialog() override;

private:
    void ShowState();
    // Stores the bias and closes with result.
    void StoreAndClose(int result);

    CTrackBiasCal& cal_;
    QSlider* slider_ = nullptr;
    CStepArrowsEdit* bias_ = nullptr;
    CTurnRatePanel* panel_ = nullptr;
    QPushButton* turnLeft_ = nullptr;
    QPushButton* turnRight_ = nullptr;
};

// "Deadband Compensation:".
class CDeadbandDlg final : public CHCDialog {
    Q_OBJECT

public:
    explicit CDeadbandDlg(CUiContext& context, QWidget* parent = nullptr);
    CDeadbandCal& Rules() { return cal_; }
    QSlider* Slider() const { return slider_; }
    QPushButton* OkButton() const { return ok_; }

protected:
    bool OnInitDialog() override;

private:
    void ShowState();

    CDeadbandCal cal_;
    QSlider* slider_ = nullptr;
    CStepArrowsEdit* value_ = nullptr;
    QPushButton* ok_ = nullptr;
};

// The MT track spacing test.
class CTrackSpacingDlg final : public CTrackDialog {
    Q_OBJECT

public:
    CTrackSpacingDlg(CUiContext& context, CTrackSpacingCal& cal, QWidget* parent = nullptr);
    QLineEdit* SpacingEdit() const { return spacing_; }
    QPushButton* Button(const char* name) const;

protected:
    bool OnInitDialog() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowState(bool withSpacing);
    void TakeSpacing();

    CTrackSpacingCal& cal_;
    QLineEdit* spacing_ = nullptr;
    QLabel* unit_ = nullptr;
    CTurnRatePanel* panel_ = nullptr;
    QPushButton* turnLeft_ = nullptr;
    QPushButton* turnRight_ = nullptr;
    bool editing_ = false;
};

// Shows one dialog of a chain, made afresh over the chain's rules, and
// returns how it ended.
int RunTrackDialog(CUiContext& context, CTrackSteeringChain& chain, TrackDialog dialog, QWidget* parent);

} // namespace halcyra
