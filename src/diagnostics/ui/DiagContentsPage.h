#pragma once
// "Diagnostics": the third tab of the setup sheet. It lists the live-value
// pages of the installed sensors, switches and outputs and opens the chosen one.

#include "diagnostics/DiagnosticsPages.h"
#include "pages/ui/ContentsListPage.h"

namespace halcyra {

class CDiagContentsPage : public CContentsListPage {
    Q_OBJECT

public:
    explicit CDiagContentsPage(CUiContext& context, QWidget* parent = nullptr);
    bool OnInitDialog() override;

protected:
    std::vector<std::string> SheetPageNames() const override;
    void AfterOpen() override;
};

} // namespace halcyra
