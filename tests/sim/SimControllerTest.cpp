#include "link/ControllerMsg.h"
#include "link/Framing.h"
#include "link/MemoryPort.h"
#include "sim/SimController.h"

#include <gtest/gtest.h>

using namespace halcyra;
using namespace halcyra::sim;

namespace {

Request ParamRequest(std::uint8_t op, const std::string& text)
{
    Request r;
    r.packetCode = 0xBE;
    r.messageId = 0x40;
    r.body.reserve(text.size() + 2);
    r.body.push_back(0x14);
    r.body.push_back(op);
    for (char c : text)
        r.body.push_back(static_cast<std::uint8_t>(c));
    return r;
}

std::string ReplyText(const Bytes& body) { return std::string(body.begin() + 3, body.end()); }

} // namespace

TEST(SimController, AnswersGetsFromItsStoreAndStoresSets)
{
    CSimController sim;
    auto now = Clock::now();
    auto reply = sim.Handle(ParamRequest(0, "vtt"), now);
    ASSERT_TRUE(reply);
    EXPECT_EQ((Bytes{0x40, 0x14, 0x00}), Bytes(reply->begin(), reply->begin() + 3));
    EXPECT_EQ("vtt: 5", ReplyText(*reply));

    ASSERT_TRUE(sim.Handle(ParamRequest(1, "vtt: 7"), now));
    EXPECT_EQ("vtt: 7", ReplyText(*sim.Handle(ParamRequest(0, "vtt"), now)));

    // An unknown name is answered with text that is not "name: value".
    std::string unknown = ReplyText(*sim.Handle(ParamRequest(0, "zzzNope"), now));
    EXPECT_EQ(std::string::npos, unknown.find("zzzNope: "));
}

TEST(SimController, DefaultSetupDescribesAWheeledTractorInMetres)
{
    CSimController sim;
    EXPECT_EQ("5", sim.Params().Get("vtt").value_or(""));
    EXPECT_EQ("1", sim.Params().Get("dsu").value_or(""));
    EXPECT_EQ('"', sim.Params().Get("vms").value_or("x").front());
    for (const char* name : {"MonVerCVMajor", "MonVerCVMinor", "MonVerCVMonth", "MonVerCVDay", "MonVerCVYear", "vti"})
        EXPECT_TRUE(sim.Params().Contains(name)) << name;
}

TEST(SimController, StaysSilentWhileRestartingAfterReset)
{
    SimSettings settings;
    settings.restartTime = std::chrono::milliseconds(1500);
    CSimController sim(settings);
    Request status{0xBE, 0x46, {0, 0}};
    Request reset{0xBE, 0x46, {0, 2}};
    auto t0 = Clock::now();
    ASSERT_TRUE(sim.Handle(status, t0));
    EXPECT_FALSE(sim.Handle(reset, t0));
    EXPECT_FALSE(sim.Handle(status, t0 + std::chrono::milliseconds(1400)));
    auto answer = sim.Handle(status, t0 + std::chrono::milliseconds(1600));
    ASSERT_TRUE(answer);
    EXPECT_EQ((Bytes{0x46, 0, 0, 1, 0}), *answer);
}

TEST(SimController, FramedRepliesDecodeOnTheClientSide)
{
    // A reply carrying DLE bytes in its text and checksum must reach the
    // client's message intact.
    CSimController sim;
    sim.Params().Set("abc", std::string("\x10\x10x", 3));
    Bytes frame = CSimController::FrameReply(*sim.Handle(ParamRequest(0, "abc"), Clock::now()));
    CMemoryPort port;
    port.Feed(frame);
    CRxBuffer rx(&port);
    ASSERT_TRUE(rx.ReadFrame());
    rx.ExposeHeader();
    CParamTextMsg msg(CParamTextMsg::Get, "abc");
    EXPECT_TRUE(msg.Matches(rx));
    EXPECT_TRUE(msg.IsComplete(rx));
}

TEST(ParamStore, LoadsRecordsAndAppliesAssignments)
{
    CParamStore store;
    store.LoadText("vms: \"A B\"\r\nnot a record\nabc: 1.500000\n# comment: x\n");
    EXPECT_EQ("\"A B\"", store.Get("vms").value_or(""));
    EXPECT_EQ("1.500000", store.Get("abc").value_or(""));
    EXPECT_FALSE(store.Get("# comment"));
    std::string error;
    EXPECT_TRUE(store.ApplyAssignment("dsu=3", error));
    EXPECT_EQ("3", store.Get("dsu").value_or(""));
    EXPECT_FALSE(store.ApplyAssignment("=3", error));
    EXPECT_FALSE(store.ApplyAssignment("dsu", error));
    // The text form puts the vehicle model first and ends every line.
    EXPECT_EQ(0u, store.ToText().find("vms: \"A B\"\r\n"));
    EXPECT_EQ('\n', store.ToText().back());
}
