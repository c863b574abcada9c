#pragma once
// "Calibration": the second tab of the setup sheet. It owns the calibration
// sheet, lists the calibrations it holds for the connected vehicle and opens
// the chosen one.

#include "calibration/CalibrationPages.h"
#include "pages/ui/ContentsListPage.h"

namespace halcyra {

class CCalSheet;

class CCalContentsPage : public CContentsListPage {
    Q_OBJECT

public:
    // Builds the calibration sheet, which reads the vehicle from the controller.
    explicit CCalContentsPage(CUiContext& context, QWidget* parent = nullptr);
    bool OnInitDialog() override;

    CCalSheet& CalSheet() const { return *sheet_; }

protected:
    std::vector<std::string> SheetPageNames() const override;
    void OpenSheetAt(int index) override;
    void AfterOpen() override;

private:
    CCalSheet* sheet_ = nullptr; // owned as a child
};

} // namespace halcyra
