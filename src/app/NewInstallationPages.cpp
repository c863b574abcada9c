#include "app/NewInstallationPages.h"

namespace halcyra {

std::vector<int> NewInstallationConfigurationList(const std::vector<ConfigPage>& sheetPages)
{
    std::vector<int> ids;
    for (ConfigPage page : sheetPages)
        if (page != ConfigPage::VehicleModel)
            ids.push_back(static_cast<int>(page));
    return ids;
}

std::vector<int> NewInstallationCalibrationList(const std::vector<CalPage>& sheetPages)
{
    std::vector<int> ids;
    for (CalPage page : sheetPages)
        if (page != CalPage::Aggressiveness && page != CalPage::ImplSteerSensor)
            ids.push_back(static_cast<int>(page));
    return ids;
}

ConfigPage ConfigPageOf(int id) { return static_cast<ConfigPage>(id); }

CalPage CalPageOf(int id) { return static_cast<CalPage>(id); }

std::vector<int> ReadNewInstallationConfigurationList(CControllerLink& link)
{
    return NewInstallationConfigurationList(ReadConfigurationPages(link));
}

std::vector<int> ReadNewInstallationCalibrationList(CControllerLink& link)
{
    return NewInstallationCalibrationList(SelectCalibrationPages(ReadCalibrationVehicle(link)));
}

} // namespace halcyra
