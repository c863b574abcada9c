#include "pages/PageLogic.h"

#include "link/ControllerLink.h"

#include <thread>

namespace halcyra {

bool CPageLogic::FetchAll(CControllerLink& link)
{
    units.Get(link);
    if (params.GetAll(link))
        return true;
    link.Notifier().Notify(kNotAllRetrievedText, kAppTitle, MsgButtons::Ok, MsgIcon::None);
    return false;
}

void CPageLogic::OnLeave(CControllerLink& link)
{
    if (!IsPageModified())
        return;
    lastAnswer = link.Notifier().Notify("Save Changes?", "Save", MsgButtons::YesNo, MsgIcon::Question);
    if (lastAnswer == MsgAnswer::Yes)
        params.SetModified(link);
    modifiedFlag = false;
    if (onModifiedChanged)
        onModifiedChanged(false);
}

void CPageLogic::OnCancel(CControllerLink& link)
{
    if (!IsPageModified())
        return;
    lastAnswer = link.Notifier().Notify("Discard Changes?", " ", MsgButtons::YesNo, MsgIcon::Exclamation);
    if (lastAnswer == MsgAnswer::No)
        params.SetModified(link);
    modifiedFlag = false;
    if (onModifiedChanged)
        onModifiedChanged(false);
}

void ResetControllerAndWait(CControllerLink& link, const std::function<void(bool)>& busy,
                            std::chrono::milliseconds restartPause)
{
    link.Notifier().Notify(kResetText, "", MsgButtons::Ok, MsgIcon::Exclamation);
    if (busy)
        busy(true);
    link.SendOnly(CResetMsg());
    // The controller is restarting and cannot answer before this has passed.
    std::this_thread::sleep_for(restartPause);
    CStatusMsg status;
    link.Transact(status, 250, 16, true, true);
    if (busy)
        busy(false);
}

} // namespace halcyra
