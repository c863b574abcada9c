#pragma once
// Rides out a cable pull. A USB serial adapter that is unplugged and
// plugged in again comes back under another device name (ttyUSB0 becomes
// ttyUSB1), but under the same name in /dev/serial/by-id. The link's port is
// remembered by that name; when the port goes away the link is closed (so
// commands say "Serial port is not open" rather than fail one by one), and
// it is opened again when the port returns.

#include <string>

namespace halcyra {

class CControllerLink;

inline constexpr const char* kSerialByIdDir = "/dev/serial/by-id";
inline constexpr const char* kControllerDisconnectedText = "Controller disconnected: waiting for it to return";

// The name that stays with the device: its link in byIdDir when it has one
// (or it is one), else the path given.
std::string StablePortIdentity(const std::string& device, const std::string& byIdDir = kSerialByIdDir);

class CPortReconnect {
public:
    enum class State {
        Idle,         // no port to watch (none opened, or closed on purpose)
        Connected,    // the remembered port is open
        Disconnected, // it went away; waiting for it to return
    };

    explicit CPortReconnect(CControllerLink& link, std::string byIdDir = kSerialByIdDir);

    // After the link opened a port (at start, or one the user chose):
    // remembers its stable identity and watches it. A closed link: Idle.
    void Watch();
    // Stops watching (the user closed the port).
    void Forget();

    // One look, from a periodic tick. Connected: a port that went away
    // closes the link. Disconnected: a port that is back is opened again.
    // Never during a transaction. True when the state changed.
    bool Check();

    // The port is gone: closes the link and waits for the port to return.
    void LineWentAway();

    State GetState() const { return state_; }
    bool Disconnected() const { return state_ == State::Disconnected; }
    const std::string& Identity() const { return identity_; }

private:
    CControllerLink& link_;
    std::string byIdDir_;
    std::string identity_;
    State state_ = State::Idle;
};

} // namespace halcyra
