#pragma once
// "Calibration": the second tab of the setup sheet. It lists the
// calibrations that suit the connected vehicle and opens the chosen one.

#include "calibration/CalibrationPages.h"
#include "pages/ui/ContentsListPage.h"

namespace halcyra {

class CCalContentsPage : public CContentsListPage {
    Q_OBJECT

public:
    explicit CCalContentsPage(CUiContext& context, QWidget* parent = nullptr);
    bool OnInitDialog() override;

protected:
    std::vector<std::string> SheetPageNames() const override;
    void AfterOpen() override;
};

} // namespace halcyra
