#include "config/ui/ConfigSheet.h"

#include "config/ui/CfgPages.h"
#include "config/ui/CfgVehicleModelPage.h"
#include "pages/SerialGuard.h"
#include "pages/ui/UiContext.h"

namespace halcyra {

CConfigSheet::CConfigSheet(CUiContext& context, QWidget* parent, SheetPages pages)
    : CHCPropertySheet(QString(), parent), context_(context), display_(new CCfgDisplayPage(context, this)),
      gps_(new CCfgGPSPage(context, this)), lightbar_(new CCfgLightbarPage(context, this)),
      operation_(new CCfgOperationPage(context, this)), radio_(new CCfgRadioPage(context, this)),
      vehicleModel_(new CCfgVehicleModelPage(context, this)), sensors_(new CCfgSensorsPage(context, this)),
      doroZiriv_(new CCfgDoroZirivPage(context, this)), lowSpeed_(new CCfgLowSpeedPage(context, this)),
      pages_{{ConfigPage::VehicleModel, vehicleModel_}, {ConfigPage::Display, display_},
             {ConfigPage::GPS, gps_},                   {ConfigPage::Lightbar, lightbar_},
             {ConfigPage::Operation, operation_},       {ConfigPage::DoroZiriv, doroZiriv_},
             {ConfigPage::Sensors, sensors_},           {ConfigPage::LowSpeed, lowSpeed_},
             {ConfigPage::Radio, radio_}}
{
    for (const auto& [which, page] : pages_)
        page->hide();
    if (pages == SheetPages::Selected)
        SelectPages();
}

void CConfigSheet::SelectPages()
{
    RemoveAllPages();
    std::vector<ConfigPage> selected = {ConfigPage::VehicleModel};
    RunGuarded(context_.notifier, [&] { selected = ReadConfigurationPages(context_.link); });
    for (ConfigPage page : selected)
        AddPage(Page(page));
}

void CConfigSheet::OnInitDialog() { setWindowTitle(QStringLiteral("Halcyra Toolbox Configuration")); }

} // namespace halcyra
