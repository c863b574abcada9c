#include "cli/Interrupt.h"
#include "link/AtomicFile.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace halcyra::cli {

namespace {

// Runs on a thread of its own while the program goes on; returning FALSE
// hands the event to the system, which ends the process.
BOOL WINAPI OnConsoleEvent(DWORD event)
{
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
        // A log being streamed ends in good order instead.
        if (TakeInterrupt())
            return TRUE;
        [[fallthrough]];
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT: {
        RemoveAtomicTemporaries();
        static const char text[] = "halcyra: interrupted\n";
        DWORD written = 0;
        WriteFile(GetStdHandle(STD_ERROR_HANDLE), text, sizeof text - 1, &written, nullptr);
        return FALSE;
    }
    default: return FALSE;
    }
}

} // namespace

void InstallInterruptHandler() { SetConsoleCtrlHandler(OnConsoleEvent, TRUE); }

} // namespace halcyra::cli
