#pragma once
// "Configuration": the first tab of the setup sheet. It lists the
// configuration pages that suit the connected vehicle and opens the chosen one.

#include "config/ConfigurationPages.h"
#include "pages/ui/ContentsListPage.h"

namespace halcyra {

class CConfigSheet;

class CConfigContentsPage : public CContentsListPage {
    Q_OBJECT

public:
    // Builds the configuration sheet, which asks the controller which pages suit it.
    explicit CConfigContentsPage(CUiContext& context, QWidget* parent = nullptr);
    bool OnInitDialog() override;
    bool OnSetActive() override;

    CConfigSheet& ConfigurationSheet() const { return *sheet_; }

protected:
    std::vector<std::string> SheetPageNames() const override;
    void OpenSheetAt(int index) override;
    // Whatever happened in the configuration sheet (a vehicle change alters
    // its pages), the setup sheet is rebuilt.
    void AfterOpen() override { EndSheet(kConfigContentsResult); }

private:
    CConfigSheet* sheet_; // a child of this page
};

} // namespace halcyra
