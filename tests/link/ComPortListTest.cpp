// The Windows port list, built from what the system reports: the serial
// device map, the DOS device names and the Ports device class.

#include "link/ComPortList.h"

#include <gtest/gtest.h>

using namespace halcyra;
using namespace halcyra::comports;

namespace {

std::vector<std::string> Devices(const std::vector<SerialPortInfo>& ports)
{
    std::vector<std::string> names;
    for (const SerialPortInfo& p : ports)
        names.push_back(p.device);
    return names;
}

} // namespace

TEST(ComPortList, OnlyComFollowedByANumberIsAPortName)
{
    EXPECT_EQ(3, ComNumber("COM3"));
    EXPECT_EQ(123, ComNumber("COM123"));
    EXPECT_EQ(7, ComNumber("com7"));
    EXPECT_EQ(0, ComNumber("COM1A"));
    EXPECT_EQ(0, ComNumber("COM"));
    EXPECT_EQ(0, ComNumber("COM256"));
    EXPECT_EQ(0, ComNumber("LPT1"));
    EXPECT_FALSE(IsComName("COM03"));
}

TEST(ComPortList, AHeldPortIsListedOnlyWhenTheMapNamesIt)
{
    // COM3 and COM4 are held by another program, so neither opens; only the
    // map vouches for COM3. COM9 is a virtual port the map does not list,
    // and it opens. com7 keeps the case the system gave it.
    const std::vector<SerialMapEntry> map = {{"\\Device\\Serial0", "COM3"}, {"\\Device\\Serial1", "COM1"}};
    const std::vector<std::string> dos = {"PhysicalDrive0", "COM4", "COM9", "com7", "COM1A", "COM3", "COM1"};
    auto opens = [](const std::string& name) { return name == "COM9" || name == "com7" || name == "COM1A"; };
    EXPECT_EQ((std::vector<std::string>{"COM1", "COM3", "com7", "COM9"}), Devices(BuildComPortList(map, dos, {}, opens)));
}

TEST(ComPortList, UsbAdaptersComeFirstWithTheirFriendlyNames)
{
    const std::vector<SerialMapEntry> map = {
        {"\\Device\\Serial0", "COM1"}, {"\\Device\\VCP0", "COM12"}, {"\\Device\\USBSER000", "COM4"}};
    const std::vector<PortClassEntry> portClass = {{"COM12", "USB Serial Port (COM12)", "FTDIBUS"},
                                                   {"COM1", "Communications Port (COM1)", "ACPI"}};
    const auto ports = BuildComPortList(map, {"COM1", "COM4", "COM12"}, portClass, {});
    EXPECT_EQ((std::vector<std::string>{"COM4", "COM12", "COM1"}), Devices(ports));
    EXPECT_EQ("Serial port", ports[0].description);
    EXPECT_EQ("USB Serial Port", ports[1].description);
    EXPECT_EQ("Communications Port", ports[2].description);
}

TEST(ComPortList, WithoutDosNamesTheMapIsTheListAndNamesAreNotRepeated)
{
    const std::vector<SerialMapEntry> map = {{"\\Device\\Serial1", "COM2"}, {"\\Device\\Serial0", "COM1"},
                                             {"\\Device\\Other", "com2"}, {"\\Device\\Odd", "NOTAPORT"}};
    EXPECT_EQ((std::vector<std::string>{"COM1", "COM2"}), Devices(BuildComPortList(map, {}, {}, {})));
}
