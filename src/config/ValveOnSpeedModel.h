#pragma once
// "Valve On Speed": the lowest speed at which the steering valve still
// drives, as one of up to three settings (Normal, Low, Ultra Low) that the
// page turns into "sls" and "smv". The page keeps no parameters in its set:
// it gets and sets its values itself.

#include "pages/PageFields.h"
#include "params/Param.h"

#include <string>
#include <vector>

namespace halcyra {

class CControllerLink;
class INotifier;

inline constexpr const char* kUltraLowWarning = "Ultra Low Speed performance may be degraded\r\nif Doroziriv is used "
                                                "or if the GPS antenna is\r\nnot directly over the fixed axle.";

struct ValveOnSetting {
    const char* name;
    std::uint32_t ultraLow; // "sls" sent
    float minimumSpeed;     // "smv" sent, metres per second
    double kmh, mph;        // the speed shown
};
inline constexpr ValveOnSetting kValveOnSettings[] = {
    {"Normal", 0, 0.4f, 1.44, 0.89476},
    {"Low", 0, 0.1f, 0.36, 0.22369},
    {"Ultra Low", 1, 0.1f, 0.072, 0.044738},
};

class CValveOnSpeedModel {
public:
    static constexpr int kNormal = 0;
    static constexpr int kLow = 1;
    static constexpr int kUltraLow = 2;

    PageFields Fields();
    // Activation, before the page base's: reads the three values and offers
    // the settings; unitIndex is the display unit (2 and 3 show mph).
    void Read(CControllerLink& link, std::uint8_t unitIndex);
    // Leaving, before the page base's step: a changed choice is saved when
    // the user agrees (Ultra Low warns first).
    void Leave(CControllerLink& link);

    CFloatParam minimumSpeed{"smv"};
    CByteParam wheelSpeedIgnored{"lso"}; // 1: no wheel speed sensor
    CByteParam ultraLow{"sls"};
    bool ultraLowKnown = false; // the firmware knows "sls"
    bool readFailed = false;
    int initialChoice = -1;
    int chosen = -1;
    std::vector<FieldChoice> entries;
    std::string speeds = "Text filled in at runtime.";
};

} // namespace halcyra
