#pragma once
// "Controller Orientation": a picture of the controller as mounted, seen
// from above the tractor, turned in quarter turns by six controls; the
// angles can also be typed in.

#include "calibration/Orientation.h"
#include "pages/ui/HCDialog.h"
#include "pages/ui/HCPropertyPage.h"

class QAbstractButton;
class QLabel;

namespace halcyra {

class CFieldBinder;

// The picture of an orientation table entry, or of none (kNoOrientationPicture).
QString OrientationPicture(int picture);

// "Orientation Angles": yaw, pitch and roll typed in, 0 to 360 degrees each.
class COrientationAnglesDlg final : public CHCDialog {
    Q_OBJECT

public:
    COrientationAnglesDlg(CUiContext& context, float yaw, float pitch, float roll, QWidget* parent = nullptr);
    float Yaw() const { return yaw_; }
    float Pitch() const { return pitch_; }
    float Roll() const { return roll_; }
    CFieldBinder* Fields() const { return binder_; }

    void accept() override;

private:
    float yaw_;
    float pitch_;
    float roll_;
    CFieldBinder* binder_ = nullptr;
};

class CCalOrientationPage final : public CHCPropertyPage {
    Q_OBJECT

public:
    explicit CCalOrientationPage(CUiContext& context, QWidget* parent = nullptr);

    COrientationCal& Rules() { return cal_; }
    QAbstractButton* RotateButton(RotateControl control) const { return rotate_[static_cast<int>(control)]; }
    QLabel* Picture() const { return picture_; }
    int PictureShown() const { return shown_; }
    QAbstractButton* AnglesButton() const { return angles_; }
    QAbstractButton* HelpButton() const { return help_; }

protected:
    // Each showing pictures the angles just read from the controller.
    void OnBeforeRefresh() override { cal_.FromParams(); ShowState(); }

private:
    void ShowState();
    void EnterAngles();

    COrientationCal cal_;
    QLabel* picture_ = nullptr;
    QAbstractButton* rotate_[kRotateControls] = {};
    QAbstractButton* angles_ = nullptr;
    QAbstractButton* help_ = nullptr;
    int shown_ = -1;
};

} // namespace halcyra
