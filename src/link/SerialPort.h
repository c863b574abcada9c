#pragma once
// The serial port that reaches the controller, and the list of serial ports
// present on this machine. Ports are named by device path.

#include "link/BytePort.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace halcyra {

class INotifier;

// Raised by every failing port operation; carries the system error number.
class CSerialException : public std::runtime_error {
public:
    CSerialException(int error, const std::string& message);
    int Error() const { return error_; }
    // The system's own text for the error number.
    std::string GetErrorMessage() const;
    // The user may not open the device (on Linux: not in the dialout group;
    // Windows keeps no user from a port).
    bool PermissionDenied() const;
    // Set by a handler that has told the user what the failure cost before
    // passing it on: whoever catches it last says nothing more.
    void MarkReported() { reported_ = true; }
    bool Reported() const { return reported_; }

private:
    int error_;
    bool reported_ = false;
};

enum class Parity { Even = 0, Mark = 1, None = 2, Odd = 3, Space = 4 };
enum class StopBits { One = 0, OneAndHalf = 1, Two = 2 };
enum class FlowControl { None = 0, CtsRts = 1, CtsDtr = 2, DsrRts = 3, DsrDtr = 4, XonXoff = 5 };

class CSerialPort final : public CBytePort {
public:
    CSerialPort() = default;
    ~CSerialPort() override;
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    // Opens the device exclusively and applies the line settings. On failure
    // shows "Failed to open up <device>" through the notifier when one is
    // given, leaves the port closed and raises CSerialException.
    void Open(const std::string& device, unsigned baud = 38400, Parity parity = Parity::None,
              int dataBits = 8, StopBits stopBits = StopBits::One,
              FlowControl flow = FlowControl::None, bool overlapped = false,
              INotifier* notifier = nullptr);
    void Close();
    bool IsOpen() const override;
    const std::string& Device() const { return device_; }

    std::size_t Read(std::uint8_t* buffer, std::size_t count) override;
    std::size_t Write(const std::uint8_t* buffer, std::size_t count) override;
    std::size_t BytesWaiting() override;
    bool WaitReadable(std::chrono::milliseconds timeout) override;
    // The device reports a hang-up or an error, or its node is gone.
    bool LineLost() override;
    // The open device's descriptor, for a program that waits on it in its
    // own event loop; -1 where the system has none to offer.
    int Descriptor() const override;

private:
#ifdef _WIN32
    void* handle_ = nullptr; // the open device; nullptr when closed
    // The byte WaitReadable took from the driver to learn that one had come;
    // Read hands it out first.
    std::optional<std::uint8_t> lookahead_;
#else
    int fd_ = -1;
#endif
    bool overlapped_ = false;
    std::string device_;
};

struct SerialPortInfo {
    std::string device;      // what to open, e.g. /dev/ttyUSB0 or COM3
    std::string description; // what the system says the device is
};

// Where the system lists its serial ports. On Linux tests point these at
// trees of their own; Windows has one place, the registry.
struct SerialPortSources {
#ifndef _WIN32
    std::string sysClassTty = "/sys/class/tty";
    std::string devDir = "/dev";
#endif
};

class CSerialPortList {
public:
    explicit CSerialPortList(SerialPortSources sources = {});

    // Builds the list on first call; later calls only rewind the cursor.
    int Enumerate();
    // The next port's device path, or nothing after the last one.
    std::optional<std::string> Next();
    // The first port's device path, or nothing when there is no port.
    std::optional<std::string> FirstPortName();

    const std::vector<SerialPortInfo>& Ports() const { return ports_; }
    std::size_t Count() const { return ports_.size(); }
    // The system's first serial slot (/dev/ttyS0, COM1), for when no port
    // is found.
    std::string FirstSlot() const;

private:
    void Build();

    SerialPortSources sources_;
    std::vector<SerialPortInfo> ports_;
    bool built_ = false;
    std::size_t cursor_ = 0;
};

} // namespace halcyra
