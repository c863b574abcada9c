#include "ScratchDir.h"
#include "link/ControllerMsg.h"
#include "link/Framing.h"
#include "link/MemoryPort.h"
#include "sim/SimController.h"

#include <gtest/gtest.h>

#include <filesystem>

#ifndef _WIN32
#include "Fifo.h"
#endif

using namespace halcyra;
using namespace halcyra::sim;
using namespace halcyra::test;
using namespace std::chrono_literals;

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

    EXPECT_EQ("vtt: 7", ReplyText(*sim.Handle(ParamRequest(1, "vtt: 7"), now)));
    EXPECT_EQ("vtt: 7", ReplyText(*sim.Handle(ParamRequest(0, "vtt"), now)));
    EXPECT_EQ("lat: 2", ReplyText(*sim.Handle(ParamRequest(1, "lat: 2"), now))); // a whole number is a decimal too

    // An unknown name is answered with text that is not "name: value".
    std::string unknown = ReplyText(*sim.Handle(ParamRequest(0, "zzzNope"), now));
    EXPECT_EQ(std::string::npos, unknown.find("zzzNope: "));
}

TEST(SimController, RefusesSetsOfUnknownNamesAndValuesOfTheWrongTypeKeepingTheOldValue)
{
    struct Case {
        const char* request;
        const char* name;
        const char* kept; // the value before and after; null: the name stays unknown
    };
    const Case cases[] = {
        {"dsu: abc", "dsu", "1"},
        {"dsu: 1.5", "dsu", "1"},
        {"dsu: -1", "dsu", "1"},
        {"dsu: ", "dsu", "1"},
        {"dsu: 4294967296", "dsu", "1"},
        {"lat: abc", "lat", "1.000000"},
        {"lat: nan", "lat", "1.000000"},
        {"vms: Unquoted", "vms", "\"Fieldora 8240W\""},
        {"vms: \"a\"b\"", "vms", "\"Fieldora 8240W\""},
        {"vms: \"open", "vms", "\"Fieldora 8240W\""},
        {"zzq: 7", "zzq", nullptr},
        {"zzq 7", "zzq", nullptr},
    };
    CSimController sim;
    const auto now = Clock::now();
    for (const Case& c : cases) {
        const std::string reply = ReplyText(*sim.Handle(ParamRequest(1, c.request), now));
        // No refusal reads as "name: value" to a client.
        EXPECT_EQ(std::string::npos, reply.find(": ")) << c.request << " -> " << reply;
        if (c.kept)
            EXPECT_EQ(c.kept, sim.Params().Get(c.name).value_or("<none>")) << c.request;
        else
            EXPECT_FALSE(sim.Params().Contains(c.name)) << c.request;
    }
    EXPECT_EQ("dsu? expects a whole number", ReplyText(*sim.Handle(ParamRequest(1, "dsu: abc"), now)));
}

TEST(SimController, DefaultSetupDescribesAWheeledTractorInMetres)
{
    CSimController sim;
    EXPECT_EQ("5", sim.Params().Get("vtt").value_or(""));
    EXPECT_EQ("1", sim.Params().Get("dsu").value_or(""));
    EXPECT_EQ('"', sim.Params().Get("vms").value_or("x").front());
    for (const char* name : {"MonVerCVMajor", "MonVerCVMinor", "MonVerCVMonth", "MonVerCVDay", "MonVerCVYear", "vti"})
        EXPECT_TRUE(sim.Params().Contains(name)) << name;
    EXPECT_EQ(ParamType::Whole, sim.Params().Type("vtt"));
    EXPECT_EQ(ParamType::Decimal, sim.Params().Type("alz"));
    EXPECT_EQ(ParamType::Text, sim.Params().Type("DZSwpErr"));
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
    ASSERT_TRUE(sim.Params().Define("abc", std::string("\"\x10\x10x\"", 5)));
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

TEST(ParamStore, ValueTypesFollowTheControllersTextForms)
{
    const std::pair<const char*, std::optional<ParamType>> cases[] = {
        {"5", ParamType::Whole},
        {"4294967295", ParamType::Whole}, // a short holding -1 travels so
        {"4294967296", ParamType::Decimal},
        {"-3", ParamType::Decimal},
        {"1.500000", ParamType::Decimal},
        {"1e3", ParamType::Decimal},
        {"\"A B\"", ParamType::Text},
        {"\"\"", ParamType::Text},
        {"nan", std::nullopt},
        {"inf", std::nullopt},
        {"", std::nullopt},
        {"abc", std::nullopt},
        {" 5", std::nullopt},
        {"5 ", std::nullopt},
        {"\"", std::nullopt},
        {"\"a\"b\"", std::nullopt},
        {"\"a\" tail", std::nullopt},
    };
    for (const auto& [value, type] : cases)
        EXPECT_EQ(type, TypeOfValue(value)) << "'" << value << "'";
}

TEST(ParamStore, LoadsRecordsAndAppliesAssignments)
{
    CParamStore store;
    std::string error;
    ASSERT_TRUE(store.LoadText("vms: \"A B\"\r\nnot a record\nabc: 1.500000\n# comment: x\ndsu: 1\n", error)) << error;
    EXPECT_EQ("\"A B\"", store.Get("vms").value_or(""));
    EXPECT_EQ("1.500000", store.Get("abc").value_or(""));
    EXPECT_FALSE(store.Get("# comment"));

    // Assignments from the command line: a known name takes a value of its
    // type only; a new name is defined.
    EXPECT_TRUE(store.ApplyAssignment("dsu=3", error));
    EXPECT_EQ("3", store.Get("dsu").value_or(""));
    EXPECT_FALSE(store.ApplyAssignment("dsu=abc", error));
    EXPECT_EQ("cannot set dsu to abc: it holds a whole number", error);
    EXPECT_EQ("3", store.Get("dsu").value_or(""));
    EXPECT_TRUE(store.ApplyAssignment("zzq=7", error));
    EXPECT_EQ(ParamType::Whole, store.Type("zzq"));
    EXPECT_FALSE(store.ApplyAssignment("zzr=seven", error));
    EXPECT_FALSE(store.Contains("zzr"));
    EXPECT_FALSE(store.ApplyAssignment("=3", error));
    EXPECT_FALSE(store.ApplyAssignment("dsu", error));

    // The text form puts the vehicle model first and ends every line.
    EXPECT_EQ(0u, store.ToText().find("vms: \"A B\"\r\n"));
    EXPECT_EQ('\n', store.ToText().back());
}

TEST(ParamStore, SetupWithAValueOfNoTypeIsRefusedNamingTheLine)
{
    CParamStore store;
    std::string error;
    EXPECT_FALSE(store.LoadText("vtt: 5\r\n# a comment\r\nvms: Unquoted model\r\n", error));
    EXPECT_EQ("line 3: the value of vms is neither a whole number, a decimal number nor quoted text", error);
}

TEST(ParamStore, ALoneCrEndsALineInASetupAndInAnUploadedBlock)
{
    CParamStore store;
    std::string error;
    ASSERT_TRUE(store.LoadText("\xEF\xBB\xBFvms: \"A\"\rdsu: 1\rlat: 1.000000\n\rvtt: 5", error)) << error;
    EXPECT_EQ("\"A\"", store.Get("vms").value_or(""));
    EXPECT_EQ("1", store.Get("dsu").value_or(""));
    EXPECT_EQ("1.000000", store.Get("lat").value_or(""));
    EXPECT_EQ("5", store.Get("vtt").value_or(""));
    store.ApplyRecords("dsu: 3\rlat: 2.000000\rvms: \"B\"\r");
    EXPECT_EQ("3", store.Get("dsu").value_or(""));
    EXPECT_EQ("2.000000", store.Get("lat").value_or(""));
    EXPECT_EQ("\"B\"", store.Get("vms").value_or(""));
    // Lines are counted the same way when one is refused.
    EXPECT_FALSE(store.LoadText("vtt: 5\r# a comment\r\nvms: Unquoted\r", error));
    EXPECT_EQ("line 3: the value of vms is neither a whole number, a decimal number nor quoted text", error);
}

TEST(ParamStore, ASetupFileThatIsNoSetupIsRefusedSayingWhy)
{
    ScratchDir dir;
    const std::pair<std::string, std::string> texts[] = {
        {"", "it is empty"},
        {std::string("vms: \"A\"\r\nv\0t: 5\r\n", 17), "line 2 holds the control character 0x00 at character 2"},
        {"\x8B\x1F\xF3\x02\xA7", "line 1 holds the control character 0x1F at character 2"},
        {"a setup\r\nwithout records\r\n", "no line holds a parameter (NAME: VALUE)"},
    };
    for (const auto& [text, why] : texts) {
        WriteAll(dir.File("setup.cfg"), text);
        CParamStore store;
        std::string error;
        EXPECT_FALSE(store.LoadFile(dir.File("setup.cfg"), error));
        EXPECT_EQ(0u, error.find("setup file " + dir.File("setup.cfg"))) << error;
        EXPECT_NE(std::string::npos, error.find(why)) << error;
        EXPECT_TRUE(store.Values().empty());
    }
    std::filesystem::create_directory(dir.File("folder"));
    CParamStore store;
    std::string error;
    EXPECT_FALSE(store.LoadFile(dir.File("folder"), error));
    EXPECT_EQ("setup file " + dir.File("folder") + ": it is not a regular file", error);
#ifndef _WIN32
    Fifo fifo(dir.File("fifo"));
    EXPECT_TRUE(fifo.ReturnsWithin(2s, [&] { EXPECT_FALSE(store.LoadFile(fifo.Path(), error)); }));
    EXPECT_EQ("setup file " + fifo.Path() + ": it is not a regular file", error);
#endif
}

TEST(ParamStore, UploadedRecordsSetOnlyKnownNamesWithValuesOfTheirType)
{
    CParamStore store;
    std::string error;
    ASSERT_TRUE(store.LoadText("dsu: 1\nlat: 1.000000\nvms: \"A\"\n", error));
    store.ApplyRecords("dsu: 3\r\nlat: wide\r\nnew: 5\r\nvms: \"B\"\r\n");
    EXPECT_EQ("3", store.Get("dsu").value_or(""));
    EXPECT_EQ("1.000000", store.Get("lat").value_or(""));
    EXPECT_FALSE(store.Contains("new"));
    EXPECT_EQ("\"B\"", store.Get("vms").value_or(""));
}
