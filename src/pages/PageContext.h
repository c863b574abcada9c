#pragma once
// What every page, dialog and procedure of the program is given: the link to
// the controller, the one notifier, the data directories, a way to ask for
// files, a busy indicator and periodic ticks. The program composes one; the
// command line and tests compose their own.

#include "pages/BusyIndicator.h"
#include "pages/FileChooser.h"
#include "pages/Timer.h"

namespace halcyra {

class CControllerLink;
class CDataDirectories;
class INotifier;

class CPageContext {
public:
    // Until the owner sets others, files are never chosen, nothing shows
    // busy, and ticks run only when the context's manual clock is advanced.
    CPageContext(CControllerLink& controllerLink, INotifier& boxes, CDataDirectories& dataDirectories);
    virtual ~CPageContext() = default;
    CPageContext(const CPageContext&) = delete;
    CPageContext& operator=(const CPageContext&) = delete;

    CControllerLink& link;
    INotifier& notifier;
    CDataDirectories& directories;
    IFileChooser* files;
    IBusyIndicator* busy;
    ITimerSource* timers;
    // One gate for all of the program's ticks.
    CTickGate ticks;

    CManualClock& ManualClock() { return manualClock_; }

private:
    CNoFileChooser noFiles_;
    CNoBusyIndicator notBusy_;
    CManualClock manualClock_;
};

} // namespace halcyra
