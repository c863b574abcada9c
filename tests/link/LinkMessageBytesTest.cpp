// The link's own messages on the wire: named-parameter text, the status
// request and the reset, with the bytes written out by hand.

#include "MessageBytes.h"
#include "link/ControllerMsg.h"

using namespace halcyra;
using namespace halcyra::test;

namespace {

class LinkMessageBytes : public ::testing::TestWithParam<MessageCase> {};

TEST_P(LinkMessageBytes, MatchTheTable) { CheckMessageCase(GetParam()); }

const auto kText = Read<CParamTextMsg>([](const auto& m) { return Values(m.Text()); });
const auto kStatus = Read<CStatusMsg>([](const auto& m) { return Values(m.status[0], m.status[1], m.status[2]); });

INSTANTIATE_TEST_SUITE_P(
    Link, LinkMessageBytes,
    ::testing::Values(
        MessageCase{"ParamGet", Make<CParamTextMsg>(CParamTextMsg::Get, std::string("MonVerCVMajor")),
                    R"(BE 40 14 00 | "MonVerCVMajor")", R"(BF 40 14 00 | "MonVerCVMajor: 2")",
                    R"("MonVerCVMajor: 2")", kText, true},
        MessageCase{"ParamSet", Make<CParamTextMsg>(CParamTextMsg::Set, std::string("dsu: 3")),
                    R"(BE 40 14 01 | "dsu: 3")", R"(BF 40 14 01 | "ok")", R"("ok")", kText, true},
        MessageCase{"StatusOfTwoBytes", Make<CStatusMsg>(), "BE 46 00 00", "BF 46 00 00 | 01 00", "1 0 0", kStatus,
                    true},
        MessageCase{"StatusWithAThirdByteAfterTwo", Make<CStatusMsg>(), "BE 46 00 00", "BF 46 00 00 | 02 05 07",
                    "2 5 7", kStatus, true},
        MessageCase{"Reset", Make<CResetMsg>(), "BE 46 00 02"}),
    CaseName);

} // namespace
