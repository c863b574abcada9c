#pragma once
// "Installation Diagnostics": one page for each input the controller is
// configured with, chosen once when the sheet is made.

#include "diagnostics/DiagnosticsPages.h"
#include "pages/ui/HCPropertySheet.h"

#include <array>

namespace halcyra {

class CHCDiagnosticsPropertyPage;
class CUiContext;

class CDiagSheet final : public CHCPropertySheet {
    Q_OBJECT

public:
    // Reads the controller's input configuration.
    explicit CDiagSheet(CUiContext& context, QWidget* parent = nullptr);

    // The sheet's page of that kind, whether the sheet holds it or not.
    CHCDiagnosticsPropertyPage* Page(DiagPage page) const { return pages_[static_cast<std::size_t>(page)]; }

protected:
    void OnInitDialog() override;

private:
    std::array<CHCDiagnosticsPropertyPage*, kDiagPageCount> pages_{};
};

} // namespace halcyra
