#pragma once
// "Halcyra Toolbox Calibration": the sheet of calibration pages. It owns one
// page of every calibration class and, when it is built, adds those that
// suit the connected vehicle, in their order.

#include "calibration/CalibrationPages.h"
#include "pages/ui/HCPropertySheet.h"

#include <array>

namespace halcyra {

class CUiContext;

// A new page of the class.
CHCPropertyPage* MakeCalPage(CalPage page, CUiContext& context, QWidget* parent);

class CCalSheet final : public CHCPropertySheet {
    Q_OBJECT

public:
    // Reads the vehicle from the controller to choose the pages, unless
    // asked to hold none.
    explicit CCalSheet(CUiContext& context, QWidget* parent = nullptr, SheetPages pages = SheetPages::Selected);

    // The page of a class, whether or not the sheet holds it.
    CHCPropertyPage* Page(CalPage page) const { return pages_[static_cast<std::size_t>(page)]; }
    const CalibrationVehicle& Vehicle() const { return vehicle_; }
    bool OrientationNonStandard() const { return vehicle_.orientationNonStandard; }

protected:
    void OnInitDialog() override;

private:
    std::array<CHCPropertyPage*, kCalPageCount> pages_{};
    CalibrationVehicle vehicle_;
};

} // namespace halcyra
