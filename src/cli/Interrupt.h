#pragma once
// Ctrl-C, a TERM signal or a closed console window. While a command streams a
// log, the first one asks it to end in good order (logging stopped, the
// controller's setting given back, the file kept). Otherwise, or at a second
// one, the file being written beside its destination goes, the destination
// stays as it was, and the program ends as the interruption would have ended
// it.

namespace halcyra::cli {

void InstallInterruptHandler();

// Held by a command that ends in good order when interrupted.
class CGracefulInterrupt {
public:
    CGracefulInterrupt();
    ~CGracefulInterrupt();
    CGracefulInterrupt(const CGracefulInterrupt&) = delete;
    CGracefulInterrupt& operator=(const CGracefulInterrupt&) = delete;

    bool Requested() const;
};

// For the interrupt handler: true when a command takes the interruption
// itself. Async-signal-safe.
bool TakeInterrupt() noexcept;

} // namespace halcyra::cli
