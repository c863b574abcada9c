#pragma once
// "Halcyra Toolbox Configuration": the sheet of configuration pages. All nine
// pages exist with the sheet; it holds those that suit the connected vehicle,
// chosen when it is built.

#include "config/ConfigurationPages.h"
#include "pages/ui/HCPropertySheet.h"

#include <map>

namespace halcyra {

class CCfgDisplayPage;
class CCfgDoroZirivPage;
class CCfgGPSPage;
class CCfgLightbarPage;
class CCfgLowSpeedPage;
class CCfgOperationPage;
class CCfgRadioPage;
class CCfgSensorsPage;
class CCfgVehicleModelPage;
class CUiContext;

class CConfigSheet : public CHCPropertySheet {
    Q_OBJECT

public:
    explicit CConfigSheet(CUiContext& context, QWidget* parent = nullptr, SheetPages pages = SheetPages::Selected);

    // Reads the vehicle model and the correction type and holds the pages
    // that suit them, in order. A port failure is reported; the sheet then
    // holds the vehicle model page alone.
    void SelectPages();

    CHCPropertyPage* Page(ConfigPage page) const { return pages_.at(page); }
    CCfgVehicleModelPage* VehicleModelPage() const { return vehicleModel_; }
    CCfgDisplayPage* DisplayPage() const { return display_; }
    CCfgGPSPage* GPSPage() const { return gps_; }
    CCfgLightbarPage* LightbarPage() const { return lightbar_; }
    CCfgOperationPage* OperationPage() const { return operation_; }
    CCfgRadioPage* RadioPage() const { return radio_; }
    CCfgSensorsPage* SensorsPage() const { return sensors_; }
    CCfgDoroZirivPage* DoroZirivPage() const { return doroZiriv_; }
    CCfgLowSpeedPage* LowSpeedPage() const { return lowSpeed_; }

protected:
    void OnInitDialog() override;

private:
    CUiContext& context_;
    // Children of the sheet, whether it holds them or not.
    CCfgDisplayPage* display_;
    CCfgGPSPage* gps_;
    CCfgLightbarPage* lightbar_;
    CCfgOperationPage* operation_;
    CCfgRadioPage* radio_;
    CCfgVehicleModelPage* vehicleModel_;
    CCfgSensorsPage* sensors_;
    CCfgDoroZirivPage* doroZiriv_;
    CCfgLowSpeedPage* lowSpeed_;
    std::map<ConfigPage, CHCPropertyPage*> pages_;
};

} // namespace halcyra
