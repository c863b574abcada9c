// The identity, block transfer and fault messages on the wire, with the
// bytes written out by hand.

#include "MessageBytes.h"
#include "link/MessageIds.h"
#include "setup/BlockTransfer.h"
#include "setup/Faults.h"
#include "setup/InfoMessages.h"

using namespace halcyra;
using namespace halcyra::test;

namespace {

class SetupMessageBytes : public ::testing::TestWithParam<MessageCase> {};

TEST_P(SetupMessageBytes, MatchTheTable) { CheckMessageCase(GetParam()); }

MessageCase Compatibility(std::string name, std::uint8_t sub, std::string request)
{
    std::string reply = "BF" + request.substr(2) + " | 01";
    return {std::move(name), Make<CCompatibilityMsg>(sub), std::move(request), std::move(reply), "1 1",
            Read<CCompatibilityMsg>([](const auto& m) { return Values(m.reply, m.Compatible()); })};
}

INSTANTIATE_TEST_SUITE_P(
    Identity, SetupMessageBytes,
    ::testing::Values(
        MessageCase{"FirmwareInfo", Make<CFirmwareInfoMsg>(), "BE 40 00 00",
                    // version, year - 1900, month, day, two bytes, 3 words, 8 text bytes,
                    // 13 words, 2 shorts, 9 words
                    R"(BF 40 00 00 | 01 1E 00 7C 06 0F 00 00 | 00 00 00 01 00*8 | "HC-APP1" 58 |
                       00 00 00 02 00*48 | 00 03 00 00 | 00*32 00 00 00 2A)",
                    R"(286 2024 6 15 "HC-APP1" 1 2 3 42)", Read<CFirmwareInfoMsg>([](const auto& m) {
                        return Values(m.versionTimes100, m.year, m.month, m.day, std::string(m.text), m.words8[0],
                                      m.words28[0], m.shorts80[0], m.words84[8]);
                    })},
        MessageCase{"UnitInfo", Make<CUnitInfoMsg>(), "BE 40 01 00",
                    R"(BF 40 01 00 | "HC1234567890ABCD" | 01 00 01 00*60 01)", R"("HC1234567890ABC" 1 0 1 1)",
                    Read<CUnitInfoMsg>([](const auto& m) {
                        return Values(m.SerialNumber(), m.options[0], m.options[1], m.options[2], m.options[63]);
                    })},
        Compatibility("CompatibilityA", wire::info::kCompatibilitySubs[0], "BE 40 00 03"),
        Compatibility("CompatibilityB", wire::info::kCompatibilitySubs[1], "BE 40 01 03"),
        Compatibility("CompatibilityC", wire::info::kCompatibilitySubs[2], "BE 40 05 03")),
    CaseName);

// An upload chunk as the transfer fills it: "vms" at the start, zeros after.
std::function<std::unique_ptr<CControllerMsg>()> UploadChunk(std::uint8_t block, std::uint16_t index,
                                                             std::uint32_t totalLength)
{
    return [=] {
        auto m = std::make_unique<CBlockChunkUploadMsg>(block);
        m->index = index;
        m->totalLength = totalLength;
        m->data.fill(0);
        m->data[0] = 'v', m->data[1] = 'm', m->data[2] = 's';
        return std::unique_ptr<CControllerMsg>(std::move(m));
    };
}

const auto kUploadReply = Read<CBlockChunkUploadMsg>([](const auto& m) { return Values(m.status, m.word); });

INSTANTIATE_TEST_SUITE_P(
    BlockTransfer, SetupMessageBytes,
    ::testing::Values(
        MessageCase{"BeginDownload", Make<CBlockBeginDownloadMsg>(std::uint8_t{5}), "BE 41 05 02 | 00 00",
                    "BF 41 05 02 | 00 | 12 34 | 00 00 03 E8", "0 4660 1000",
                    Read<CBlockBeginDownloadMsg>([](const auto& m) { return Values(m.status, m.word, m.length); })},
        MessageCase{"DownloadChunk",
                    [] {
                        auto m = std::make_unique<CBlockChunkDownloadMsg>(std::uint8_t{1});
                        m->index = 3;
                        return std::unique_ptr<CControllerMsg>(std::move(m));
                    },
                    "BE 41 01 03 | 00 03", "BF 41 01 03 | 00 | 00 07 | 41 42 00*225 5A", "0 7 65 66 90",
                    Read<CBlockChunkDownloadMsg>([](const auto& m) {
                        return Values(m.status, m.word, m.data[0], m.data[1], m.data[227]);
                    })},
        MessageCase{"BeginUpload", Make<CBlockBeginUploadMsg>(std::uint8_t{5}), "BE 41 05 00 | 00 00",
                    "BF 41 05 00 | 01 | 00 02", "1 2",
                    Read<CBlockBeginUploadMsg>([](const auto& m) { return Values(m.status, m.word); })},
        MessageCase{"UploadChunk", UploadChunk(5, 2, 0), R"(BE 41 05 01 | 00 02 | "vms" 00*225)",
                    "BF 41 05 01 | 00 | 00 00", "0 0", kUploadReply},
        MessageCase{"UploadLastChunk", UploadChunk(5, kLastChunkIndex, 0), R"(BE 41 05 01 | FF FF | "vms" 00*225)",
                    "BF 41 05 01 | 00 | 00 00", "0 0", kUploadReply},
        MessageCase{"UploadChunkOfBlockZero", UploadChunk(0, 2, 1000), R"(BE 41 00 01 | 00 00 03 E8 | "vms" 00*225)",
                    "BF 41 00 01 | 02 | 00 01", "2 1", kUploadReply}),
    CaseName);

const auto kFaultRecord = [](const auto& m) {
    const FaultRecord& r = m.record;
    return Values(r.number, r.active, r.word6, r.word10, r.count, r.short16, r.data[0], r.data[1], r.data[2],
                  r.short30, r.short32);
};
// Fault 7: active, count 4, data 1, 2.5 and -12.25; the stored words numbered by position.
constexpr const char* kFaultRecordPayload =
    "00 07 | 00 00 00 01 | 00 00 00 02 | 00 00 00 03 | 00 04 | 00 05 | 3F 80 00 00 40 20 00 00 C1 44 00 00 | "
    "00 06 | 00 07";

INSTANTIATE_TEST_SUITE_P(
    Faults, SetupMessageBytes,
    ::testing::Values(
        MessageCase{"FaultCount", Make<CFaultCountMsg>(), "BE 47 05 05", "BF 47 05 05 | 01 2C", "300",
                    Read<CFaultCountMsg>([](const auto& m) { return Values(m.count); })},
        MessageCase{"FaultRecord", Make<CFaultRecordMsg>(std::uint16_t{7}), "BE 47 05 02 | 00 07",
                    std::string("BF 47 05 02 | ") + kFaultRecordPayload, "7 1 2 3 4 5 1 2.5 -12.25 6 7",
                    Read<CFaultRecordMsg>(kFaultRecord)},
        MessageCase{"ClearFault", Make<CFaultClearMsg>(std::uint16_t{7}), "BE 47 05 03 | 00 07",
                    std::string("BF 47 05 03 | ") + kFaultRecordPayload, "7 1 2 3 4 5 1 2.5 -12.25 6 7",
                    Read<CFaultClearMsg>(kFaultRecord)},
        MessageCase{"FaultText", Make<CFaultTextMsg>(std::uint16_t{263}), "BE 47 05 06 | 01 07",
                    R"(BF 47 05 06 | 01 07 | "Low oil pressure" 00)", R"(263 "Low oil pressure")",
                    Read<CFaultTextMsg>([](const auto& m) { return Values(m.replyNumber, m.description); }), true}),
    CaseName);

} // namespace
