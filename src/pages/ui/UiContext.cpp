#include "pages/ui/UiContext.h"

#include "link/ControllerLink.h"
#include "pages/ui/HCDialog.h"

#include <QDialog>

namespace halcyra {

CUiContext::CUiContext(CControllerLink& controllerLink, INotifier& boxes, CDataDirectories& dataDirectories)
    : CPageContext(controllerLink, boxes, dataDirectories)
{
    files = &fileDialogs_;
    busy = &waitCursor_;
    timers = &qtTimers_;
    link.SetWaitObserver(&responsiveWait_);
}

CUiContext::~CUiContext() { link.SetWaitObserver(nullptr); }

int CUiContext::RunModal(QDialog& dialog) const
{
    if (auto* plain = dynamic_cast<CHCDialog*>(&dialog))
        plain->EnsureInitialised();
    if (runModal)
        return runModal(dialog);
    return dialog.exec();
}

} // namespace halcyra
