#pragma once
// The life cycle every page shares against the controller, without widgets:
// fetch the display units and the page's parameters when shown, ask to save
// or discard changes, restart the controller and wait for it.

#include "link/Notifier.h"
#include "params/Param.h"
#include "params/ParamSet.h"

#include <chrono>
#include <functional>

namespace halcyra {

class CControllerLink;

inline constexpr const char* kNotAllRetrievedText = "Error: Not all parameters could be retrieved from the controller";
inline constexpr const char* kResetText = "The system will be reset to allow the changes to take effect.";
// A contents page asked to open an entry its sheet does not have.
inline constexpr const char* kNoPagesText = "No pages available!";

class CPageLogic {
public:
    CPageLogic() = default;

    // Reads "dsu" (its failure is not reported) and every parameter of the
    // set; shows the "Not all parameters" box once when a get failed.
    // Returns true when all gets succeeded.
    bool FetchAll(CControllerLink& link);

    bool IsPageModified() const { return params.AnyModified() || modifiedFlag; }

    // Leaving the page: "Save Changes?" when modified; Yes writes the
    // changed parameters. Clears the modified flag and keeps the answer.
    void OnLeave(CControllerLink& link);
    // Cancelling the sheet: "Discard Changes?" when modified; No writes them.
    void OnCancel(CControllerLink& link);

    CParamSet params;
    CUnitsParam units;
    bool modifiedFlag = false;
    MsgAnswer lastAnswer = MsgAnswer::No;
    // Called when the modified flag is cleared, so a sheet can disable Apply.
    std::function<void(bool)> onModifiedChanged;

private:
    void AskAndMaybeSave(CControllerLink& link, const char* text, const char* caption, MsgIcon icon,
                         MsgAnswer saveAnswer);
};

// Restarts the controller and waits for it to answer again: the reset box,
// the reset request, a pause of restartPause, then status polls of 250 ms,
// up to 16. busy(true/false) brackets the wait (a wait cursor).
void ResetControllerAndWait(CControllerLink& link, const std::function<void(bool)>& busy = {},
                            std::chrono::milliseconds restartPause = std::chrono::milliseconds(5000));

} // namespace halcyra
