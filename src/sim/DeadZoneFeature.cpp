#include "sim/DeadZoneFeature.h"

#include "link/Format.h"
#include "link/MessageIds.h"
#include "sim/SimController.h"

#include <algorithm>
#include <cmath>

namespace halcyra::sim {

using namespace wire::calibration;

namespace {

// A failing sweep gives up at this share of its way.
constexpr double kFailAtPercent = 60;
constexpr const char* kSweepNames[] = {"coarse-right", "coarse-left", "fine-right", "fine-left"};

const TSimOption<std::uint32_t> kSweepMs{"dz-sweep-ms", "MS", "4000", "time a dead-zone sweep takes"};
const TSimOption<FailingSweeps> kFail{
    "dz-fail", "SWEEPS",
    "", "dead-zone sweeps (coarse-right,coarse-left,fine-right,fine-left) that fail at their first try in each run"};
const TSimOption<std::string> kError{"dz-error", "TEXT", "Sweep stopped: the vehicle was not moving",
                                     "DZSwpErr of a failed sweep (a single blank: no text)"};

std::string Decimal(double value) { return Format("%f", value); }

} // namespace

bool ParseOptionValue(std::string_view text, FailingSweeps& value, std::string& why)
{
    unsigned long chosen = 0;
    if (!ParseNameList(text, {kSweepNames[0], kSweepNames[1], kSweepNames[2], kSweepNames[3]}, chosen, why))
        return false;
    value.sweeps = std::bitset<4>(chosen);
    return true;
}

std::vector<const CSimOption*> CDeadZoneFeature::Options() { return {&kSweepMs, &kFail, &kError}; }

CDeadZoneFeature::CDeadZoneFeature(const SimSettings& settings)
    : sweepTime_(std::max<std::uint32_t>(kSweepMs.From(settings), 1)), failOnce_(kFail.From(settings)),
      errorText_(kError.From(settings))
{
}

void CDeadZoneFeature::Register(CSimController& sim)
{
    sim_ = &sim;
    sim.Params().OnSet("DZSwpCmd", [this](const std::string& value) { OnCommand(value); });
}

void CDeadZoneFeature::Set(const std::string& name, const std::string& value) { sim_->Params().Set(name, value); }

void CDeadZoneFeature::OnCommand(const std::string& value)
{
    if (value == std::to_string(kDeadZoneBeginRun)) {
        BeginRun();
    } else if (value == std::to_string(kDeadZoneEndRun)) {
        if (sweep_)
            log_.push_back("Sweep stopped: the run was ended");
        sweep_.reset();
    } else if (value == std::to_string(kDeadZoneCoarseSweep)) {
        StartSweep(false);
    } else if (value == std::to_string(kDeadZoneFineSweep)) {
        StartSweep(true);
    }
    // 7 and 8 are this feature's own reports.
}

void CDeadZoneFeature::BeginRun()
{
    sweep_.reset();
    failedThisRun_.reset();
    fineLeftCount_ = 0;
    log_.clear();
    log_.push_back("Calibration run begun");
    Set("DZSwpSide", std::to_string(kSideRight));
    Set("DZSwpNumFineLeft", "0");
    Set("DZSwpPercComplete", Decimal(0));
    Set("DZSwpErr", "\" \"");
}

void CDeadZoneFeature::StartSweep(bool fine)
{
    const bool left = sim_->Params().Get("DZSwpSide").value_or("0") != "0";
    const int index = SweepIndex(fine, left);
    Sweep sweep{fine, left, now_, failOnce_.sweeps.test(index) && !failedThisRun_.test(index)};
    if (sweep.fails)
        failedThisRun_.set(index);
    sweep_ = sweep;
    Set("DZSwpPercComplete", Decimal(0));
}

void CDeadZoneFeature::Tick(Clock::time_point now)
{
    now_ = now;
    if (!sweep_)
        return;
    const double percent =
        std::min(100.0, std::chrono::duration<double, std::milli>(now - sweep_->started).count() * 100.0 /
                            static_cast<double>(sweepTime_.count()));
    if (sweep_->fails && percent >= kFailAtPercent)
        EndSweep(true);
    else if (percent >= 100)
        EndSweep(false);
    else
        Set("DZSwpPercComplete", Decimal(percent));
}

void CDeadZoneFeature::EndSweep(bool failed)
{
    const Sweep sweep = *sweep_;
    sweep_.reset();
    const std::string name = kSweepNames[SweepIndex(sweep.fine, sweep.left)];
    if (failed) {
        log_.push_back("Sweep " + name + " failed: " + errorText_);
        Set("DZSwpErr", "\"" + errorText_ + "\"");
        Set("DZSwpCmd", std::to_string(kDeadZoneSweepFailed));
        return;
    }
    // Each sweep measures a little differently, the fine ones closer together.
    ++sweepsMeasured_;
    const double wobble = std::fmod(sweepsMeasured_ * 0.618034, 1.0) - 0.5;
    const double deadZone = (sweep.left ? 0.31 : 0.29) + wobble * (sweep.fine ? 0.04 : 0.12);
    Set(sweep.left ? "DZSwpDZl" : "DZSwpDZr", Decimal(deadZone));
    if (sweep.fine && sweep.left)
        Set("DZSwpNumFineLeft", std::to_string(++fineLeftCount_));
    Set("DZSwpPercComplete", Decimal(100));
    Set("DZSwpSide", std::to_string(sweep.left ? kSideRight : kSideLeft));
    log_.push_back(Format("Sweep %s: dead zone %.3f", name.c_str(), deadZone));
    Set("DZSwpCmd", std::to_string(kDeadZoneSweepFinished));
}

std::string CDeadZoneFeature::Report() const
{
    auto value = [this](const char* name) { return sim_->Params().Get(name).value_or("?"); };
    std::string text = "Automated Deadzone Calibration Report\r\n";
    text += "Left dead zone (dzl): " + value("dzl") + "\r\n";
    text += "Right dead zone (dzr): " + value("dzr") + "\r\n";
    text += "Measured left dead zone: " + value("DZSwpDZl") + "\r\n";
    text += "Measured right dead zone: " + value("DZSwpDZr") + "\r\n";
    text += "Fine sweeps left: " + value("DZSwpNumFineLeft") + "\r\n";
    text += "Last run:\r\n";
    if (log_.empty())
        text += "  no run since power-up\r\n";
    for (const std::string& line : log_)
        text += "  " + line + "\r\n";
    return text;
}

} // namespace halcyra::sim
