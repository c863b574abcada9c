#pragma once
// The controller's mounting orientation. Yaw, pitch and roll (iay, iap, iar,
// degrees) make a rotation matrix; rounded to -1, 0 and 1 it is one of the
// 24 axis-aligned mountings, each shown by a picture of its own, or none of
// them. The user turns the picture in quarter turns, and the angles follow.

#include "params/Param.h"

#include <array>
#include <string>
#include <vector>

namespace halcyra {

class CParamSet;

using Matrix = std::array<std::array<double, 3>, 3>;
using RoundedMatrix = std::array<std::array<int, 3>, 3>;

// Rows: the controller's own axes (forward, right, down) in the vehicle's.
Matrix RotationMatrix(double yaw, double pitch, double roll); // radians
// Each element below -0.01 becomes -1, above 0.01 becomes 1, else 0.
RoundedMatrix Rounded(const Matrix& matrix);
RoundedMatrix Product(const RoundedMatrix& left, const RoundedMatrix& right);

struct OrientationEntry {
    RoundedMatrix matrix;
    // Degrees as the table was built (0, 180, 90 or -90).
    double yaw, pitch, roll;
};

// The 24 mountings in the order their pictures are numbered.
const std::vector<OrientationEntry>& OrientationTable();
inline constexpr int kOrientationCount = 24;
// The picture for a matrix that matches no mounting.
inline constexpr int kNoOrientationPicture = 24;
// The entry holding matrix, or -1.
int FindOrientation(const RoundedMatrix& matrix);

// The six rotate controls, in the order the page shows them.
enum class RotateControl { Up, Down, Left, Right, Counterclockwise, Clockwise };
inline constexpr int kRotateControls = 6;
// "/\", "\/", "<", ">"; the curved arrows have pictures instead.
const char* RotateControlText(RotateControl control);
const RoundedMatrix& RotateMatrix(RotateControl control);

inline constexpr const char* kOrientationHelpCaption = "Controller Orientation Help";
std::string OrientationHelpText();

// An angle as the parameters keep it: from 0 up to 360.
float StoredAngle(double degrees);

class COrientationCal {
public:
    // Adds iay, iap and iar to the page's parameters.
    explicit COrientationCal(CParamSet& pageParams);

    // The matrix and picture from the angles; the angles stay as they are.
    void FromParams();
    // A quarter turn: the picture of the new mounting, whose angles the
    // parameters take when it is one of the table's.
    void Rotate(RotateControl control);
    // Angles typed into "Orientation Angles", in degrees: the dialog's OK.
    void EnterAngles(float yaw, float pitch, float roll);
    // However the dialog closed: the matrix and picture from the angles,
    // and a mounting of the table puts its own angles in.
    void AnglesDialogClosed();

    int Picture() const { return entry_ >= 0 ? entry_ : kNoOrientationPicture; }
    int Entry() const { return entry_; }
    const RoundedMatrix& Current() const { return current_; }
    CFloatParam& Yaw() { return iay_; }
    CFloatParam& Pitch() { return iap_; }
    CFloatParam& Roll() { return iar_; }

private:
    void LookUp(const RoundedMatrix& matrix);
    // A mounting of the table puts its own angles into the parameters.
    void TakeEntryAngles();

    CFloatParam iay_;
    CFloatParam iap_;
    CFloatParam iar_;
    RoundedMatrix current_{};
    int entry_ = -1;
};

} // namespace halcyra
