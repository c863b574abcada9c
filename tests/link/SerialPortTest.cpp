// The serial port on a pseudo-terminal, and port enumeration over a fake
// sysfs tree.

#include "RecordingNotifier.h"
#include "link/SerialPort.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <string>
#include <sys/ioctl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace halcyra {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using namespace std::chrono_literals;

class SerialPortPty : public ::testing::Test {
protected:
    void SetUp() override
    {
        master = ::posix_openpt(O_RDWR | O_NOCTTY);
        ASSERT_GE(master, 0);
        ASSERT_EQ(::grantpt(master), 0);
        ASSERT_EQ(::unlockpt(master), 0);
        device = ::ptsname(master);
    }
    void TearDown() override
    {
        if (master >= 0)
            ::close(master);
    }
    // Reads what the port wrote to the other end, waiting up to a second.
    Bytes ReadMaster(std::size_t count)
    {
        Bytes out;
        const auto deadline = std::chrono::steady_clock::now() + 1s;
        while (out.size() < count && std::chrono::steady_clock::now() < deadline) {
            pollfd p{master, POLLIN, 0};
            if (::poll(&p, 1, 100) <= 0)
                continue;
            std::uint8_t buf[256];
            ssize_t n = ::read(master, buf, sizeof buf);
            if (n > 0)
                out.insert(out.end(), buf, buf + n);
        }
        return out;
    }
    void WriteMaster(const Bytes& bytes) { ASSERT_EQ(::write(master, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size())); }

    int master = -1;
    std::string device;
};

std::string OpenFailure(const std::string& device, INotifier* notifier = nullptr)
{
    CSerialPort port;
    try {
        port.Open(device, 38400, Parity::None, 8, StopBits::One, FlowControl::None, false, notifier);
    } catch (const CSerialException& e) {
        EXPECT_FALSE(port.IsOpen());
        return e.what();
    }
    return "opened";
}

TEST_F(SerialPortPty, SecondOpenOfAnOpenPortReportsItInUse)
{
    CSerialPort port;
    port.Open(device);
    EXPECT_TRUE(port.IsOpen());
    EXPECT_NE(OpenFailure(device).find("in use"), std::string::npos);

    port.Close();
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(OpenFailure(device), "opened");
}

// A descriptor of the test's own on the device, opened before the port takes
// it exclusively. Line settings belong to the device, so it sees what the
// port applied.
int OpenWitness(const std::string& device, speed_t speed, tcflag_t cflag, tcflag_t lflag, tcflag_t iflag)
{
    int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    EXPECT_GE(fd, 0);
    termios tio{};
    ::tcgetattr(fd, &tio);
    ::cfmakeraw(&tio);
    tio.c_cflag = (tio.c_cflag & ~static_cast<tcflag_t>(CSIZE)) | cflag;
    tio.c_lflag |= lflag;
    tio.c_iflag |= iflag;
    ::cfsetispeed(&tio, speed);
    ::cfsetospeed(&tio, speed);
    EXPECT_EQ(::tcsetattr(fd, TCSANOW, &tio), 0);
    return fd;
}

TEST_F(SerialPortPty, OpenAppliesRawEightNoneOneAt38400)
{
    // Start from a cooked 9600 7E2 line with software flow control.
    const int witness = OpenWitness(device, B9600, CS7 | PARENB | CSTOPB | CREAD, ICANON | ECHO | ISIG | IEXTEN,
                                    IXON | IXOFF | ICRNL);
    CSerialPort port;
    port.Open(device);
    termios tio{};
    ASSERT_EQ(::tcgetattr(witness, &tio), 0);
    EXPECT_EQ(::cfgetispeed(&tio), static_cast<speed_t>(B38400));
    EXPECT_EQ(::cfgetospeed(&tio), static_cast<speed_t>(B38400));
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(tio.c_cflag & (CREAD | CLOCAL), static_cast<tcflag_t>(CREAD | CLOCAL));
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | ICRNL | INLCR | IGNCR | ISTRIP), 0u);
    EXPECT_EQ(tio.c_oflag & OPOST, 0u);
    EXPECT_EQ(tio.c_cc[VMIN], 0);
    EXPECT_EQ(tio.c_cc[VTIME], 0);
    ::close(witness);
}

TEST_F(SerialPortPty, OpenDropsWhatWaitedBeforeItAndKeepsWhatComesAfter)
{
    const int witness = OpenWitness(device, B38400, CS8 | CREAD, 0, 0);
    WriteMaster({0x10, 0xBF, 0x40, 0x14}); // a reply meant for an earlier session
    int waiting = 0;
    for (int i = 0; i < 100 && waiting < 4; ++i) {
        pollfd p{witness, POLLIN, 0};
        ::poll(&p, 1, 10);
        ::ioctl(witness, FIONREAD, &waiting);
    }
    ASSERT_EQ(waiting, 4);

    CSerialPort port;
    port.Open(device);
    EXPECT_EQ(port.BytesWaiting(), 0u);
    WriteMaster({0x10, 0x03});
    ASSERT_TRUE(port.WaitReadable(1000ms));
    std::uint8_t buf[8] = {};
    EXPECT_EQ(port.Read(buf, sizeof buf), 2u);
    EXPECT_EQ(buf[0], 0x10);
    ::close(witness);
}

TEST(SerialPortOpen, MissingDeviceAndPlainFileAreReportedPlainly)
{
    test::CRecordingNotifier notifier;
    const std::string missing = "/nonexistent/ttyHALCYRA0";
    EXPECT_NE(OpenFailure(missing, &notifier).find("does not exist"), std::string::npos);
    ASSERT_EQ(notifier.Texts(), std::vector<std::string>{"Failed to open up " + missing});

    const fs::path file = fs::temp_directory_path() / ("halcyra_not_a_port_" + std::to_string(::getpid()));
    std::ofstream(file) << "x";
    EXPECT_NE(OpenFailure(file.string()).find("not a serial port"), std::string::npos);
    fs::remove(file);

    try {
        CSerialPort port;
        port.Open(missing);
        ADD_FAILURE() << "opened a missing device";
    } catch (const CSerialException& e) {
        EXPECT_EQ(e.Error(), ENOENT);
        EXPECT_FALSE(e.GetErrorMessage().empty());
    }
}

TEST_F(SerialPortPty, BytesCrossInBothDirections)
{
    CSerialPort port;
    port.Open(device);

    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(port.WaitReadable(30ms));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 25ms);
    EXPECT_EQ(port.BytesWaiting(), 0u);

    WriteMaster({0x10, 0xBE, 0x00, 0x0A, 0x0D, 0x03});
    ASSERT_TRUE(port.WaitReadable(1000ms));
    const auto deadline = std::chrono::steady_clock::now() + 1s;
    while (port.BytesWaiting() < 6 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(1ms);
    ASSERT_EQ(port.BytesWaiting(), 6u);
    std::uint8_t buf[8] = {};
    ASSERT_EQ(port.Read(buf, sizeof buf), 6u);
    EXPECT_EQ(Bytes(buf, buf + 6), (Bytes{0x10, 0xBE, 0x00, 0x0A, 0x0D, 0x03}));
    EXPECT_EQ(port.Read(buf, sizeof buf), 0u); // nothing waiting: returns at once

    const Bytes out = {0x10, 0xBF, 0x0A, 0x0D, 0x11, 0x13};
    ASSERT_EQ(port.Write(out.data(), out.size()), out.size());
    EXPECT_EQ(ReadMaster(out.size()), out);
}

// ---------------------------------------------------------------- port list

class SerialPortList : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = fs::temp_directory_path() /
               ("halcyra_tty_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root / "dev");
        fs::create_directories(root / "class");

        const fs::path usb = root / "devices/usb1";
        Text(usb / "1-1/product", "FT232R USB UART\n");
        Text(usb / "1-1/manufacturer", "FTDI\n");
        Port("ttyUSB0", usb / "1-1/1-1:1.0/ttyUSB0", "");
        Text(usb / "1-2/product", "Halcyra Cable\n");
        Text(usb / "1-2/manufacturer", "Halcyra\n");
        Port("ttyACM0", usb / "1-2/1-2:1.0", "");
        Text(usb / "1-3/product", "Widget\n");
        Port("ttyUSB1", usb / "1-3/1-3:1.0/ttyUSB1", "");

        const fs::path platform = root / "devices/platform/serial8250";
        Port("ttyS10", platform, "4\n");
        Port("ttyS0", platform, "4\n");
        Port("ttyS2", platform, "4\n");
        Port("ttyS1", platform, "0\n");                   // no UART behind it
        fs::create_directories(root / "class/tty0");       // a console: no device link
        Text(root / "dev/tty0", "");
        Port("ttyS3", platform, "4\n");
        fs::remove(root / "dev/ttyS3");                    // no device node
    }
    void TearDown() override { fs::remove_all(root); }

    static void Text(const fs::path& file, const std::string& text)
    {
        fs::create_directories(file.parent_path());
        std::ofstream(file) << text;
    }
    void Port(const std::string& name, const fs::path& target, const std::string& type)
    {
        fs::create_directories(target);
        fs::create_directories(root / "class" / name);
        fs::create_directory_symlink(target, root / "class" / name / "device");
        if (!type.empty())
            Text(root / "class" / name / "type", type);
        Text(root / "dev" / name, "");
    }
    std::vector<std::string> Names(CSerialPortList& list)
    {
        std::vector<std::string> names;
        list.Enumerate();
        while (auto name = list.Next())
            names.push_back(fs::path(*name).filename().string());
        return names;
    }

    fs::path root;
};

TEST_F(SerialPortList, ListsRealPortsUsbFirstInNaturalOrder)
{
    CSerialPortList list({(root / "class").string(), (root / "dev").string()});
    EXPECT_EQ(Names(list), (std::vector<std::string>{"ttyACM0", "ttyUSB0", "ttyUSB1", "ttyS0", "ttyS2", "ttyS10"}));
    ASSERT_EQ(list.Ports().size(), 6u);
    EXPECT_EQ(list.Ports()[0].device, (root / "dev/ttyACM0").string());
    EXPECT_EQ(list.FirstPortName(), (root / "dev/ttyACM0").string());
}

TEST_F(SerialPortList, SecondEnumerateRewindsWithoutSearchingAgain)
{
    CSerialPortList list({(root / "class").string(), (root / "dev").string()});
    const std::vector<std::string> first = Names(list);
    EXPECT_FALSE(list.Next().has_value());

    Port("ttyUSB7", root / "devices/usb1/1-7", "");
    EXPECT_EQ(Names(list), first);
    CSerialPortList fresh({(root / "class").string(), (root / "dev").string()});
    EXPECT_EQ(Names(fresh).size(), first.size() + 1);
}

TEST_F(SerialPortList, MissingTreeGivesAnEmptyList)
{
    CSerialPortList list({(root / "nothing").string(), (root / "dev").string()});
    EXPECT_EQ(list.Enumerate(), 0);
    EXPECT_FALSE(list.Next().has_value());
    EXPECT_FALSE(list.FirstPortName().has_value());
}

} // namespace
} // namespace halcyra
