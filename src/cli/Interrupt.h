#pragma once
// Ctrl-C or a TERM signal while a command streams a log: the first one asks
// the command to end in good order (logging stopped, the controller's
// setting given back, the file kept). Without such a command under way, or
// at a second signal, the program ends at once.

namespace halcyra::cli {

class CGracefulInterrupt {
public:
    CGracefulInterrupt();
    ~CGracefulInterrupt();
    CGracefulInterrupt(const CGracefulInterrupt&) = delete;
    CGracefulInterrupt& operator=(const CGracefulInterrupt&) = delete;

    bool Requested() const;
};

// For the signal handler: true when a command takes the signal itself.
// Async-signal-safe.
bool TakeInterrupt() noexcept;

} // namespace halcyra::cli
