#include "sim/VehicleTypeFeature.h"

#include "link/Format.h"
#include "sim/SimController.h"

#include <algorithm>
#include <utility>

namespace halcyra::sim {

namespace {

struct Vehicle {
    const char* name;
    // Parameters in their text form.
    std::vector<std::pair<const char*, std::string>> params;
};

const std::vector<Vehicle>& Vehicles()
{
    static const std::vector<Vehicle> vehicles = {
        {"wheeled", {{"vtt", "5"}, {"vlt", "0"}, {"vms", "\"Fieldora 8240W\""}}},
        // The knees of hydraulic pumps, a little below where the tracks turn.
        {"hydraulic-track",
         {{"vtt", "2"}, {"vlt", "0"}, {"vms", "\"Fieldora 9470T\""}, {"dk0", "1.500000"}, {"dk1", "1.500000"}}},
        {"jd-track", {{"vtt", "3"}, {"vlt", "0"}, {"vms", "\"Fieldora 8320RT\""}}},
        {"jd-x30-track", {{"vtt", "3"}, {"vlt", "11"}, {"vms", "\"Fieldora 8330RT\""}}},
        {"mt-track", {{"vtt", "7"}, {"vlt", "0"}, {"vms", "\"Fieldora MT765\""}}},
        {"mt-track-basic", {{"vtt", "7"}, {"vlt", "10"}, {"vms", "\"Fieldora MT755\""}}},
        {"implement", {{"vtt", "8"}, {"vlt", "0"}, {"vms", "\"Fieldora Implement\""}}},
    };
    return vehicles;
}

bool KnownVehicle(const std::string& name, std::string& why)
{
    for (const Vehicle& vehicle : Vehicles())
        if (name == vehicle.name)
            return true;
    why = "expected one of";
    for (const Vehicle& vehicle : Vehicles())
        why += std::string(" ") + vehicle.name;
    return false;
}

const TSimOption<std::string> kVehicle{"vehicle-type", "TYPE", "wheeled",
                                       "vehicle type: wheeled, hydraulic-track, jd-track, jd-x30-track, mt-track, "
                                       "mt-track-basic or implement",
                                       KnownVehicle};
const TSimOption<MountingAngles> kMounting{"mounting", "YAW,PITCH,ROLL", "0,0,0",
                                           "controller mounting angles in degrees, 0 to 360 each"};

} // namespace

bool ParseOptionValue(std::string_view text, MountingAngles& value, std::string& why)
{
    double* angles[] = {&value.yaw, &value.pitch, &value.roll};
    for (std::size_t i = 0; i < 3; ++i) {
        const std::size_t comma = text.find(',');
        const std::string_view part = text.substr(0, comma);
        if ((i < 2) == (comma == std::string_view::npos) || !ParseDecimal(part, 0, 360, *angles[i], why)) {
            why = "expected YAW,PITCH,ROLL, each 0 to 360 degrees";
            return false;
        }
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    }
    return true;
}

std::vector<const CSimOption*> CVehicleTypeFeature::Options() { return {&kVehicle, &kMounting}; }

CVehicleTypeFeature::CVehicleTypeFeature(const SimSettings& settings)
    : vehicle_(kVehicle.From(settings)), mounting_(kMounting.From(settings))
{
}

const std::vector<std::string>& CVehicleTypeFeature::VehicleNames()
{
    static const std::vector<std::string> names = [] {
        std::vector<std::string> list;
        for (const Vehicle& vehicle : Vehicles())
            list.emplace_back(vehicle.name);
        return list;
    }();
    return names;
}

void CVehicleTypeFeature::Register(CSimController& sim)
{
    for (const Vehicle& vehicle : Vehicles())
        if (vehicle_ == vehicle.name)
            for (const auto& [name, value] : vehicle.params)
                sim.Params().Set(name, value);
    sim.Params().Set("iay", Format("%f", mounting_.yaw));
    sim.Params().Set("iap", Format("%f", mounting_.pitch));
    sim.Params().Set("iar", Format("%f", mounting_.roll));
}

} // namespace halcyra::sim
