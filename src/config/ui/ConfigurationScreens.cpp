#include "config/ui/ConfigurationScreens.h"

#include "config/ui/CfgVehicleModelPage.h"
#include "config/ui/ConfigSheet.h"
#include "pages/ui/ScreenRenderer.h"
#include "pages/ui/UiContext.h"

#include <QDialog>
#include <QRadioButton>

namespace halcyra {

namespace {

QString ScreenName(ConfigPage page)
{
    switch (page) {
    case ConfigPage::VehicleModel:
        return QStringLiteral("config-vehicle-model");
    case ConfigPage::Display:
        return QStringLiteral("config-display");
    case ConfigPage::GPS:
        return QStringLiteral("config-gps");
    case ConfigPage::Lightbar:
        return QStringLiteral("config-lightbar");
    case ConfigPage::Operation:
        return QStringLiteral("config-operation");
    case ConfigPage::DoroZiriv:
        return QStringLiteral("config-doroziriv");
    case ConfigPage::Sensors:
        return QStringLiteral("config-sensors");
    case ConfigPage::LowSpeed:
        return QStringLiteral("config-valve-on-speed");
    case ConfigPage::Radio:
        return QStringLiteral("config-radio");
    }
    return {};
}

} // namespace

void RenderConfigurationScreens(CUiContext& context, QWidget* parent, CScreenRenderer& screens)
{
    CConfigSheet sheet(context, parent);
    CScreenRenderer::Show(sheet);
    for (int i = 0; i < sheet.GetPageCount(); ++i) {
        sheet.SetActivePage(i);
        for (const auto page : {ConfigPage::VehicleModel, ConfigPage::Display, ConfigPage::GPS, ConfigPage::Lightbar,
                                ConfigPage::Operation, ConfigPage::DoroZiriv, ConfigPage::Sensors,
                                ConfigPage::LowSpeed, ConfigPage::Radio})
            if (sheet.GetPage(i) == sheet.Page(page))
                screens.Save(sheet, ScreenName(page));
    }
    // The vehicle model page as it offers a profile file.
    if (sheet.SetActivePage(sheet.VehicleModelPage())) {
        auto* external = sheet.VehicleModelPage()->findChild<QRadioButton*>(QStringLiteral("mode1"));
        if (external && external->isVisible()) {
            external->click();
            screens.Save(sheet, QStringLiteral("config-vehicle-model-profile"));
        }
    }
    sheet.done(QDialog::Rejected);
}

} // namespace halcyra
