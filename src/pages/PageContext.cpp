#include "pages/PageContext.h"

namespace halcyra {

CPageContext::CPageContext(CControllerLink& controllerLink, INotifier& boxes, CDataDirectories& dataDirectories)
    : link(controllerLink), notifier(boxes), directories(dataDirectories), files(&noFiles_), busy(&notBusy_),
      timers(&manualClock_), ticks(&controllerLink)
{
}

} // namespace halcyra
