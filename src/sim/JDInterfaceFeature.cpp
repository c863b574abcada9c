#include "sim/JDInterfaceFeature.h"

#include "link/MessageIds.h"
#include "sim/SimController.h"

#include <algorithm>

namespace halcyra::sim {

using namespace wire::calibration;

namespace {

bool Outcome(const std::string& value, std::string& why)
{
    why = "expected success or failure";
    return value == "success" || value == "failure";
}

const TSimOption<std::uint32_t> kStageMs{"jd-cal-stage-ms", "MS", "1500",
                                         "time each stage of the JD interface calibration takes"};
const TSimOption<std::string> kResult{"jd-cal-result", "RESULT", "success",
                                      "how the JD interface calibration ends (success or failure)", Outcome};

constexpr const char* kSucceededText = "Status: Calibration completed successfully";
constexpr const char* kFailedText = "Status: Calibration failed - no response from the track interface";
constexpr const char* kStoppedText = "Status: Calibration stopped";

} // namespace

std::vector<const CSimOption*> CJDInterfaceFeature::Options() { return {&kStageMs, &kResult}; }

CJDInterfaceFeature::CJDInterfaceFeature(const SimSettings& settings)
    : stageTime_(std::max<std::uint32_t>(kStageMs.From(settings), 1)), fails_(kResult.From(settings) == "failure")
{
}

const std::vector<std::string>& CJDInterfaceFeature::StageTexts()
{
    static const std::vector<std::string> texts = {
        "Status: Contacting the track interface",
        "Status: Calibrating the left track",
        "Status: Calibrating the right track",
        "Status: Storing the calibration",
    };
    return texts;
}

void CJDInterfaceFeature::Register(CSimController& sim)
{
    sim_ = &sim;
    sim.Params().OnSet("JD30TCalCmd", [this](const std::string& value) { OnCommand(value); });
}

void CJDInterfaceFeature::Report(std::uint32_t status, const std::string& text)
{
    sim_->Params().Set("JD30TCalStatus", std::to_string(status));
    sim_->Params().Set("JD30TCalStatusStr", "\"" + text + "\"");
}

void CJDInterfaceFeature::OnCommand(const std::string& value)
{
    if (value == std::to_string(kJDInterfaceStart)) {
        started_ = now_;
        Report(kJDInterfaceRunning, StageTexts().front());
    } else if (value == std::to_string(kJDInterfaceStop)) {
        // A finished run keeps its result's text.
        if (started_)
            Report(kJDInterfaceIdle, kStoppedText);
        else
            sim_->Params().Set("JD30TCalStatus", std::to_string(kJDInterfaceIdle));
        started_.reset();
    }
}

void CJDInterfaceFeature::Tick(Clock::time_point now)
{
    now_ = now;
    if (!started_)
        return;
    const auto stage = static_cast<std::size_t>((now - *started_) / stageTime_);
    if (stage < StageTexts().size()) {
        Report(kJDInterfaceRunning, StageTexts()[stage]);
        return;
    }
    started_.reset();
    // A failed run gives up at its last stage.
    if (fails_)
        Report(kJDInterfaceFailed, kFailedText);
    else
        Report(kJDInterfaceSucceeded, kSucceededText);
}

} // namespace halcyra::sim
