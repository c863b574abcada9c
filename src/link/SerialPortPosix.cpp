// POSIX serial port and port enumeration (Linux sysfs).

#include "link/Notifier.h"
#include "link/SerialPort.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <tuple>
#include <unistd.h>

namespace halcyra {

namespace fs = std::filesystem;

std::string CSerialException::GetErrorMessage() const { return std::strerror(error_); }

bool CSerialException::PermissionDenied() const { return error_ == EACCES || error_ == EPERM; }

namespace {

[[noreturn]] void Raise(int error, const std::string& message) { throw CSerialException(error, message); }

std::string OpenFailureText(const std::string& device, int error)
{
    switch (error) {
    case EBUSY:
    case EWOULDBLOCK:
        return device + " is in use by another program; close it there and try again";
    case EACCES:
    case EPERM:
        return "Permission denied for " + device +
               ": your user must be in the 'dialout' group (sudo usermod -a -G dialout $USER, then log in again)";
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return device + " does not exist";
    case ENOTTY:
        return device + " is not a serial port";
    default:
        return "Cannot open " + device + ": " + std::strerror(error);
    }
}

bool BaudToSpeed(unsigned baud, speed_t& speed)
{
    struct Rate {
        unsigned baud;
        speed_t speed;
    };
    static constexpr Rate rates[] = {{1200, B1200},     {2400, B2400},     {4800, B4800},
                                     {9600, B9600},     {19200, B19200},   {38400, B38400},
                                     {57600, B57600},   {115200, B115200}, {230400, B230400}};
    for (const Rate& r : rates) {
        if (r.baud == baud) {
            speed = r.speed;
            return true;
        }
    }
    return false;
}

// Maps the line settings onto termios. POSIX has no one-and-a-half stop bits
// and no DSR or DTR handshakes: those become two stop bits and RTS/CTS.
void ApplySettings(termios& tio, unsigned baud, Parity parity, int dataBits, StopBits stopBits,
                   FlowControl flow, const std::string& device)
{
    cfmakeraw(&tio);
    speed_t speed{};
    if (!BaudToSpeed(baud, speed))
        Raise(EINVAL, device + ": unsupported baud rate " + std::to_string(baud));
    cfsetispeed(&tio, speed);
    cfsetospeed(&tio, speed);

    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE);
    switch (dataBits) {
    case 5: tio.c_cflag |= CS5; break;
    case 6: tio.c_cflag |= CS6; break;
    case 7: tio.c_cflag |= CS7; break;
    case 8: tio.c_cflag |= CS8; break;
    default: Raise(EINVAL, device + ": unsupported data bits " + std::to_string(dataBits));
    }

    tio.c_cflag &= ~static_cast<tcflag_t>(PARENB | PARODD | CMSPAR);
    switch (parity) {
    case Parity::None: break;
    case Parity::Even: tio.c_cflag |= PARENB; break;
    case Parity::Odd: tio.c_cflag |= PARENB | PARODD; break;
    case Parity::Mark: tio.c_cflag |= PARENB | PARODD | CMSPAR; break;
    case Parity::Space: tio.c_cflag |= PARENB | CMSPAR; break;
    }

    if (stopBits == StopBits::One)
        tio.c_cflag &= ~static_cast<tcflag_t>(CSTOPB);
    else
        tio.c_cflag |= CSTOPB;

    tio.c_cflag |= CREAD | CLOCAL; // CLOCAL: DSR/DCD never gate the port
    tio.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    switch (flow) {
    case FlowControl::None: break;
    case FlowControl::CtsRts:
    case FlowControl::CtsDtr:
    case FlowControl::DsrRts:
    case FlowControl::DsrDtr: tio.c_cflag |= CRTSCTS; break;
    case FlowControl::XonXoff:
        tio.c_iflag |= IXON | IXOFF;
        tio.c_cc[VSTART] = 0x11;
        tio.c_cc[VSTOP] = 0x13;
        break;
    }
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
}

} // namespace

CSerialPort::~CSerialPort() { Close(); }

bool CSerialPort::IsOpen() const { return fd_ >= 0; }

void CSerialPort::Open(const std::string& device, unsigned baud, Parity parity, int dataBits,
                       StopBits stopBits, FlowControl flow, bool overlapped, INotifier* notifier)
{
    Close();
    auto fail = [&](int error, const std::string& text) {
        if (fd_ >= 0) {
            ::close(fd_);
            fd_ = -1;
        }
        if (notifier)
            notifier->Notify("Failed to open up " + device, kAppTitle, MsgButtons::Ok, MsgIcon::None);
        Raise(error, text);
    };

    int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        int error = errno;
        fail(error, OpenFailureText(device, error));
    }
    fd_ = fd;
    if (!::isatty(fd_))
        fail(ENOTTY, OpenFailureText(device, ENOTTY));
    // TIOCEXCL keeps other programs out; the advisory lock also covers programs
    // running with privileges that TIOCEXCL does not stop.
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        int error = errno;
        fail(error, OpenFailureText(device, error));
    }
    if (::ioctl(fd_, TIOCEXCL) != 0) {
        int error = errno;
        fail(error, OpenFailureText(device, error));
    }
    termios tio{};
    if (::tcgetattr(fd_, &tio) != 0) {
        int error = errno;
        fail(error, device + ": cannot read the port settings: " + std::strerror(error));
    }
    try {
        ApplySettings(tio, baud, parity, dataBits, stopBits, flow, device);
    } catch (const CSerialException& e) {
        fail(e.Error(), e.what());
    }
    if (::tcsetattr(fd_, TCSANOW, &tio) != 0) {
        int error = errno;
        fail(error, device + ": cannot apply the port settings: " + std::strerror(error));
    }
    // Whatever waited in the input before this session (answers to another
    // program's requests, line noise) is no answer to anything sent now. The
    // queue is never purged again while the port stays open.
    ::tcflush(fd_, TCIFLUSH);
    overlapped_ = overlapped;
    device_ = device;
}

void CSerialPort::Close()
{
    if (fd_ >= 0) {
        ::ioctl(fd_, TIOCNXCL);
        ::close(fd_);
    }
    fd_ = -1;
    overlapped_ = false;
}

std::size_t CSerialPort::Read(std::uint8_t* buffer, std::size_t count)
{
    if (fd_ < 0)
        Raise(EBADF, "Serial port is not open");
    for (;;) {
        ssize_t n = ::read(fd_, buffer, count);
        if (n >= 0)
            return static_cast<std::size_t>(n);
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN)
            return 0;
        int error = errno;
        Raise(error, device_ + ": read failed: " + std::strerror(error));
    }
}

std::size_t CSerialPort::Write(const std::uint8_t* buffer, std::size_t count)
{
    if (fd_ < 0)
        Raise(EBADF, "Serial port is not open");
    std::size_t done = 0;
    while (done < count) {
        ssize_t n = ::write(fd_, buffer + done, count - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN) {
            // The driver's output queue is full: wait for room, never spin.
            pollfd p{fd_, POLLOUT, 0};
            if (::poll(&p, 1, 1000) < 0 && errno != EINTR) {
                int error = errno;
                Raise(error, device_ + ": write failed: " + std::strerror(error));
            }
            continue;
        }
        int error = n < 0 ? errno : EIO;
        Raise(error, device_ + ": write failed: " + std::strerror(error));
    }
    return done;
}

std::size_t CSerialPort::BytesWaiting()
{
    if (fd_ < 0)
        Raise(EBADF, "Serial port is not open");
    int waiting = 0;
    if (::ioctl(fd_, FIONREAD, &waiting) != 0) {
        int error = errno;
        Raise(error, device_ + ": status query failed: " + std::strerror(error));
    }
    return waiting > 0 ? static_cast<std::size_t>(waiting) : 0;
}

int CSerialPort::Descriptor() const { return fd_; }

bool CSerialPort::LineLost()
{
    if (fd_ < 0)
        return false;
    pollfd p{fd_, POLLIN, 0};
    if (::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)))
        return true;
    struct stat st {};
    return ::stat(device_.c_str(), &st) != 0 && (errno == ENOENT || errno == ENODEV || errno == ENXIO);
}

bool CSerialPort::WaitReadable(std::chrono::milliseconds timeout)
{
    if (fd_ < 0)
        Raise(EBADF, "Serial port is not open");
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        // Round up so a sub-millisecond remainder still waits instead of spinning.
        int ms = left.count() <= 0 ? 0 : static_cast<int>(left.count()) + 1;
        pollfd p{fd_, POLLIN, 0};
        int r = ::poll(&p, 1, ms);
        if (r > 0) {
            if (p.revents & POLLIN)
                return true;
            if (p.revents & (POLLERR | POLLNVAL))
                Raise(EIO, device_ + ": the port reported an error");
            // POLLHUP without data: the other end is gone for now; wait out the time.
            if (Clock::now() >= deadline)
                return false;
            auto rest = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            ::poll(nullptr, 0, static_cast<int>(rest.count()) + 1);
            return false;
        }
        if (r == 0)
            return false;
        if (errno != EINTR) {
            int error = errno;
            Raise(error, device_ + ": wait failed: " + std::strerror(error));
        }
    }
}

// ---------------------------------------------------------------- port list

namespace {

std::string ReadFirstLine(const fs::path& file)
{
    std::ifstream in(file);
    std::string line;
    if (in)
        std::getline(in, line);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
        line.pop_back();
    return line;
}

// Orders "ttyS2" before "ttyS10": the prefix, then the trailing number by
// its length without leading zeros, then by its digits.
bool NaturalLess(const std::string& a, const std::string& b)
{
    auto split = [](const std::string& name) {
        std::size_t digits = name.size();
        while (digits > 0 && std::isdigit(static_cast<unsigned char>(name[digits - 1])))
            --digits;
        std::string number = name.substr(digits);
        number.erase(0, std::min(number.find_first_not_of('0'), number.size()));
        return std::tuple(name.substr(0, digits), number.size(), number);
    };
    return split(a) < split(b);
}

bool IsUsbName(const std::string& name) { return name.rfind("ttyUSB", 0) == 0 || name.rfind("ttyACM", 0) == 0; }

std::string Describe(const fs::path& entry, const std::string& name)
{
    std::error_code ec;
    fs::path device = fs::canonical(entry / "device", ec);
    if (!ec) {
        // USB adapters: the product text sits on the USB device a few levels up.
        fs::path dir = device;
        for (int level = 0; level < 4 && !dir.empty() && dir != dir.root_path(); ++level) {
            std::string product = ReadFirstLine(dir / "product");
            if (!product.empty()) {
                std::string maker = ReadFirstLine(dir / "manufacturer");
                return maker.empty() || product.rfind(maker, 0) == 0 ? product : maker + " " + product;
            }
            dir = dir.parent_path();
        }
    }
    if (name.rfind("ttyS", 0) == 0 || name.rfind("ttyAMA", 0) == 0)
        return "Serial port";
    fs::path driver = fs::read_symlink(entry / "device" / "driver", ec);
    if (!ec)
        return "Serial port (" + driver.filename().string() + ")";
    return "Serial port";
}

} // namespace

std::string CSerialPortList::FirstSlot() const { return (fs::path(sources_.devDir) / "ttyS0").string(); }

void CSerialPortList::Build()
{
    std::error_code ec;
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(sources_.sysClassTty, ec)) {
        std::string name = entry.path().filename().string();
        // Consoles and pseudo-terminals have no device behind them.
        if (!fs::exists(entry.path() / "device", ec))
            continue;
        // Legacy ttyS slots without a UART report type 0.
        if (name.rfind("ttyS", 0) == 0 && ReadFirstLine(entry.path() / "type") == "0")
            continue;
        if (!fs::exists(fs::path(sources_.devDir) / name, ec))
            continue;
        names.push_back(name);
    }
    // USB adapters first: on a laptop that is where the controller cable is.
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        bool ua = IsUsbName(a), ub = IsUsbName(b);
        if (ua != ub)
            return ua;
        return NaturalLess(a, b);
    });
    for (const std::string& name : names)
        ports_.push_back(
            {(fs::path(sources_.devDir) / name).string(), Describe(fs::path(sources_.sysClassTty) / name, name)});
}

} // namespace halcyra
