#include "cli/Cli.h"
#include "cli/Interrupt.h"
#include "setup/AtomicFile.h"

#include <csignal>
#include <iostream>
#include <unistd.h>

namespace {

// Ctrl-C or a TERM signal in the middle of a save: the file being written
// beside its destination goes, the destination stays as it was, and the
// program ends as the signal would have ended it.
void OnInterrupt(int signal)
{
    // A log being streamed ends in good order instead.
    if (halcyra::cli::TakeInterrupt())
        return;
    halcyra::RemoveAtomicTemporaries();
    static const char text[] = "halcyra: interrupted\n";
    [[maybe_unused]] auto n = ::write(STDERR_FILENO, text, sizeof text - 1);
    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    sigemptyset(&standard.sa_mask);
    ::sigaction(signal, &standard, nullptr);
    ::raise(signal);
}

} // namespace

int main(int argc, char** argv)
{
    struct sigaction interrupt {};
    interrupt.sa_handler = OnInterrupt;
    sigemptyset(&interrupt.sa_mask);
    for (int s : {SIGINT, SIGTERM})
        ::sigaction(s, &interrupt, nullptr);
    return halcyra::cli::RunHalcyra(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr, std::cin);
}
