#include "config/RadioModel.h"

#include "link/ControllerLink.h"
#include "link/Format.h"

#include <cmath>

namespace halcyra {

namespace {

constexpr double kCannotConnectNewer = -2;
constexpr double kCannotConnectOlder = 42;

} // namespace

std::optional<std::string> RadioStatusMessage(double code, bool newerFirmware)
{
    struct Status {
        int newer;
        int older;
        const char* newerText;
        const char* olderText;
    };
    static constexpr Status statuses[] = {
        {0, 0, "Network ID selected is invalid.", "Network ID selected if invalid."},
        {-3, 41, "Network ID selected is too large.", "Network ID selected is too large."},
        {-2, 42, "Cannot connect to radio.", "Cannot connect to radio."},
        {-1, 43, "Upgrade radio firmware is required.", "Upgrade radio firmware is required."},
        {-4, 44, "Configuration is in progress. Please Wait.", "Configuration is in progress. Please Wait."},
        {-5, 45, "Unknown radio.", "Unkown radio."},
    };
    for (const Status& status : statuses)
        if (code == (newerFirmware ? status.newer : status.older))
            return std::string(newerFirmware ? status.newerText : status.olderText);
    return std::nullopt;
}

std::uint32_t HighestRadioNetwork(std::optional<std::uint32_t> productId, std::optional<std::uint32_t> maxChannel,
                                  bool newerFirmware)
{
    if (productId && *productId >= 3 && *productId <= 5 && maxChannel)
        return *maxChannel & 0xFFu; // a byte
    return newerFirmware ? 250 : 40;
}

CRadioModel::CRadioModel(CPageLogic& logic) : network("rni", &logic.params), logic_(logic) {}

PageFields CRadioModel::Fields()
{
    return {
        field::Combo("networkId", "Network ID:",
                     CFieldValue::Computed([this] { return usable ? static_cast<double>(network.value) : -1.0; },
                                           [this](double n) {
                                               if (usable)
                                                   network.value = static_cast<std::uint32_t>(n);
                                           })
                         .From(network),
                     {})
            .ChoicesFrom([this] { return entries; }),
        field::Label("note", kRadioNote),
    };
}

void CRadioModel::CheckRadio(CControllerLink& link, IBusyIndicator& busy)
{
    InspectRadio(link, busy);
    if (!notice.empty())
        link.Notifier().Notify(notice, noticeCaption, MsgButtons::Ok, MsgIcon::None);
}

void CRadioModel::InspectRadio(CControllerLink& link, IBusyIndicator& busy)
{
    notice.clear();
    noticeCaption.clear();
    CUIntParam productId("RORadioProductID");
    CFloatParam status("rnie");
    CByteParam maxChannel("ROMaxRadioChanNum");
    const bool hasProductId = productId.Get(link);
    newerFirmware = status.Get(link);
    const bool hasMaxChannel = maxChannel.Get(link);
    highest = HighestRadioNetwork(hasProductId ? std::optional(productId.value) : std::nullopt,
                                  hasMaxChannel ? std::optional(maxChannel.value) : std::nullopt, newerFirmware);

    usable = false;
    entries.assign(1, {"---", 0});
    for (std::uint32_t n = 1; n <= highest; ++n)
        entries.push_back({Format("Network %d", static_cast<int>(n)), static_cast<int>(n)});

    CBusyScope waiting(busy);
    CByteParam shared("srl");
    if (shared.Get(link) && shared.value == 1) {
        notice = kSharedRadioText;
        noticeCaption = kSharedRadioCaption;
        return;
    }
    double code = 0;
    if (newerFirmware) {
        // A get that fails has shown its box; asking on would show one per retry.
        for (int retry = 0; status.value == kCannotConnectNewer && retry < kCannotConnectRetries; ++retry)
            if (!status.Get(link))
                break;
        code = status.value;
    } else {
        for (int retry = 0; network.value == kCannotConnectOlder && retry < kCannotConnectRetries; ++retry)
            if (!network.Get(link))
                break;
        code = network.value;
    }
    if (std::optional<std::string> message = RadioStatusMessage(code, newerFirmware)) {
        notice = *message;
        noticeCaption = kAppTitle;
        return;
    }
    usable = true;
}

void CRadioModel::Leave(CControllerLink& link, IBusyIndicator& busy)
{
    const bool asked = logic_.IsPageModified();
    logic_.OnLeave(link);
    if (!asked || logic_.lastAnswer != MsgAnswer::Yes)
        return;
    CBusyScope waiting(busy);
    // The radio takes the new network number meanwhile.
    link.Pause(saveWait);
}

} // namespace halcyra
