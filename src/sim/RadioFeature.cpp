#include "sim/RadioFeature.h"

#include "sim/ParamFeature.h"
#include "sim/SimController.h"

namespace halcyra::sim {

namespace {

const TSimOption<std::uint32_t> kBusyGets{
    "radio-busy-gets", "N", "0",
    "the radio status reads \"cannot connect\" (rnie -2, or rni 42 without rnie) for the first N gets"};

} // namespace

std::vector<const CSimOption*> CRadioFeature::Options() { return {&kBusyGets}; }

CRadioFeature::CRadioFeature(const SimSettings& settings) : busyGetsLeft_(kBusyGets.From(settings)) {}

void CRadioFeature::Register(CSimController& sim)
{
    CParamFeature& params = sim.Feature<CParamFeature>();
    params.AnswerGets([this, &params](CSimController&, const std::string& name) -> std::optional<std::string> {
        // Newer firmware reports the status in "rnie"; "rni" then holds the network number.
        const std::string status = params.Knows("rnie") ? "rnie" : "rni";
        if (busyGetsLeft_ == 0 || name != status)
            return std::nullopt;
        --busyGetsLeft_;
        return name == "rnie" ? "-2.000000" : "42";
    });
}

} // namespace halcyra::sim
