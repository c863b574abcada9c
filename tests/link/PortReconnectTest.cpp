// A controller whose port goes away and comes back under another device
// name: the simulator's pseudo-terminal closed and a new one opened, reached
// through the same link in a by-id directory.

#include "SimFixture.h"
#include "link/PortReconnect.h"
#include "params/Param.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <vector>

using namespace halcyra;
using namespace halcyra::test;

namespace {

std::unique_ptr<sim::CSimServer> Serve(const std::string& linkPath)
{
    sim::SimOptions o;
    o.linkPath = linkPath;
    auto server = std::make_unique<sim::CSimServer>(o);
    std::string error;
    EXPECT_TRUE(server->Open(error)) << error;
    server->Start();
    return server;
}

bool Answers(CControllerLink& link)
{
    CUIntParam vtt("vtt");
    return vtt.Get(link) && vtt.value == 5u;
}

} // namespace

TEST(PortReconnect, AReturningPortIsOpenedAgainUnderItsStableName)
{
    ScratchDir dir;
    const std::string byId = dir.File("by-id");
    std::filesystem::create_directories(byId);
    const std::string stable = byId + "/usb-Halcyra_Controller_HC2-if00-port0";
    auto server = Serve(stable);
    const std::string firstDevice = server->DevicePath();

    CRecordingNotifier notifier;
    CControllerLink link(notifier);
    link.Open(firstDevice, false); // opened by its device name, as the port list gives it
    CPortReconnect reconnect(link, byId);
    reconnect.Watch();
    EXPECT_EQ(stable, reconnect.Identity());
    EXPECT_TRUE(Answers(link));
    EXPECT_FALSE(reconnect.Check());

    server.reset(); // the cable is pulled
    EXPECT_TRUE(reconnect.Check());
    EXPECT_TRUE(reconnect.Disconnected());
    EXPECT_FALSE(link.IsOpen());
    // What a command started now meets: the closed port, not a time-out.
    CUIntParam vtt("vtt");
    EXPECT_THROW(vtt.Get(link), CSerialException);
    EXPECT_FALSE(reconnect.Check()); // still away

    // Others take the freed device name (another test's simulator may hold
    // it for a moment; a few more make sure ours does).
    std::vector<std::unique_ptr<sim::CSimServer>> squatters;
    for (int i = 0; i < 8 && (squatters.empty() || squatters.back()->DevicePath() != firstDevice); ++i)
        squatters.push_back(Serve(""));
    server = Serve(stable); // back, under another device name
    EXPECT_NE(firstDevice, server->DevicePath());
    EXPECT_TRUE(reconnect.Check());
    EXPECT_EQ(CPortReconnect::State::Connected, reconnect.GetState());
    EXPECT_EQ(stable, link.CurrentPort());
    EXPECT_TRUE(Answers(link));
    EXPECT_TRUE(notifier.shown.empty()) << notifier.shown.front().text;
}

TEST(PortReconnect, APortClosedOnPurposeIsNotReopened)
{
    ScratchDir dir;
    auto server = Serve("");
    CRecordingNotifier notifier;
    CControllerLink link(notifier);
    link.Open(server->DevicePath(), false);
    CPortReconnect reconnect(link, dir.File("no-by-id"));
    reconnect.Watch();
    // Without a by-id name the port is known by the name it was opened with.
    EXPECT_EQ(server->DevicePath(), reconnect.Identity());
    link.Close();
    EXPECT_TRUE(reconnect.Check());
    EXPECT_EQ(CPortReconnect::State::Idle, reconnect.GetState());
    EXPECT_FALSE(reconnect.Check());
    EXPECT_FALSE(link.IsOpen());
}

TEST(PortReconnect, AByIdNameIsItsOwnIdentity)
{
    ScratchDir dir;
    const std::string byId = dir.File("by-id");
    EXPECT_EQ(byId + "/usb-x", StablePortIdentity(byId + "/usb-x", byId + "/"));
    EXPECT_EQ("/dev/ttyS99", StablePortIdentity("/dev/ttyS99", byId));
}
