#pragma once
// The automated dead-zone calibration, run through named parameters: a
// write of DZSwpCmd begins a run (1), runs a coarse (3) or fine (4) sweep on
// the side DZSwpSide names, or ends the run (2). A sweep's DZSwpPercComplete
// rises over a few seconds; it ends with DZSwpCmd 7, the side's measured
// dead zone (different each sweep) and the other side next, or with 8 and
// DZSwpErr when the options make it fail. Block 8 reports the last run.

#include "sim/SimFeature.h"

#include <bitset>
#include <optional>
#include <string>
#include <vector>

namespace halcyra::sim {

// The "dz-fail" option: the sweeps whose first try in each run fails, from
// coarse-right, coarse-left, fine-right and fine-left.
struct FailingSweeps {
    std::bitset<4> sweeps;
};
bool ParseOptionValue(std::string_view text, FailingSweeps& value, std::string& why);

class CDeadZoneFeature final : public CSimFeature {
public:
    static std::vector<const CSimOption*> Options();
    explicit CDeadZoneFeature(const SimSettings& settings);
    void Register(CSimController& sim) override;
    void Tick(Clock::time_point now) override;

    // The calibration report of the last run, as block 8 holds it.
    std::string Report() const;
    bool SweepRunning() const { return sweep_.has_value(); }

private:
    struct Sweep {
        bool fine = false;
        bool left = false;
        Clock::time_point started;
        bool fails = false;
    };
    void OnCommand(const std::string& value);
    void BeginRun();
    void StartSweep(bool fine);
    void EndSweep(bool failed);
    void Set(const std::string& name, const std::string& value);
    static int SweepIndex(bool fine, bool left) { return (fine ? 2 : 0) + (left ? 1 : 0); }

    std::chrono::milliseconds sweepTime_;
    FailingSweeps failOnce_;
    std::string errorText_;
    CSimController* sim_ = nullptr;
    Clock::time_point now_{};
    std::optional<Sweep> sweep_;
    std::bitset<4> failedThisRun_;
    unsigned sweepsMeasured_ = 0; // over the controller's life: each measures anew
    unsigned fineLeftCount_ = 0;
    std::vector<std::string> log_; // the last run's sweeps
};

} // namespace halcyra::sim
