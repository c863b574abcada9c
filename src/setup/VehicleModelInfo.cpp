#include "setup/VehicleModelInfo.h"

#include "params/Param.h"

namespace halcyra {

bool CVehicleModelInfo::Read(CControllerLink& link)
{
    CUIntParam type("vtt");
    CUIntParam index("vti");
    CStringParam model("vms");
    if (!type.Get(link) || !index.Get(link) || !model.Get(link))
        return false;
    vehicleType = type.value;
    vehicleIndex = index.value;
    modelName = model.value;
    return true;
}

} // namespace halcyra
