#include "link/PortReconnect.h"

#include "link/ControllerLink.h"

#include <filesystem>

namespace halcyra {

namespace fs = std::filesystem;

std::string StablePortIdentity(const std::string& device, const std::string& byIdDir)
{
    std::error_code ec;
    fs::path dir = fs::path(byIdDir).lexically_normal();
    if (!dir.has_filename())
        dir = dir.parent_path(); // "/dev/serial/by-id/" names the same directory
    if (fs::path(device).lexically_normal().parent_path() == dir)
        return device;
    const fs::path real = fs::canonical(device, ec);
    if (ec)
        return device;
    for (const auto& entry : fs::directory_iterator(byIdDir, ec)) {
        std::error_code ec2;
        if (fs::canonical(entry.path(), ec2) == real && !ec2)
            return entry.path().string();
    }
    return device;
}

CPortReconnect::CPortReconnect(CControllerLink& link, std::string byIdDir)
    : link_(link), byIdDir_(std::move(byIdDir))
{
}

void CPortReconnect::Watch()
{
    if (!link_.IsOpen()) {
        Forget();
        return;
    }
    identity_ = StablePortIdentity(link_.CurrentPort(), byIdDir_);
    state_ = State::Connected;
}

void CPortReconnect::Forget()
{
    identity_.clear();
    state_ = State::Idle;
}

void CPortReconnect::LineWentAway()
{
    link_.Close();
    state_ = identity_.empty() ? State::Idle : State::Disconnected;
}

bool CPortReconnect::Check()
{
    if (link_.InTransaction())
        return false;
    switch (state_) {
    case State::Idle:
        return false;
    case State::Connected:
        if (!link_.IsOpen()) {
            // Closed by someone else: not ours to reopen.
            Forget();
            return true;
        }
        if (!link_.Port().LineLost())
            return false;
        LineWentAway();
        return true;
    case State::Disconnected: {
        std::error_code ec;
        if (!fs::exists(identity_, ec))
            return false;
        try {
            link_.Open(identity_, false);
        } catch (const CSerialException&) {
            return false; // not ready yet (udev still setting it up): the next look tries again
        }
        if (!link_.IsOpen())
            return false;
        state_ = State::Connected;
        return true;
    }
    }
    return false;
}

} // namespace halcyra
