// What the serial port and the port list share on every system; the rest is
// in SerialPortPosix.cpp and SerialPortWin32.cpp.

#include "link/SerialPort.h"

namespace halcyra {

CSerialException::CSerialException(int error, const std::string& message)
    : std::runtime_error(message), error_(error)
{
}

CSerialPortList::CSerialPortList(SerialPortSources sources) : sources_(std::move(sources)) {}

int CSerialPortList::Enumerate()
{
    if (!built_) {
        Build();
        built_ = true;
    }
    cursor_ = 0;
    return 0;
}

std::optional<std::string> CSerialPortList::Next()
{
    if (cursor_ >= ports_.size())
        return std::nullopt;
    return ports_[cursor_++].device;
}

std::optional<std::string> CSerialPortList::FirstPortName()
{
    Enumerate();
    return Next();
}

} // namespace halcyra
