#include "setup/InformationModel.h"

#include "link/ControllerLink.h"
#include "link/Format.h"
#include "params/ParamSet.h"
#include "setup/InfoMessages.h"
#include "setup/VehicleModelInfo.h"


namespace halcyra {

CInformationModel::CInformationModel(CParamSet& set)
    : monVerMajor("MonVerCVMajor", &set), monVerMinor("MonVerCVMinor", &set), monVerMonth("MonVerCVMonth", &set),
      monVerDay("MonVerCVDay", &set), monVerYear("MonVerCVYear", &set)
{
}

const char* CInformationModel::OptionName(int index)
{
    static const char* const names[32] = {
        "Orlic Display", "Logging", "Safety MCU", "GPS Simulation", "DAQ Simulation", "Diagnostic Mode Enabled",
        "IMU", "Factory Testing", "Lightbar", "Tarnet", "RTK", "ISO VT Display"};
    return index >= 0 && index < 32 ? names[index] : nullptr;
}

std::string CInformationModel::OptionsText(const std::uint8_t (&flags)[64])
{
    std::string text;
    for (int i = 1; i < 64; ++i) {
        const char* name = OptionName(i);
        if (!flags[i] || !name)
            continue;
        if (!text.empty())
            text += ", ";
        text += name;
    }
    return text;
}

void CInformationModel::UpdateMonitorTexts()
{
    monitorVersion = Format("%.2f", static_cast<double>(static_cast<float>(monVerMajor.value) +
                                                         static_cast<float>(monVerMinor.value) * 0.01f));
    monitorDate = Format("%d/%d/%d", static_cast<int>(monVerMonth.value), static_cast<int>(monVerDay.value),
                         static_cast<int>(monVerYear.value));
}

void CInformationModel::Refresh(CControllerLink& link)
{
    CUnitInfoMsg unit;
    if (link.Transact(unit)) {
        unitRead = true;
        serialNumber = unit.SerialNumber();
        optionsInstalled = OptionsText(unit.options);
    }
    CFirmwareInfoMsg firmware;
    if (link.Transact(firmware)) {
        firmwareRead = true;
        applicationVersion = Format("%.2f", static_cast<double>(firmware.Version()));
        applicationDate = Format("%d/%d/%d", static_cast<int>(firmware.month), static_cast<int>(firmware.day),
                                 static_cast<int>(firmware.year));
    }
    UpdateMonitorTexts();
    CVehicleModelInfo vehicle;
    if (vehicle.Read(link)) {
        vehicleRead = true;
        vehicleModel = vehicle.modelName;
    }
}

std::vector<CInformationModel::Line> CInformationModel::Lines() const
{
    const bool monitorVersionRead = monVerMajor.IsRetrieved() && monVerMinor.IsRetrieved();
    const bool monitorDateRead = monVerMonth.IsRetrieved() && monVerDay.IsRetrieved() && monVerYear.IsRetrieved();
    return {{"Serial Number:", &serialNumber, unitRead},
            {"Application Version:", &applicationVersion, firmwareRead},
            {"Application Date:", &applicationDate, firmwareRead},
            {"Options Installed:", &optionsInstalled, unitRead},
            {"Vehicle Model:", &vehicleModel, vehicleRead},
            {"Monitor Version:", &monitorVersion, monitorVersionRead},
            {"Monitor Date:", &monitorDate, monitorDateRead}};
}

bool CInformationModel::AllRead() const
{
    for (const Line& line : Lines())
        if (!line.read)
            return false;
    return true;
}

} // namespace halcyra
