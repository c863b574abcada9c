#pragma once
// "Diagnostics": the third tab of the setup sheet. It lists the live-value
// pages of the installed sensors, switches and outputs and opens the chosen one.

#include "diagnostics/DiagnosticsPages.h"
#include "pages/ui/ContentsListPage.h"

namespace halcyra {

class CDiagSheet;

class CDiagContentsPage : public CContentsListPage {
    Q_OBJECT

public:
    explicit CDiagContentsPage(CUiContext& context, QWidget* parent = nullptr);
    bool OnInitDialog() override;

    // The diagnostics sheet, made (and its pages chosen) when this page is
    // first shown; it keeps its pages while this page lives.
    CDiagSheet* DiagSheet() const { return sheet_; }

protected:
    std::vector<std::string> SheetPageNames() const override;
    void OpenSheetAt(int index) override;
    void AfterOpen() override;

private:
    CDiagSheet* sheet_ = nullptr; // a child of this page
};

} // namespace halcyra
