#pragma once
// While a transaction waits for the controller, the window keeps painting and
// shows the wait cursor. Only painting and the window system's own events are
// handled meanwhile: user input waits for the transaction's end, and no timer
// fires, so no tick runs inside a transaction.

#include "link/ControllerLink.h"

#include <chrono>

namespace halcyra {

// Paints what needs painting; leaves input and timers for later.
void KeepPainting();

class CResponsiveWait final : public ITransactionWaitObserver {
public:
    // The cursor changes only for waits longer than this, so quick exchanges
    // do not make it flicker.
    static constexpr std::chrono::milliseconds kCursorAfter{150};

    void WaitBegins() override;
    void StillWaiting() override;
    void WaitEnds() override;

private:
    std::chrono::steady_clock::time_point started_{};
    bool cursorShown_ = false;
};

} // namespace halcyra
