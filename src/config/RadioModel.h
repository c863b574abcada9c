#pragma once
// "Radio Network ID": the network number of the radio that brings RTK
// corrections. The radio reports its state through the network parameter
// itself; the number can be read and written only while the radio is usable.

#include "pages/BusyIndicator.h"
#include "pages/PageFields.h"
#include "pages/PageLogic.h"
#include "params/Param.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace halcyra {

class CControllerLink;

inline constexpr const char* kRadioNote =
    "Note: The radio Network ID is only applicable if you are operating in RTK correction mode.";
inline constexpr const char* kSharedRadioText =
    "The GPS connected to this controller is configured to share a radio with another GPS receiver. \r\n Network ID "
    "must be set using the controller connected to the other GPS receiver";
inline constexpr const char* kSharedRadioCaption = "GPS in Shared Radio Link Mode";

// The message of a radio status code: newer firmware reports it in "rnie",
// older in "rni". Nothing when the code is a usable network number.
std::optional<std::string> RadioStatusMessage(double code, bool newerFirmware);

// The highest network number offered: the radio's own for products 3, 4 and
// 5 (when it could be read), else 250 with newer firmware, else 40.
std::uint32_t HighestRadioNetwork(std::optional<std::uint32_t> productId, std::optional<std::uint32_t> maxChannel,
                                  bool newerFirmware);

class CRadioModel {
public:
    // Asks of a radio that cannot be reached, after the first answer.
    static constexpr int kCannotConnectRetries = 50;

    explicit CRadioModel(CPageLogic& logic);

    PageFields Fields();
    // Activation, before the page base's: the radio's product, status and
    // network range, the shared-radio question and the status message.
    void CheckRadio(CControllerLink& link, IBusyIndicator& busy);
    // The same reads without a box: why the network number cannot be
    // chosen is kept in notice (and its caption), empty when it can.
    void InspectRadio(CControllerLink& link, IBusyIndicator& busy);
    // The page base's leave step; a saved network number takes the radio a
    // while, waited out with the busy indicator (the window keeps painting).
    void Leave(CControllerLink& link, IBusyIndicator& busy);

    CUIntParam network; // "rni"
    bool usable = false;
    std::string notice, noticeCaption;
    bool newerFirmware = false; // "rnie" answered
    std::uint32_t highest = 40;
    std::vector<FieldChoice> entries;
    std::chrono::milliseconds saveWait{15000};

private:
    CPageLogic& logic_;
};

} // namespace halcyra
