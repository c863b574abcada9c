#include "cli/Interrupt.h"
#include "link/AtomicFile.h"

#include <csignal>
#include <unistd.h>

namespace halcyra::cli {

namespace {

void OnInterrupt(int signal)
{
    // A log being streamed ends in good order instead.
    if (TakeInterrupt())
        return;
    RemoveAtomicTemporaries();
    static const char text[] = "halcyra: interrupted\n";
    [[maybe_unused]] auto n = ::write(STDERR_FILENO, text, sizeof text - 1);
    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    sigemptyset(&standard.sa_mask);
    ::sigaction(signal, &standard, nullptr);
    ::raise(signal);
}

} // namespace

void InstallInterruptHandler()
{
    struct sigaction interrupt {};
    interrupt.sa_handler = OnInterrupt;
    sigemptyset(&interrupt.sa_mask);
    for (int s : {SIGINT, SIGTERM})
        ::sigaction(s, &interrupt, nullptr);
}

} // namespace halcyra::cli
