#pragma once
// Runs controller work from an event handler or a tick. A port failure (an
// adapter pulled out, a transaction on a closed port) must not unwind through
// the event loop: it is shown as one box and the work stops.

#include "link/Notifier.h"
#include "link/SerialPort.h"

#include <utility>

namespace halcyra {

// A port failure that reached a command: one stop box with the system's
// text, unless a handler on the way already said what it cost.
void ReportSerialFailure(INotifier& notifier, const CSerialException& e);

// True when f ran to its end.
template <typename F>
bool RunGuarded(INotifier& notifier, F&& f)
{
    try {
        std::forward<F>(f)();
        return true;
    } catch (const CSerialException& e) {
        ReportSerialFailure(notifier, e);
        return false;
    }
}

} // namespace halcyra
