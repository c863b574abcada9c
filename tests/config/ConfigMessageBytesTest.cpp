// The vehicle list messages on the wire, with the bytes written out by hand.

#include "MessageBytes.h"
#include "config/VehicleChange.h"

using namespace halcyra;
using namespace halcyra::test;

namespace {

class ConfigMessageBytes : public ::testing::TestWithParam<MessageCase> {};

TEST_P(ConfigMessageBytes, MatchTheTable) { CheckMessageCase(GetParam()); }

const auto kEntry = Read<CVehicleEntryMsg>([](const auto& m) { return Values(m.replyIndex, m.code, m.name); });

INSTANTIATE_TEST_SUITE_P(
    VehicleList, ConfigMessageBytes,
    ::testing::Values(
        MessageCase{"VehicleCount", Make<CVehicleCountMsg>(), "BE 47 14 00", "BF 47 14 00 | 00 01 00 03", "65539",
                    Read<CVehicleCountMsg>([](const auto& m) { return Values(m.count); })},
        MessageCase{"VehicleEntry", Make<CVehicleEntryMsg>(CVehicleEntryMsg::kEntry, std::uint16_t{258}),
                    "BE 47 14 01 | 01 02", R"(BF 47 14 01 | 01 02 | "JD8R" 00*12 | "John Deere 8R" 00*3)",
                    R"(258 "JD8R" "John Deere 8R")", kEntry},
        MessageCase{"SelectVehicle", Make<CVehicleEntryMsg>(CVehicleEntryMsg::kSelect, std::uint16_t{2}),
                    "BE 47 14 02 | 00 02", R"(BF 47 14 02 | 00 02 | "MF7700" 00*10 | "Massey 7700" 00*5)",
                    R"(2 "MF7700" "Massey 7700")", kEntry}),
    CaseName);

} // namespace
