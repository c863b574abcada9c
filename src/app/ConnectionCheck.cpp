#include "app/ConnectionCheck.h"

#include "link/ControllerLink.h"
#include "link/Format.h"
#include "link/MessageIds.h"
#include "link/Notifier.h"
#include "setup/InfoMessages.h"


namespace halcyra {

namespace {

void CommunicationsError(CControllerLink& link, bool show)
{
    if (show)
        link.Notifier().Notify("Error: Communication with the Halcyra Controller failed. Check that power is applied "
                               "and the serial cable is connected correctly and try again.",
                               "Communications Error", MsgButtons::Ok, MsgIcon::Stop);
}

} // namespace

bool CheckHalcyraComms(CControllerLink& link, bool showMessages)
{
    CStatusMsg status;
    if (!link.Transact(status)) {
        CommunicationsError(link, showMessages);
        return false;
    }

    CFirmwareInfoMsg firmware;
    if (!link.Transact(firmware)) {
        CommunicationsError(link, showMessages);
        return false;
    }
    const float version = firmware.Version();
    if (!(version >= kMinimumFirmwareVersion)) {
        if (showMessages) {
            link.Notifier().Notify(Format("The Halcyra firmware must be upgraded to use this program. Version %.2f is "
                                          "installed and %.2f or later is needed.",
                                          static_cast<double>(version), static_cast<double>(kMinimumFirmwareVersion)),
                                   "Error: Upgrade Firmware", MsgButtons::Ok, MsgIcon::Stop);
        }
        return false;
    }

    using wire::info::kCompatibilitySubs;
    CCompatibilityMsg queries[] = {CCompatibilityMsg(kCompatibilitySubs[0]), CCompatibilityMsg(kCompatibilitySubs[1]),
                                   CCompatibilityMsg(kCompatibilitySubs[2])};
    for (CCompatibilityMsg& q : queries) {
        if (!link.Transact(q)) {
            CommunicationsError(link, showMessages);
            return false;
        }
    }
    for (const CCompatibilityMsg& q : queries) {
        if (!q.Compatible()) {
            if (showMessages)
                link.Notifier().Notify(
                    "Error: This version of Halcyra Toolbox is not compatible with the Halcyra Controller's Firmware. "
                    "Consult the Firmware documentation to determine the compatible version of this program.",
                    "Version Error", MsgButtons::Ok, MsgIcon::Stop);
            return false;
        }
    }
    return true;
}

} // namespace halcyra
