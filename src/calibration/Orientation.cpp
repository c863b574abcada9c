#include "calibration/Orientation.h"

#include <cmath>
#include <numbers>

namespace halcyra {

namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180;

} // namespace

Matrix RotationMatrix(double yaw, double pitch, double roll)
{
    const double cy = std::cos(yaw), sy = std::sin(yaw);
    const double cp = std::cos(pitch), sp = std::sin(pitch);
    const double cr = std::cos(roll), sr = std::sin(roll);
    return {{
        {cp * cy, cp * sy, -sp},
        {cy * sp * sr - sy * cr, cy * cr + sy * sp * sr, cp * sr},
        {cy * sp * cr + sy * sr, sy * sp * cr - cy * sr, cp * cr},
    }};
}

RoundedMatrix Rounded(const Matrix& matrix)
{
    RoundedMatrix rounded{};
    for (std::size_t i = 0; i < 3; ++i)
        for (std::size_t j = 0; j < 3; ++j)
            rounded[i][j] = matrix[i][j] < -0.01 ? -1 : matrix[i][j] > 0.01 ? 1 : 0;
    return rounded;
}

RoundedMatrix Product(const RoundedMatrix& left, const RoundedMatrix& right)
{
    RoundedMatrix product{};
    for (std::size_t i = 0; i < 3; ++i)
        for (std::size_t j = 0; j < 3; ++j)
            for (std::size_t k = 0; k < 3; ++k)
                product[i][j] += left[i][k] * right[k][j];
    return product;
}

const std::vector<OrientationEntry>& OrientationTable()
{
    static const std::vector<OrientationEntry> table = [] {
        constexpr double kAngles[] = {0, 180, 90, -90};
        std::vector<OrientationEntry> entries;
        for (double roll : kAngles)
            for (double pitch : kAngles)
                for (double yaw : kAngles) {
                    if (roll == 90 && pitch == 180)
                        continue;
                    const RoundedMatrix matrix = Rounded(
                        RotationMatrix(yaw * kRadiansPerDegree, pitch * kRadiansPerDegree, roll * kRadiansPerDegree));
                    bool known = false;
                    for (const OrientationEntry& entry : entries)
                        known = known || entry.matrix == matrix;
                    if (!known)
                        entries.push_back({matrix, yaw, pitch, roll});
                }
        return entries;
    }();
    return table;
}

int FindOrientation(const RoundedMatrix& matrix)
{
    const std::vector<OrientationEntry>& table = OrientationTable();
    for (std::size_t i = 0; i < table.size(); ++i)
        if (table[i].matrix == matrix)
            return static_cast<int>(i);
    return -1;
}

const char* RotateControlText(RotateControl control)
{
    switch (control) {
    case RotateControl::Up:
        return "/\\";
    case RotateControl::Down:
        return "\\/";
    case RotateControl::Left:
        return "<";
    case RotateControl::Right:
        return ">";
    default:
        return "";
    }
}

const RoundedMatrix& RotateMatrix(RotateControl control)
{
    static const RoundedMatrix kMatrices[kRotateControls] = {
        {{{0, 0, 1}, {0, 1, 0}, {-1, 0, 0}}},  // the top towards the nose
        {{{0, 0, -1}, {0, 1, 0}, {1, 0, 0}}},  // the top towards the back
        {{{1, 0, 0}, {0, 0, -1}, {0, 1, 0}}},  // the top towards the left
        {{{1, 0, 0}, {0, 0, 1}, {0, -1, 0}}},  // the top towards the right
        {{{0, -1, 0}, {1, 0, 0}, {0, 0, 1}}},  // counterclockwise, seen from above
        {{{0, 1, 0}, {-1, 0, 0}, {0, 0, 1}}},  // clockwise, seen from above
    };
    return kMatrices[static_cast<int>(control)];
}

std::string OrientationHelpText()
{
    return std::string("Select the orientation that matches the mounting of the ") + "Halcyra" +
           " controller on the tractor. The image is presented as though the user is looking down on the tractor "
           "facing the nose.";
}

float StoredAngle(double degrees) { return static_cast<float>(degrees < 0 ? degrees + 360 : degrees); }

COrientationCal::COrientationCal(CParamSet& pageParams)
    : iay_("iay", &pageParams), iap_("iap", &pageParams), iar_("iar", &pageParams)
{
}

void COrientationCal::LookUp(const RoundedMatrix& matrix)
{
    current_ = matrix;
    entry_ = FindOrientation(matrix);
}

void COrientationCal::FromParams()
{
    LookUp(Rounded(RotationMatrix(iay_.value * kRadiansPerDegree, iap_.value * kRadiansPerDegree,
                                  iar_.value * kRadiansPerDegree)));
}

void COrientationCal::Rotate(RotateControl control)
{
    LookUp(Product(current_, RotateMatrix(control)));
    TakeEntryAngles();
}

void COrientationCal::TakeEntryAngles()
{
    if (entry_ < 0)
        return;
    const OrientationEntry& entry = OrientationTable()[static_cast<std::size_t>(entry_)];
    iay_.value = StoredAngle(entry.yaw);
    iap_.value = StoredAngle(entry.pitch);
    iar_.value = StoredAngle(entry.roll);
}

void COrientationCal::EnterAngles(float yaw, float pitch, float roll)
{
    iay_.value = yaw;
    iap_.value = pitch;
    iar_.value = roll;
    AnglesDialogClosed();
}

void COrientationCal::AnglesDialogClosed()
{
    FromParams();
    TakeEntryAngles();
}

} // namespace halcyra
