#include "sim/DiagnosticsFeature.h"

#include "link/Format.h"
#include "link/MessageIds.h"
#include "sim/ParamFeature.h"
#include "sim/SimController.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace halcyra::sim {

namespace {

constexpr std::size_t kMaxInputs = 20;

const TSimOption<InputCodes> kInputs{
    "inputs", "LIST", "setup",
    "function codes of inputs 1, 2, ... (einum and ei1..), comma-separated, at most 20; none: no inputs; "
    "setup: as the setup has them"};
const TSimOption<InputCodes> kCanSignals{
    "can-signals", "LIST", "setup",
    "codes of CAN signals 1, 2, ... (csnum and cs1..), as for inputs (lso and vde: --set)"};

// A number in [0, 1) that depends only on a and b: the simulator's readings
// are the same every run.
double Unit(std::uint64_t a, std::uint64_t b)
{
    std::uint64_t z = a * 0x9E3779B97F4A7C15ull + b * 0xBF58476D1CE4E5B9ull + 0x94D049BB133111EBull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return static_cast<double>(z >> 11) / static_cast<double>(1ull << 53);
}

// Noise in [-1, 1), new every millisecond.
double Noise(double t, unsigned channel)
{
    return 2 * Unit(static_cast<std::uint64_t>(std::llround(t * 1000)), channel) - 1;
}

// Whether an event of the given length runs at time t: time is cut into
// slots, and an event happens in a slot with the given chance, at a moment
// of its own.
bool During(double t, double slot, double chance, double length, unsigned channel)
{
    const auto n = static_cast<std::uint64_t>(t / slot);
    if (Unit(n, channel) >= chance)
        return false;
    const double start = Unit(n, channel + 1000) * (slot - length);
    const double at = t - static_cast<double>(n) * slot;
    return at >= start && at < start + length;
}

// The lever: mostly forward, sometimes neutral or reverse, a new position every 12 s.
std::uint8_t GearAt(double t)
{
    const double u = Unit(static_cast<std::uint64_t>(t / 12.0), 7);
    return u < 0.6 ? 1 : u < 0.82 ? 2 : 3;
}

double Follow(double value, double target, double dt, double seconds)
{
    return value + (target - value) * (1 - std::exp(-dt / seconds));
}

std::uint32_t WholeParam(CSimController& sim, const std::string& name)
{
    const std::optional<std::string> text = sim.Params().Get(name);
    return text ? static_cast<std::uint32_t>(std::strtoul(text->c_str(), nullptr, 10)) : 0;
}

} // namespace

bool ParseOptionValue(std::string_view text, InputCodes& value, std::string& why)
{
    value = {};
    if (text == "setup")
        return true;
    value.fromSetup = false;
    if (text == "none")
        return true;
    while (true) {
        const std::size_t comma = text.find(',');
        std::uint8_t code = 0;
        if (!ParseOptionValue(text.substr(0, comma), code, why)) {
            why = "function code: " + why;
            return false;
        }
        value.codes.push_back(code);
        if (comma == std::string_view::npos)
            break;
        text.remove_prefix(comma + 1);
    }
    if (value.codes.size() > kMaxInputs) {
        why = "at most " + std::to_string(kMaxInputs) + " codes";
        return false;
    }
    return true;
}

std::vector<const CSimOption*> CDiagnosticsFeature::Options() { return {&kInputs, &kCanSignals}; }

CDiagnosticsFeature::CDiagnosticsFeature(const SimSettings& settings)
    : inputs_(kInputs.From(settings)), canSignals_(kCanSignals.From(settings))
{
}

void CDiagnosticsFeature::Register(CSimController& sim)
{
    namespace diag = wire::diagnostics;
    sim_ = &sim;
    // The switch and direction readings the controller keeps as parameters.
    sim.Feature<CParamFeature>().AnswerGets([this](CSimController&, const std::string& name) -> std::optional<std::string> {
        const DiagReadings& live = readings_;
        if (name == "RODiagOpsSwitchRaw")
            return Format("%f", static_cast<double>(live.opsVolts));
        if (name == "RODiagOpsSwitchScaled")
            return std::to_string(live.opsState);
        if (name == "RODiagRemoteEngageSwitchRaw")
            return Format("%f", static_cast<double>(live.engageVolts));
        if (name == "RODiagRemoteEngageSwitchScaled")
            return std::to_string(live.engageState);
        if (name == "ROVehDirection")
            return std::to_string(live.direction);
        return std::nullopt;
    });
    sim.On(wire::kDiagnosticsMsg, diag::kSub, diag::kReadOp, [this](CSimController&, const Request& r) -> std::optional<Bytes> {
        if (r.body.size() < 4 || r.body[3] != diag::kLiveSelector)
            return std::nullopt;
        const DiagReadings& d = readings_;
        ReplyBuilder reply(r, 4);
        switch (r.body[2]) {
        case diag::kManualOverrideItem:
            reply.F32(d.overrideVolts).U8(d.overrideState);
            break;
        case diag::kLeftPumpPressureItem:
            reply.F32(d.leftVolts).F32(d.leftPsi);
            break;
        case diag::kRightPumpPressureItem:
            reply.F32(d.rightVolts).F32(d.rightPsi);
            break;
        case diag::kWheelSpeedItem:
            reply.F32(d.wheelHz).F32(d.wheelSpeed);
            break;
        case diag::kEngineSpeedItem:
            reply.F32(d.engineHz).F32(d.engineRpm);
            break;
        case diag::kDirectionLeverItem:
            reply.F32(d.gearCode).U8(d.gear);
            break;
        case diag::kAnalogGearLeverItem:
            reply.F32(d.gearVolts).U8(d.gear);
            break;
        case diag::kSteeringAngleItem:
            reply.F32(SteeringOverCan() ? d.curvature : d.steeringVolts).F32(d.steeringDeg);
            break;
        case diag::kOutputBalanceItem:
            reply.F32(d.balanceVolts).U8(d.balanceState);
            break;
        case diag::kSteeringModuleFaultItem:
            reply.U8(d.moduleFaultRaw).U8(d.moduleFaultState);
            break;
        case diag::kNeutralSenseItem:
            reply.U8(d.neutralSense);
            break;
        default:
            return std::nullopt; // an item this controller does not have
        }
        return reply.Build();
    });
}

void CDiagnosticsFeature::ApplyInputOptions()
{
    const auto apply = [this](const InputCodes& given, const char* countName, const char* nameFormat) {
        if (given.fromSetup)
            return;
        sim_->Params().Define(countName, std::to_string(given.codes.size()));
        for (std::size_t i = 0; i < given.codes.size(); ++i)
            sim_->Params().Define(Format(nameFormat, static_cast<unsigned>(i + 1)), std::to_string(given.codes[i]));
    };
    apply(inputs_, "einum", "ei%u");
    apply(canSignals_, "csnum", "cs%u");
    // Some controllers keep their tenth input as ei0 as well.
    if (!inputs_.fromSetup && inputs_.codes.size() >= 10)
        sim_->Params().Define("ei0", std::to_string(inputs_.codes[9]));
}

bool CDiagnosticsFeature::SteeringOverCan() const
{
    const std::uint32_t signals = WholeParam(*sim_, "csnum");
    bool can = false;
    for (std::uint32_t i = 1; i <= signals && i <= kMaxInputs; ++i)
        can = can || WholeParam(*sim_, Format("cs%u", i)) == 7;
    const std::uint32_t inputs = WholeParam(*sim_, "einum");
    for (std::uint32_t i = 1; i <= inputs && i <= kMaxInputs; ++i)
        switch (WholeParam(*sim_, Format("ei%u", i))) {
        case 5:
        case 28:
        case 34:
        case 37:
            return false;
        default:
            break;
        }
    return can;
}

void CDiagnosticsFeature::Tick(Clock::time_point now)
{
    if (!origin_) {
        // The setup and the command line's sets are in place by now.
        origin_ = now;
        last_ = now;
        ApplyInputOptions();
    }
    const double t = std::chrono::duration<double>(now - *origin_).count();
    const double dt = std::chrono::duration<double>(now - last_).count();
    last_ = now;
    DiagReadings& d = readings_;
    constexpr double kTwoPi = 2 * std::numbers::pi;

    // The operator sweeps the wheel from lock to lock and back in 24 s.
    const double angle = 30 * std::sin(kTwoPi * t / 24);
    const double angleRate = 30 * kTwoPi / 24 * std::cos(kTwoPi * t / 24); // deg/s
    d.wheelAngleDeg = static_cast<float>(angle);
    d.steeringVolts = static_cast<float>(2.5 + angle * 0.05 + 0.004 * Noise(t, 1));
    d.steeringDeg = static_cast<float>((d.steeringVolts - 2.5) / 0.05);
    constexpr double kWheelbase = 2.9; // m
    d.curvature = static_cast<float>(std::tan(d.steeringDeg * std::numbers::pi / 180) / kWheelbase);

    d.gear = GearAt(t);
    d.gearCode = d.gear;
    d.gearVolts = static_cast<float>((d.gear == 1 ? 4.0 : d.gear == 3 ? 1.0 : 2.5) + 0.01 * Noise(t, 2));
    d.neutralSense = d.gear == 2 ? 0 : 1;

    // Speeds follow the lever: cruising forward, slower in reverse, idling in neutral.
    const double targetSpeed = d.gear == 1 ? 2.4 + 0.8 * std::sin(kTwoPi * t / 45) : d.gear == 3 ? 1.1 : 0;
    speed_ = Follow(speed_, targetSpeed, dt, 2.0);
    constexpr double kPulsesPerMetre = 14.3;
    d.wheelHz = static_cast<float>(std::max(0.0, speed_ * kPulsesPerMetre + 0.3 * Noise(t, 3)));
    d.wheelSpeed = static_cast<float>(d.wheelHz / kPulsesPerMetre);
    const double targetRpm = d.gear == 2 ? 850 : 1850 + 150 * std::sin(kTwoPi * t / 31);
    rpm_ = Follow(rpm_, targetRpm, dt, 1.5);
    constexpr double kPulsesPerRev = 4;
    d.engineHz = static_cast<float>(rpm_ / 60 * kPulsesPerRev + 0.2 * Noise(t, 4));
    d.engineRpm = static_cast<float>(d.engineHz * 60 / kPulsesPerRev);
    d.direction = speed_ < 0.1 ? 2 : d.gear == 3 ? 3 : 1;

    // Turning left loads the left pump, turning right the right one.
    d.leftPsi = static_cast<float>(300 + 110 * std::max(0.0, angleRate) + 8 * Noise(t, 5));
    d.rightPsi = static_cast<float>(300 + 110 * std::max(0.0, -angleRate) + 8 * Noise(t, 6));
    d.leftVolts = static_cast<float>(0.5 + d.leftPsi / 3000 * 4);
    d.rightVolts = static_cast<float>(0.5 + d.rightPsi / 3000 * 4);

    // Now and then the operator takes the wheel, the outputs drift out of
    // balance, the steering module reports a fault, the operator leaves the
    // seat or presses the remote engage switch.
    const bool overriding = During(t, 20, 0.35, 3, 10);
    d.overrideVolts = static_cast<float>((overriding ? 3.2 : 0.6) + 0.02 * Noise(t, 11));
    d.overrideState = d.overrideVolts > 2.0f ? 1 : 0;
    d.balanceVolts = static_cast<float>((During(t, 30, 0.2, 4, 20) ? 0.8 : 0.0) + 0.03 * Noise(t, 21));
    d.balanceState = std::fabs(d.balanceVolts) < 0.4f ? 1 : 0;
    d.moduleFaultRaw = During(t, 40, 0.15, 2, 30) ? 1 : 0;
    d.moduleFaultState = d.moduleFaultRaw;
    const bool seated = !During(t, 25, 0.2, 5, 40);
    d.opsVolts = static_cast<float>(std::max(0.0, (seated ? 12.1 : 0.05) + 0.05 * Noise(t, 41)));
    d.opsState = seated ? 1 : 0;
    const bool engaged = During(t, 15, 0.4, 1.5, 50);
    d.engageVolts = static_cast<float>(std::max(0.0, (engaged ? 12.0 : 0.02) + 0.05 * Noise(t, 51)));
    d.engageState = engaged ? 1 : 0;

}

} // namespace halcyra::sim
