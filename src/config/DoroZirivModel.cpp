#include "config/DoroZirivModel.h"

#include "link/ControllerLink.h"

namespace halcyra {

CDoroZirivModel::CDoroZirivModel(CPageLogic& logic)
    : supported("gss", &logic.params), sensor("sge", &logic.params), wheel("swl", &logic.params),
      wheelSpeed("sws", &logic.params), upsideDown("gud", &logic.params), logic_(logic)
{
}

PageFields CDoroZirivModel::Fields()
{
    const auto doroZiriv = [this] { return sensor.value == kDoroZiriv; };
    return {
        field::Radios("sensor", "", CFieldValue::Number(sensor),
                      {{"Potentiometer", kPotentiometer, [this] { return potentiometerAllowed; }},
                       {"DoroZiriv Sensor", kDoroZiriv, [this] { return doroZirivAllowed; }}}),
        field::Label("mountingLabel", "DoroZiriv Mounting Options:").EnabledWhen(doroZiriv),
        field::Radios("wheel", "", CFieldValue::Number(wheel), {{"Right Wheel", 0}, {"Left Wheel", 1}})
            .EnabledWhen([this, doroZiriv] { return doroZiriv() && wheelSpeed.value >= 0.009f; }),
        field::Check("upsideDown", "Box Mounted Upside Down (Label Down, Box Lid On Top)",
                     CFieldValue::Number(upsideDown))
            .EnabledWhen(doroZiriv),
        field::Label("note", CFieldValue::Text(note)),
    };
}

void CDoroZirivModel::ApplyProfileSupport()
{
    switch (supported.value) {
    case 1:
        potentiometerAllowed = doroZirivAllowed = true;
        note = "Note: The selected vehicle profile\r\nsupports either a Potentiometer or an\r\nDoroZiriv steering angle "
               "sensor";
        break;
    case 2:
        potentiometerAllowed = false;
        doroZirivAllowed = true;
        sensor.value = kDoroZiriv;
        note = "Caution: Potentiometers are not\r\nsupported by the selected vehicle\r\nprofile. Use an DoroZiriv "
               "steering\r\nangle sensor or contact Support";
        break;
    default:
        potentiometerAllowed = true;
        doroZirivAllowed = false;
        sensor.value = kPotentiometer;
        note = "Caution: DoroZiriv is not supported by the selected vehicle profile. To use DoroZiriv, download the "
               "latest profile for this vehicle from Partners or contact Support";
        break;
    }
}

void CDoroZirivModel::Leave(CControllerLink& link)
{
    const bool sensorChanged = sensor.IsModified();
    logic_.OnLeave(link);
    // Only when the controller has the DoroZiriv sensor: a choice the user
    // declined to save must not switch the other inputs off.
    if (sensor.value != kDoroZiriv || (sensorChanged && logic_.lastAnswer != MsgAnswer::Yes))
        return;
    CByteParam wheelSpeedIgnored("lso");
    CByteParam gearLeverIgnored("vde");
    wheelSpeedIgnored.value = 1;
    gearLeverIgnored.value = 1;
    wheelSpeedIgnored.Set(link);
    gearLeverIgnored.Set(link);
    link.Notifier().Notify(kDoroZirivInformation, "DoroZiriv Information", MsgButtons::Ok, MsgIcon::Information);
}

} // namespace halcyra
