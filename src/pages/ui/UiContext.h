#pragma once
// The page context of the desktop program: file dialogs, the wait cursor,
// QTimer ticks and a window that keeps painting while a transaction waits.
// Modal dialogs run through it, so tests can run them their own way.

#include "pages/PageContext.h"
#include "pages/ui/BusyIndicators.h"
#include "pages/ui/FileDialogs.h"
#include "pages/ui/QtTimerSource.h"
#include "pages/ui/ResponsiveWait.h"

#include <functional>

class QDialog;

namespace halcyra {

class CUiContext : public CPageContext {
public:
    CUiContext(CControllerLink& controllerLink, INotifier& boxes, CDataDirectories& dataDirectories);
    ~CUiContext() override;

    // Initialises a plain dialog of the program, then runs it through
    // runModal when set (tests), else its own modal loop.
    int RunModal(QDialog& dialog) const;
    std::function<int(QDialog&)> runModal;

private:
    CFileDialogChooser fileDialogs_;
    CWaitCursor waitCursor_;
    CQtTimerSource qtTimers_;
    CResponsiveWait responsiveWait_;
};

} // namespace halcyra
