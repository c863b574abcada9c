#pragma once
// The hydraulic pumps of a tracked vehicle: the knee test (message 0x4A,
// sub-code 0x08), with its gyro bias and turns that go on until stopped,
// turning only with a knee above the pump's true knee, and the response
// test (sub-code 0x07), whose rise time falls and overshoot rises with the
// gain of each pump.

#include "sim/SimFeature.h"

#include <cstdint>
#include <optional>

namespace halcyra::sim {

class CPumpFeature final : public CSimFeature {
public:
    static constexpr float kTrueLeftKnee = 2.2f;
    static constexpr float kTrueRightKnee = 2.4f;
    static constexpr std::chrono::milliseconds kGyroTime{3000};
    static constexpr std::chrono::milliseconds kResponseTime{1200};

    static std::vector<const CSimOption*> Options() { return {}; }
    explicit CPumpFeature(const SimSettings&) {}
    void Register(CSimController& sim) override;
    void Tick(Clock::time_point now) override;

    // The step response of a pump with this gain.
    static std::uint32_t RiseMs(float gain, bool left);
    static float OvershootPercent(float gain, bool left);
    // The turn rate (deg/s) a knee gives once the turn has built up.
    static float TurnRate(float knee, bool left);

    bool KneeActive() const { return kneeActive_; }
    bool ResponseActive() const { return responseActive_; }
    float TestKnee(bool left) const { return left ? leftKnee_ : rightKnee_; }
    float TestGain(bool left) const { return left ? leftGain_ : rightGain_; }
    std::uint8_t KneeState() const;
    int ResponseTests() const { return responseTests_; }

private:
    void KneeTurn(bool left);
    float LiveTurnRate() const;

    CSimController* sim_ = nullptr;
    Clock::time_point now_{};
    bool kneeActive_ = false;
    float leftKnee_ = 0;
    float rightKnee_ = 0;
    std::optional<Clock::time_point> gyroEnds_;
    struct Turn {
        bool left;
        Clock::time_point started;
    };
    std::optional<Turn> turn_;

    bool responseActive_ = false;
    float leftGain_ = 1;
    float rightGain_ = 1;
    std::optional<Clock::time_point> responseStarted_;
    std::uint8_t responseState_ = 0;
    std::uint32_t riseMs_[2] = {0, 0}; // right, left
    float overshoot_[2] = {0, 0};
    int responseTests_ = 0;
};

} // namespace halcyra::sim
