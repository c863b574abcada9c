// The data logging messages on the wire, with the bytes written out by hand:
// the three-byte status and command, the output setting, and the block
// frames of a streamed item.

#include "MessageBytes.h"
#include "logging/LoggingMessages.h"

using namespace halcyra;
using namespace halcyra::test;
using namespace halcyra::wire::logging;

namespace {

class LoggingMessageBytes : public ::testing::TestWithParam<MessageCase> {};

TEST_P(LoggingMessageBytes, MatchTheTable) { CheckMessageCase(GetParam()); }

const auto kItem = Read<CDataLogBlockMsg>([](const auto& m) {
    return Values(m.Finished(), m.ReceivedBytes(), std::string(m.Data().begin(), m.Data().end()));
});

INSTANTIATE_TEST_SUITE_P(
    Logging, LoggingMessageBytes,
    ::testing::Values(
        MessageCase{"Status", Make<CLogStatusMsg>(), "BE 42 04", "BF 42 04 | 01 | 00 00 01 00 | 00 00 10 00",
                    "1 256 4096",
                    Read<CLogStatusMsg>([](const auto& m) { return Values(m.active, m.valueA, m.valueB); })},
        MessageCase{"Start", Make<CLogCommandMsg>(kStartCommand), "BE 43 03 | 00 00 00 01"},
        MessageCase{"Stop", Make<CLogCommandMsg>(kStopCommand), "BE 43 03 | 00 00 00 00"},
        MessageCase{"Clear", Make<CLogCommandMsg>(kClearCommand), "BE 43 03 | 00 00 00 02"},
        MessageCase{"OutputGet", Make<CLogOutputGetMsg>(), "BE 47 0E 08", "BF 47 0E 08 | 00 00 01 02", "258",
                    Read<CLogOutputGetMsg>([](const auto& m) { return Values(m.setting); })},
        MessageCase{"OutputSetToThePC", Make<CLogOutputSetMsg>(kExternalOutput), "BE 47 0E 09 | 00 00 00 06"},
        MessageCase{"OutputSetBack", Make<CLogOutputSetMsg>(std::uint32_t{258}), "BE 47 0E 09 | 00 00 01 02"},
        MessageCase{"HeaderFrame", Make<CDataLogBlockMsg>(kHeaderOp), "", R"(BF 47 0E 06 | 01 01 05 | "HELLO")",
                    R"(1 5 "HELLO")", kItem, true},
        MessageCase{"RecordFrame", Make<CDataLogBlockMsg>(kRecordOp), "", R"(BF 47 0E 07 | 01 01 03 | "abc")",
                    R"(1 3 "abc")", kItem, true}),
    CaseName);

} // namespace
