#include "config/SensorsModel.h"

namespace halcyra {

namespace {

// The box is ticked when the input is used: when the parameter is not 1.
CFieldValue InputUsed(CByteParam& ignored)
{
    return CFieldValue::Computed([&ignored] { return ignored.value != 1 ? 1.0 : 0.0; },
                                 [&ignored](double used) { ignored.value = used != 0 ? 0u : 1u; })
        .From(ignored);
}

} // namespace

CSensorsModel::CSensorsModel(CPageLogic& logic) : wheelSpeedIgnored("lso", &logic.params), gearLeverIgnored("vde", &logic.params)
{
}

PageFields CSensorsModel::Fields()
{
    return {
        field::Check("wheelSpeed", "Use Wheel Speed / Neutral Sense", InputUsed(wheelSpeedIgnored))
            .EnabledWhen([this] { return !locked; }),
        field::Check("gearLever", "Use Gear Lever Sensor", InputUsed(gearLeverIgnored))
            .EnabledWhen([this] { return !locked; }),
        field::Label("explanation", CFieldValue::Text(explanation)),
    };
}

void CSensorsModel::BeforeActivation(CControllerLink& link)
{
    CUIntParam sensor("sge");
    locked = sensor.Get(link) && sensor.value == 1;
    explanation = locked ? kSensorsDoroZirivExplanation : kSensorsExplanation;
}

void CSensorsModel::Rules()
{
    if (!locked)
        return;
    wheelSpeedIgnored.value = 1;
    gearLeverIgnored.value = 1;
}

} // namespace halcyra
