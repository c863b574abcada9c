#pragma once
// The steering gain test (message 0x4A, sub-code 0x0C): begin and end the
// test, set the test gain, turn left or right, and report the test turn's
// state and its step response, whose slew time falls and overshoot rises
// with the gain.

#include "sim/SimFeature.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace halcyra::sim {

using Bytes = std::vector<std::uint8_t>;
struct Request;

class CGainTestFeature final : public CSimFeature {
public:
    static std::vector<const CSimOption*> Options();
    explicit CGainTestFeature(const SimSettings& settings);
    void Register(CSimController& sim) override;
    void Tick(Clock::time_point now) override;

    // The step response of a test turn with this gain.
    static float SlewMs(float gain);
    static float OvershootPercent(float gain);

    bool Active() const { return active_; }
    float Gain() const { return gain_; }
    std::uint8_t TurnState() const { return turnState_; }
    int Turns() const { return turns_; }

private:
    std::optional<Bytes> Status(const Request& r) const;
    std::optional<Bytes> Setup(const Request& r);
    void Turn(std::uint8_t turning);

    std::chrono::milliseconds turnTime_;
    Clock::time_point now_{};
    bool active_ = false;
    float gain_ = 0;
    float loopValue2_ = 0.8f;
    float loopValue3_ = 0.05f;
    float slewMs_ = 0;
    float overshoot_ = 0;
    std::uint8_t turnState_ = 0;
    std::optional<Clock::time_point> turnEnds_;
    int turns_ = 0;
};

} // namespace halcyra::sim
