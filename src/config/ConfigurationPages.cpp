#include "config/ConfigurationPages.h"

#include "params/Param.h"
#include "setup/VehicleModelInfo.h"

namespace halcyra {

const char* ConfigPageTitle(ConfigPage page)
{
    switch (page) {
    case ConfigPage::VehicleModel:
        return "Vehicle Model";
    case ConfigPage::Display:
        return "Displayed Units and Language";
    case ConfigPage::GPS:
        return "GPS Configuration";
    case ConfigPage::Lightbar:
        return "Lightbar Configuration";
    case ConfigPage::Operation:
        return "Operational Parameters";
    case ConfigPage::DoroZiriv:
        return "DoroZiriv";
    case ConfigPage::Sensors:
        return "Sensors Configuration";
    case ConfigPage::LowSpeed:
        return "Valve On Speed";
    case ConfigPage::Radio:
        return "Radio Network ID";
    }
    return "";
}

const char* ConfigPageHeading(ConfigPage page)
{
    switch (page) {
    case ConfigPage::VehicleModel:
        return "Vehicle Configuration";
    case ConfigPage::Display:
        return "Displayed Units and Language:";
    case ConfigPage::GPS:
        return "GPS Receiver Configuration:";
    case ConfigPage::Lightbar:
        return "Lightbar Configuration:";
    case ConfigPage::Operation:
        return "Operational Parameters:";
    case ConfigPage::DoroZiriv:
        return "Installed Steering Angle Sensor:";
    case ConfigPage::Sensors:
        return "Sensors Configuration";
    case ConfigPage::LowSpeed:
        return "Valve On Speed Settings:";
    case ConfigPage::Radio:
        return "Radio Configuration:";
    }
    return "";
}

std::vector<ConfigPage> SelectConfigurationPages(std::uint32_t vehicleType, bool rtkCorrection)
{
    std::vector<ConfigPage> pages = {ConfigPage::VehicleModel};
    if (vehicleType >= 1 && vehicleType <= 8) {
        pages.insert(pages.end(), {ConfigPage::Display, ConfigPage::GPS, ConfigPage::Lightbar, ConfigPage::Operation});
        if (vehicleType == 1 || vehicleType == 4 || vehicleType == 5 || vehicleType == 6)
            pages.push_back(ConfigPage::DoroZiriv);
        pages.insert(pages.end(), {ConfigPage::Sensors, ConfigPage::LowSpeed});
    }
    if (rtkCorrection)
        pages.push_back(ConfigPage::Radio);
    return pages;
}

std::vector<ConfigPage> ReadConfigurationPages(CControllerLink& link)
{
    CVehicleModelInfo vehicle;
    vehicle.Read(link); // a failed read leaves type 0: the vehicle model page alone
    CUIntParam correction("gct");
    const bool rtk = correction.Get(link) && correction.value == kRtkCorrection;
    return SelectConfigurationPages(vehicle.vehicleType, rtk);
}

std::vector<std::string> ConfigurationPageTitles(CControllerLink& link)
{
    std::vector<std::string> titles;
    for (ConfigPage page : ReadConfigurationPages(link))
        titles.push_back(ConfigPageTitle(page));
    return titles;
}

} // namespace halcyra
