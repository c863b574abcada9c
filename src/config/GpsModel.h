#pragma once
// "GPS Configuration": the receiver, the correction source it uses (as far
// as its options allow), automatic configuration at start-up and two
// correction-specific switches.

#include "pages/PageFields.h"
#include "pages/PageLogic.h"
#include "params/Param.h"

#include <string>
#include <vector>

namespace halcyra {

class CControllerLink;

// Receiver option bits, for the correction list.
namespace receiver_option {
inline constexpr std::uint32_t kRtk = 0x01;
inline constexpr std::uint32_t kBeacon = 0x02;
inline constexpr std::uint32_t kOmniHpXp = 0x04; // in the older word also Omni VBS
inline constexpr std::uint32_t kWaas = 0x08;
inline constexpr std::uint32_t kOmniVbs = 0x10;  // newer word only
} // namespace receiver_option

// The receiver list; entries 9 and 10 show the receiver's own type name
// when they are the connected receiver.
std::vector<FieldChoice> ReceiverChoices(std::uint32_t receiver, const std::string& receiverTypeName);
// The corrections the receiver's options allow. newerWord: the option word
// came from "RORcvrConfigOption", not from the older "RODblRcvrConfigOption".
std::vector<FieldChoice> CorrectionChoices(std::uint32_t optionWord, bool newerWord, std::uint32_t receiver);

class CGpsModel {
public:
    explicit CGpsModel(CPageLogic& logic);

    PageFields Fields();
    // After the first fetch: the receiver list, the option word (asked
    // again by itself, the older word when the newer cannot be got) and the
    // correction list.
    void BuildLists(CControllerLink& link);
    // Rules of every exchange: the shared radio belongs to RTK only.
    void Rules();

    bool ReceiverListEnabled() const;
    bool CorrectionListEnabled() const;

    CUIntParam receiver;          // "grx"
    CStringParam receiverName;    // "RORcvrTypeString"
    CUIntParam correction;        // "gct"
    CUIntParam autoConfigure;     // "acf"
    CFloatParam receiverFirmware; // "ROGPSVersion"
    CByteParam hpAutoSeed;        // "HPAutoSeedEnabled"
    CByteParam sharedRadio;       // "srl", shown only

    // From "RORcvrConfigOption", asked by itself: older receivers do not
    // have it, and its absence is no failure to report.
    std::uint32_t options = 0;
    bool newerOptionWord = false;
    std::vector<FieldChoice> receivers;
    std::vector<FieldChoice> corrections;
};

} // namespace halcyra
