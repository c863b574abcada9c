// Windows serial port (Win32 communications functions) and port enumeration
// (the registry's serial device map, the DOS device names, the Ports class).

#include "link/ComPortList.h"
#include "link/Notifier.h"
#include "link/SerialPort.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <setupapi.h>

#include <algorithm>
#include <chrono>
#include <limits>

namespace halcyra {

namespace {

// The system's text for an error code, without the full stop and line end.
std::string SystemText(DWORD error)
{
    char* text = nullptr;
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length > 0 && text ? std::string(text, length) : "error " + std::to_string(error);
    if (text)
        LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' ' ||
                                message.back() == '.'))
        message.pop_back();
    return message;
}

} // namespace

std::string CSerialException::GetErrorMessage() const { return SystemText(static_cast<DWORD>(error_)); }

// Windows answers a port that another program holds with access denied;
// there is no group a user must join.
bool CSerialException::PermissionDenied() const { return false; }

namespace {

HANDLE AsHandle(void* handle) { return static_cast<HANDLE>(handle); }

[[noreturn]] void Raise(DWORD error, const std::string& message)
{
    throw CSerialException(static_cast<int>(error), message);
}

[[noreturn]] void RaiseLast(const std::string& what)
{
    const DWORD error = GetLastError();
    Raise(error, what + ": " + SystemText(error));
}

std::string OpenFailureText(const std::string& device, DWORD error)
{
    switch (error) {
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        return device + " is in use by another program; close it there and try again";
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_NETPATH:
        return device + " does not exist";
    case ERROR_INVALID_FUNCTION:
    case ERROR_NOT_SUPPORTED:
        return device + " is not a serial port";
    default:
        return "Cannot open " + device + ": " + SystemText(error);
    }
}

// COM5 is opened as \\.\COM5, which also reaches COM10 and above; a path is
// opened as given.
std::string DevicePath(const std::string& device)
{
    if (device.find_first_of("\\/:") != std::string::npos)
        return device;
    return "\\\\.\\" + device;
}

void ApplySettings(DCB& dcb, unsigned baud, Parity parity, int dataBits, StopBits stopBits, FlowControl flow,
                   const std::string& device)
{
    if (dataBits < 5 || dataBits > 8)
        Raise(ERROR_INVALID_PARAMETER, device + ": unsupported data bits " + std::to_string(dataBits));
    dcb.BaudRate = baud;
    dcb.ByteSize = static_cast<BYTE>(dataBits);
    switch (parity) {
    case Parity::Even: dcb.Parity = EVENPARITY; break;
    case Parity::Mark: dcb.Parity = MARKPARITY; break;
    case Parity::None: dcb.Parity = NOPARITY; break;
    case Parity::Odd: dcb.Parity = ODDPARITY; break;
    case Parity::Space: dcb.Parity = SPACEPARITY; break;
    }
    dcb.fParity = parity != Parity::None;
    switch (stopBits) {
    case StopBits::One: dcb.StopBits = ONESTOPBIT; break;
    case StopBits::OneAndHalf: dcb.StopBits = ONE5STOPBITS; break;
    case StopBits::Two: dcb.StopBits = TWOSTOPBITS; break;
    }
    // Frames are binary: a driver left dropping NUL bytes, replacing damaged
    // ones or halting on a line error by an earlier program would mangle or
    // stall them.
    dcb.fBinary = TRUE;
    dcb.fNull = FALSE;
    dcb.fErrorChar = FALSE;
    dcb.fAbortOnError = FALSE;
    dcb.fDsrSensitivity = FALSE;

    dcb.fOutxCtsFlow = flow == FlowControl::CtsRts || flow == FlowControl::CtsDtr;
    dcb.fOutxDsrFlow = flow == FlowControl::DsrRts || flow == FlowControl::DsrDtr;
    dcb.fOutX = flow == FlowControl::XonXoff;
    dcb.fInX = flow == FlowControl::XonXoff;
    switch (flow) {
    case FlowControl::None: break; // DTR and RTS stay as the driver has them
    case FlowControl::CtsRts:
    case FlowControl::DsrRts: dcb.fRtsControl = RTS_CONTROL_HANDSHAKE; break;
    case FlowControl::CtsDtr:
    case FlowControl::DsrDtr: dcb.fDtrControl = DTR_CONTROL_HANDSHAKE; break;
    case FlowControl::XonXoff:
        dcb.XonChar = 0x11;
        dcb.XoffChar = 0x13;
        dcb.XonLim = 100;
        dcb.XoffLim = 100;
        break;
    }
}

// A ReadFile under these returns at once with what is queued, or with the
// first byte to arrive, or with nothing once readTimeoutMs has passed; zero
// makes it return at once even when nothing is queued.
bool SetReadTimeout(HANDLE handle, DWORD readTimeoutMs)
{
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.ReadTotalTimeoutMultiplier = readTimeoutMs == 0 ? 0 : MAXDWORD;
    timeouts.ReadTotalTimeoutConstant = readTimeoutMs;
    return SetCommTimeouts(handle, &timeouts) != 0;
}

} // namespace

CSerialPort::~CSerialPort() { Close(); }

bool CSerialPort::IsOpen() const { return handle_ != nullptr; }

void CSerialPort::Open(const std::string& device, unsigned baud, Parity parity, int dataBits, StopBits stopBits,
                       FlowControl flow, bool overlapped, INotifier* notifier)
{
    Close();
    HANDLE handle = INVALID_HANDLE_VALUE;
    auto fail = [&](DWORD error, const std::string& text) {
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
        if (notifier)
            notifier->Notify("Failed to open up " + device, kAppTitle, MsgButtons::Ok, MsgIcon::None);
        Raise(error, text);
    };

    // No sharing: a port another program holds is refused, and none can take
    // ours. Reads and writes here are synchronous whatever overlapped asks.
    handle = CreateFileA(DevicePath(device).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        fail(error, OpenFailureText(device, error));
    }
    COMMPROP properties{};
    if (!GetCommProperties(handle, &properties))
        fail(GetLastError(), OpenFailureText(device, ERROR_NOT_SUPPORTED));
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(handle, &dcb)) {
        const DWORD error = GetLastError();
        fail(error, device + ": cannot read the port settings: " + SystemText(error));
    }
    try {
        ApplySettings(dcb, baud, parity, dataBits, stopBits, flow, device);
    } catch (const CSerialException& e) {
        fail(static_cast<DWORD>(e.Error()), e.what());
    }
    if (!SetCommState(handle, &dcb) || !SetReadTimeout(handle, 0)) {
        const DWORD error = GetLastError();
        fail(error, device + ": cannot apply the port settings: " + SystemText(error));
    }
    // Whatever waited in the input before this session (answers to another
    // program's requests, line noise) is no answer to anything sent now. The
    // queue is never purged again while the port stays open.
    PurgeComm(handle, PURGE_RXCLEAR);
    handle_ = handle;
    overlapped_ = overlapped;
    device_ = device;
}

void CSerialPort::Close()
{
    if (handle_)
        CloseHandle(AsHandle(handle_));
    handle_ = nullptr;
    lookahead_.reset();
    overlapped_ = false;
}

namespace {

std::size_t QueuedBytes(HANDLE handle, const std::string& device)
{
    DWORD errors = 0;
    COMSTAT status{};
    if (!ClearCommError(handle, &errors, &status))
        RaiseLast(device + ": status query failed");
    return status.cbInQue;
}

} // namespace

std::size_t CSerialPort::Read(std::uint8_t* buffer, std::size_t count)
{
    if (!handle_)
        Raise(ERROR_INVALID_HANDLE, "Serial port is not open");
    std::size_t done = 0;
    if (lookahead_ && count > 0) {
        buffer[done++] = *lookahead_;
        lookahead_.reset();
    }
    // Only what is queued: such a read returns at once under any time-out.
    const std::size_t want = std::min(count - done, QueuedBytes(AsHandle(handle_), device_));
    if (want == 0)
        return done;
    DWORD got = 0;
    if (!ReadFile(AsHandle(handle_), buffer + done, static_cast<DWORD>(std::min<std::size_t>(want, MAXDWORD)), &got,
                  nullptr))
        RaiseLast(device_ + ": read failed");
    return done + got;
}

std::size_t CSerialPort::Write(const std::uint8_t* buffer, std::size_t count)
{
    if (!handle_)
        Raise(ERROR_INVALID_HANDLE, "Serial port is not open");
    std::size_t done = 0;
    while (done < count) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count - done, MAXDWORD));
        if (!WriteFile(AsHandle(handle_), buffer + done, chunk, &written, nullptr))
            RaiseLast(device_ + ": write failed");
        if (written == 0)
            Raise(ERROR_WRITE_FAULT, device_ + ": write failed: the port took nothing");
        done += written;
    }
    return done;
}

std::size_t CSerialPort::BytesWaiting()
{
    if (!handle_)
        Raise(ERROR_INVALID_HANDLE, "Serial port is not open");
    return (lookahead_ ? 1 : 0) + QueuedBytes(AsHandle(handle_), device_);
}

int CSerialPort::Descriptor() const { return -1; }

// An unplugged USB adapter leaves a handle the driver no longer answers for.
bool CSerialPort::LineLost()
{
    if (!handle_)
        return false;
    DWORD errors = 0;
    COMSTAT status{};
    return !ClearCommError(AsHandle(handle_), &errors, &status);
}

bool CSerialPort::WaitReadable(std::chrono::milliseconds timeout)
{
    if (BytesWaiting() > 0)
        return true;
    // The driver wakes a read at the first byte or at the deadline; the byte
    // it reads is kept for Read.
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            return false;
        const auto wait = static_cast<DWORD>(std::min<long long>(left, MAXDWORD - 1));
        if (!SetReadTimeout(AsHandle(handle_), wait))
            RaiseLast(device_ + ": wait failed");
        std::uint8_t byte = 0;
        DWORD got = 0;
        if (!ReadFile(AsHandle(handle_), &byte, 1, &got, nullptr))
            RaiseLast(device_ + ": read failed");
        if (got == 1) {
            lookahead_ = byte;
            return true;
        }
    }
}

// ---------------------------------------------------------------- port list

namespace {

std::vector<comports::SerialMapEntry> ReadSerialMap()
{
    std::vector<comports::SerialMapEntry> entries;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return entries;
    for (DWORD index = 0;; ++index) {
        char name[16384];
        BYTE data[1024];
        DWORD nameLength = sizeof name;
        DWORD dataLength = sizeof data - 1;
        DWORD type = 0;
        const LONG result = RegEnumValueA(key, index, name, &nameLength, nullptr, &type, data, &dataLength);
        if (result == ERROR_MORE_DATA)
            continue; // no port name is that long
        if (result != ERROR_SUCCESS)
            break;
        if (type != REG_SZ)
            continue;
        data[dataLength] = 0; // the stored text need not end in one
        entries.push_back({std::string(name, nameLength), std::string(reinterpret_cast<const char*>(data))});
    }
    RegCloseKey(key);
    return entries;
}

std::vector<std::string> DosDeviceNames()
{
    // The list outgrows any fixed buffer on some machines: grow until it fits.
    std::vector<char> buffer(65536);
    for (;;) {
        const DWORD length = QueryDosDeviceA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length > 0) {
            std::vector<std::string> names;
            for (std::size_t i = 0; i < length && buffer[i] != 0; i += names.back().size() + 1)
                names.emplace_back(&buffer[i]);
            return names;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || buffer.size() >= (std::size_t{16} << 20))
            return {};
        buffer.resize(buffer.size() * 4);
    }
}

std::string DeviceProperty(HDEVINFO devices, SP_DEVINFO_DATA& device, DWORD property)
{
    char text[512];
    DWORD type = 0;
    if (!SetupDiGetDeviceRegistryPropertyA(devices, &device, property, &type, reinterpret_cast<BYTE*>(text),
                                           sizeof text - 1, nullptr) ||
        type != REG_SZ)
        return {};
    text[sizeof text - 1] = 0;
    return text;
}

// The devices of class Ports that are present, with the port each one has.
std::vector<comports::PortClassEntry> PortClassDevices()
{
    // GUID_DEVCLASS_PORTS
    static const GUID kPortsClass = {0x4d36e978, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};
    std::vector<comports::PortClassEntry> entries;
    HDEVINFO devices = SetupDiGetClassDevsA(&kPortsClass, nullptr, nullptr, DIGCF_PRESENT);
    if (devices == INVALID_HANDLE_VALUE)
        return entries;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD index = 0; SetupDiEnumDeviceInfo(devices, index, &device); ++index) {
        HKEY key = SetupDiOpenDevRegKey(devices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
        if (key == INVALID_HANDLE_VALUE)
            continue;
        char port[64] = {};
        DWORD length = sizeof port - 1;
        DWORD type = 0;
        const bool named = RegQueryValueExA(key, "PortName", nullptr, &type, reinterpret_cast<BYTE*>(port), &length) ==
                               ERROR_SUCCESS &&
                           type == REG_SZ;
        RegCloseKey(key);
        if (!named)
            continue;
        std::string friendly = DeviceProperty(devices, device, SPDRP_FRIENDLYNAME);
        if (friendly.empty())
            friendly = DeviceProperty(devices, device, SPDRP_DEVICEDESC);
        entries.push_back({port, friendly, DeviceProperty(devices, device, SPDRP_ENUMERATOR_NAME)});
    }
    SetupDiDestroyDeviceInfoList(devices);
    return entries;
}

// A COM name the serial map does not list is a port if it opens as one.
// Opened without access rights, which touches no line and works on a port
// another program holds.
bool OpensAsSerialPort(const std::string& name)
{
    HANDLE handle = CreateFileA(DevicePath(name).c_str(), 0, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    COMMPROP properties{};
    const bool serial = GetCommProperties(handle, &properties) != 0;
    CloseHandle(handle);
    return serial;
}

} // namespace

std::string CSerialPortList::FirstSlot() const { return "COM1"; }

void CSerialPortList::Build()
{
    ports_ = comports::BuildComPortList(ReadSerialMap(), DosDeviceNames(), PortClassDevices(), OpensAsSerialPort);
}

} // namespace halcyra
