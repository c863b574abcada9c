#pragma once
// "Vehicle Model": the controller's vehicle model, changed by choosing one
// from the controller's vehicle list or by uploading a vehicle profile file.
// The change takes a restart of the controller; the sheet is built again
// afterwards with the pages of the new vehicle.

#include "config/VehicleChange.h"
#include "pages/ui/HCPropertyPage.h"

#include <chrono>

class QPushButton;

namespace halcyra {

class CCfgVehicleModelPage : public CHCPropertyPage {
    Q_OBJECT

public:
    explicit CCfgVehicleModelPage(CUiContext& context, QWidget* parent = nullptr);

    bool OnSetActive() override;
    bool OnKillActive() override;
    bool OnQueryCancel() override;

    CVehicleModelState& State() { return state_; }
    QPushButton* BrowseButton() const { return browse_; }
    QPushButton* RefreshButton() const { return refresh_; }
    QPushButton* SelectButton() const { return select_; }
    // How long the restarting controller is left alone before it is polled.
    void SetRestartPause(std::chrono::milliseconds pause) { restartPause_ = pause; }

protected:
    void UpdateControls() override;

private:
    void OnBrowse();
    void OnRefresh();
    void OnSelect();
    void OnModeChosen(int mode);
    CVehicleModelState::ApplyOptions Options(CBusyReports& busy, ProgressCallback progress) const;
    template <typename Step> void WithApplyOptions(Step step);

    CVehicleModelState state_;
    QPushButton* browse_ = nullptr;
    QPushButton* refresh_ = nullptr;
    QPushButton* select_ = nullptr;
    std::chrono::milliseconds restartPause_{5000};
};

} // namespace halcyra
