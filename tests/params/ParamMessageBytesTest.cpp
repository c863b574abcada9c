// Named parameters on the wire: each kind of parameter's get and set, with
// the request and reply texts written out by hand.

#include "MessageBytes.h"
#include "params/Param.h"

using namespace halcyra;
using namespace halcyra::test;

namespace {

class ParamMessageBytes : public ::testing::TestWithParam<ExchangeCase> {};

TEST_P(ParamMessageBytes, MatchTheTable) { CheckExchangeCase(GetParam()); }

// Gets p and tells whether it succeeded and the value it holds.
template <typename P> std::function<std::string(CControllerLink&)> Got(std::string name)
{
    return [=](CControllerLink& link) {
        P p(name);
        const bool ok = p.Get(link);
        return Values(ok, p.value);
    };
}

// Sets p to value and tells whether it succeeded.
template <typename P, typename V> std::function<std::string(CControllerLink&)> Sent(std::string name, V value)
{
    return [=](CControllerLink& link) {
        P p(name);
        p.value = value;
        return Values(p.Set(link));
    };
}

INSTANTIATE_TEST_SUITE_P(
    Params, ParamMessageBytes,
    ::testing::Values(
        ExchangeCase{"UIntGet", Got<CUIntParam>("gct"), {R"(BF 40 14 00 | "gct: 4000000000")"},
                     {R"(BE 40 14 00 | "gct")"}, "1 4000000000"},
        ExchangeCase{"UIntSet", Sent<CUIntParam>("gct", 7u), {R"(BF 40 14 01 | "gct: 7")"},
                     {R"(BE 40 14 01 | "gct: 7")"}, "1"},
        ExchangeCase{"ByteSetSendsTheLowEightBits", Sent<CByteParam>("xvp", 300u), {R"(BF 40 14 01 | "ok")"},
                     {R"(BE 40 14 01 | "xvp: 44")"}, "1"},
        ExchangeCase{"ShortGetOfAllOnes", Got<CShortParam>("MonVerCVDay"),
                     {R"(BF 40 14 00 | "MonVerCVDay: 4294967295")"}, {R"(BE 40 14 00 | "MonVerCVDay")"}, "1 -1"},
        ExchangeCase{"ShortSetOfMinusOne", Sent<CShortParam>("MonVerCVDay", std::int16_t{-1}),
                     {R"(BF 40 14 01 | "ok")"}, {R"(BE 40 14 01 | "MonVerCVDay: 4294967295")"}, "1"},
        ExchangeCase{"FloatGet", Got<CFloatParam>("pgr"), {R"(BF 40 14 00 | "pgr: 0.750000")"},
                     {R"(BE 40 14 00 | "pgr")"}, "1 0.75"},
        ExchangeCase{"FloatSet", Sent<CFloatParam>("pgr", 2.5f), {R"(BF 40 14 01 | "ok")"},
                     {R"(BE 40 14 01 | "pgr: 2.500000")"}, "1"},
        ExchangeCase{"StringGet", Got<CStringParam>("vms"), {R"(BF 40 14 00 | "vms: " 22 "JD 8R" 22)"},
                     {R"(BE 40 14 00 | "vms")"}, R"(1 "JD 8R")"},
        ExchangeCase{"StringSet", Sent<CStringParam>("vms", std::string("Field 7")), {R"(BF 40 14 01 | "ok")"},
                     {R"(BE 40 14 01 | "vms: " 22 "Field 7" 22)"}, "1"},
        ExchangeCase{"ValuelessSet",
                     [](CControllerLink& link) { return Values(CParam("ClearFaults").Set(link)); },
                     {R"(BF 40 14 01 | "ok")"},
                     {R"(BE 40 14 01 | "ClearFaults: ")"},
                     "1"},
        ExchangeCase{"UnitsGet",
                     [](CControllerLink& link) {
                         CUnitsParam units;
                         const bool ok = units.Get(link);
                         return Values(ok, units.value, units.UnitName(), units.Factor());
                     },
                     {R"(BF 40 14 00 | "dsu: 2")"},
                     {R"(BE 40 14 00 | "dsu")"},
                     R"(1 2 "in" 39.3701)"},
        ExchangeCase{"LengthGetThenSetInDisplayUnits",
                     [](CControllerLink& link) {
                         CLengthParam spacing("trw");
                         const bool got = spacing.Get(link);
                         const float shown = spacing.value;
                         spacing.value = 150.0f;
                         return Values(got, shown, spacing.Set(link));
                     },
                     {R"(BF 40 14 00 | "trw: 2.000000")", R"(BF 40 14 00 | "dsu: 0")", R"(BF 40 14 01 | "ok")"},
                     {R"(BE 40 14 00 | "trw")", R"(BE 40 14 00 | "dsu")", R"(BE 40 14 01 | "trw: 1.500000")"},
                     "1 200 1"}),
    ExchangeName);

} // namespace
