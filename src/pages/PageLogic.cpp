#include "pages/PageLogic.h"

#include "link/ControllerLink.h"

namespace halcyra {

bool CPageLogic::FetchAll(CControllerLink& link)
{
    units.Get(link);
    if (params.GetAll(link))
        return true;
    link.Notifier().Notify(kNotAllRetrievedText, kAppTitle, MsgButtons::Ok, MsgIcon::None);
    return false;
}

void CPageLogic::AskAndMaybeSave(CControllerLink& link, const char* text, const char* caption, MsgIcon icon,
                                 MsgAnswer saveAnswer)
{
    if (!IsPageModified())
        return;
    lastAnswer = link.Notifier().Notify(text, caption, MsgButtons::YesNo, icon);
    if (lastAnswer == saveAnswer)
        params.SetModified(link);
    modifiedFlag = false;
    if (onModifiedChanged)
        onModifiedChanged(false);
}

void CPageLogic::OnLeave(CControllerLink& link)
{
    AskAndMaybeSave(link, "Save Changes?", "Save", MsgIcon::Question, MsgAnswer::Yes);
}

void CPageLogic::OnCancel(CControllerLink& link)
{
    AskAndMaybeSave(link, "Discard Changes?", " ", MsgIcon::Exclamation, MsgAnswer::No);
}

void ResetControllerAndWait(CControllerLink& link, const std::function<void(bool)>& busy,
                            std::chrono::milliseconds restartPause)
{
    link.Notifier().Notify(kResetText, "", MsgButtons::Ok, MsgIcon::Exclamation);
    if (busy)
        busy(true);
    link.SendOnly(CResetMsg());
    // The controller is restarting and cannot answer before this has passed.
    link.Pause(restartPause);
    CStatusMsg status;
    link.Transact(status, kRestartPoll);
    if (busy)
        busy(false);
}

} // namespace halcyra
