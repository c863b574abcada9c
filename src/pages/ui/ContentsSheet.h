#pragma once
// "Halcyra Toolbox Setup": the sheet the main dialog's Edit Setup /
// Diagnostics command opens. The program gives it its five pages, in tab
// order: configuration, calibration, diagnostics, faults, information.

#include "pages/ui/HCPropertySheet.h"

namespace halcyra {

class CContentsSheet : public CHCPropertySheet {
    Q_OBJECT

public:
    explicit CContentsSheet(std::uint8_t mode = 1, QWidget* parent = nullptr);
};

} // namespace halcyra
