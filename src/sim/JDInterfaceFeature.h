#pragma once
// The JD tracked interface calibration, run through named parameters: a
// write of JD30TCalCmd 1 starts it, and JD30TCalStatusStr moves through its
// stages while JD30TCalStatus is 1; it ends with 2 (succeeded) or, as the
// option says, 3 (failed). JD30TCalCmd 0 stops a run.

#include "sim/SimFeature.h"

#include <optional>
#include <string>

namespace halcyra::sim {

class CJDInterfaceFeature final : public CSimFeature {
public:
    static std::vector<const CSimOption*> Options();
    explicit CJDInterfaceFeature(const SimSettings& settings);
    void Register(CSimController& sim) override;
    void Tick(Clock::time_point now) override;

    bool Running() const { return started_.has_value(); }
    // The texts of a run's stages, in order.
    static const std::vector<std::string>& StageTexts();

private:
    void OnCommand(const std::string& value);
    void Report(std::uint32_t status, const std::string& text);

    std::chrono::milliseconds stageTime_;
    bool fails_;
    CSimController* sim_ = nullptr;
    Clock::time_point now_{};
    std::optional<Clock::time_point> started_;
};

} // namespace halcyra::sim
