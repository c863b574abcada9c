#pragma once
// How the Windows port list is put together from what the system reports:
// the registry's serial device map, the DOS device names and the Ports
// device class. Kept apart from the system calls, so it is tested anywhere.

#include "link/SerialPort.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace halcyra::comports {

// COM followed by a port number from 1 to 255, in any case (com7 too).
bool IsComName(std::string_view name);
// The number of a COM name; 0 for any other name.
int ComNumber(std::string_view name);

// One value of the serial device map.
struct SerialMapEntry {
    std::string device; // the driver's device, e.g. \Device\VCP0
    std::string port;   // e.g. COM3
};

// What the Ports device class says of one port.
struct PortClassEntry {
    std::string port;         // e.g. COM3
    std::string friendlyName; // e.g. "USB Serial Port (COM3)"
    std::string enumerator;   // the bus that found the device: USB, FTDIBUS, ACPI...
};

// The ports to offer, USB adapters first, then by number. A DOS name that
// the map lists is taken as it is (another program may hold it); any other
// only when probe finds a serial port behind it. Without DOS names (the
// system gave none) the map's ports are listed.
std::vector<SerialPortInfo> BuildComPortList(const std::vector<SerialMapEntry>& serialMap,
                                             const std::vector<std::string>& dosNames,
                                             const std::vector<PortClassEntry>& portClass,
                                             const std::function<bool(const std::string&)>& probe);

} // namespace halcyra::comports
