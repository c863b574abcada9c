#pragma once
// "Configuration": the first tab of the setup sheet. It lists the
// configuration pages that suit the connected vehicle and opens the chosen one.

#include "config/ConfigurationPages.h"
#include "pages/ui/ContentsListPage.h"

namespace halcyra {

class CConfigContentsPage : public CContentsListPage {
    Q_OBJECT

public:
    explicit CConfigContentsPage(CUiContext& context, QWidget* parent = nullptr);
    bool OnInitDialog() override;
    bool OnSetActive() override;

protected:
    std::vector<std::string> SheetPageNames() const override;
    // Whatever happened in the configuration sheet (a vehicle change alters
    // its pages), the setup sheet is rebuilt.
    void AfterOpen() override { EndSheet(kConfigContentsResult); }
};

} // namespace halcyra
