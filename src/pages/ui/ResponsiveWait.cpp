#include "pages/ui/ResponsiveWait.h"

#include <QApplication>

namespace halcyra {

void KeepPainting()
{
    // X11ExcludeTimers keeps every timer out, whatever the event dispatcher.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::X11ExcludeTimers);
}

void CResponsiveWait::WaitBegins()
{
    started_ = std::chrono::steady_clock::now();
    cursorShown_ = false;
}

void CResponsiveWait::StillWaiting()
{
    if (!cursorShown_ && std::chrono::steady_clock::now() - started_ >= kCursorAfter) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        cursorShown_ = true;
    }
    KeepPainting();
}

void CResponsiveWait::WaitEnds()
{
    if (cursorShown_)
        QApplication::restoreOverrideCursor();
    cursorShown_ = false;
}

} // namespace halcyra
