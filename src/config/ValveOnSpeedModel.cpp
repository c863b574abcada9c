#include "config/ValveOnSpeedModel.h"

#include "link/ControllerLink.h"
#include "link/Format.h"
#include "pages/PageLogic.h"

namespace halcyra {

PageFields CValveOnSpeedModel::Fields()
{
    return {
        field::Combo("setting", "Minimum Valve On Speed:",
                     CFieldValue::Number(chosen).From(minimumSpeed).From(wheelSpeedIgnored), {})
            .ChoicesFrom([this] { return entries; }),
        field::Label("speeds", CFieldValue::Text(speeds)),
    };
}

void CValveOnSpeedModel::Read(CControllerLink& link, std::uint8_t unitIndex)
{
    const bool mph = unitIndex == 2 || unitIndex == 3;
    const auto line = [mph](int setting) {
        static const char* const kmhLines[] = {"Normal: \t\t%.2f km/h \r\n", "Low: \t\t%.2f km/h \r\n",
                                               "Ultra Low \t%.2f km/h \r\n"};
        static const char* const mphLines[] = {"Normal: \t\t%.2f mph \r\n", "Low: \t\t%.2f mph \r\n",
                                               "Ultra Low: \t%.2f mph \r\n"};
        const ValveOnSetting& s = kValveOnSettings[setting];
        return Format(mph ? mphLines[setting] : kmhLines[setting], mph ? s.mph : s.kmh);
    };

    entries.clear();
    chosen = -1;
    readFailed = false;
    ultraLowKnown = ultraLow.Get(link);
    if (!minimumSpeed.Get(link) || !wheelSpeedIgnored.Get(link)) {
        speeds = kNotAllRetrievedText;
        readFailed = true;
        initialChoice = -1;
        return;
    }
    const bool noWheelSpeedSensor = wheelSpeedIgnored.value == 1;
    entries.push_back({kValveOnSettings[kNormal].name, kNormal});
    speeds = line(kNormal);
    if (noWheelSpeedSensor) {
        entries.push_back({kValveOnSettings[kLow].name, kLow});
        speeds += line(kLow);
        if (ultraLowKnown) {
            entries.push_back({kValveOnSettings[kUltraLow].name, kUltraLow});
            speeds += line(kUltraLow);
        } else {
            speeds += "Ultra Low Speed not supported by current firmware \r\n";
        }
    } else {
        speeds += "Low Speed Operation is not permitted when using a wheel speed sensor.\r\n";
    }

    const float speed = minimumSpeed.value;
    if (noWheelSpeedSensor && ultraLowKnown && ultraLow.value == 1)
        chosen = kUltraLow;
    else if (wheelSpeedIgnored.value == 0 || speed > 0.11f)
        chosen = kNormal;
    else
        chosen = kLow;
    // An "lso" other than 0 and 1 offers Normal alone: Low is not there to show.
    if (chosen >= static_cast<int>(entries.size()))
        chosen = kNormal;
    // A speed none of the settings gives: whatever is chosen is a change.
    initialChoice = speed > 0.11f && speed < 0.39f ? -1 : chosen;
}

void CValveOnSpeedModel::Leave(CControllerLink& link)
{
    if (readFailed || chosen < 0 || chosen >= static_cast<int>(entries.size()) || chosen == initialChoice)
        return;
    const ValveOnSetting& setting = kValveOnSettings[chosen];
    INotifier& notifier = link.Notifier();
    if (chosen == kUltraLow)
        notifier.Notify(kUltraLowWarning, "Warning", MsgButtons::Ok, MsgIcon::Exclamation);
    if (notifier.Notify("Save Changes?", "Save", MsgButtons::YesNo, MsgIcon::Question) != MsgAnswer::Yes)
        return;
    // Firmware without Ultra Low does not know "sls" either.
    if (ultraLowKnown) {
        ultraLow.value = setting.ultraLow;
        ultraLow.Set(link);
    }
    minimumSpeed.value = setting.minimumSpeed;
    minimumSpeed.Set(link);
}

} // namespace halcyra
