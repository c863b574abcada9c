#pragma once
// Electric track steering (message 0x4A, sub-code 0x06): the gyro bias
// computed for a few seconds, test turns whose turn rate rises and falls,
// their balance against the limits, and the engine speed the RPM sensor
// reads. The turn rates follow the test bias (balanced at 2.53), the
// deadband dk0 in the MT bias test and the track spacing trw in the track
// spacing test.

#include "sim/SimFeature.h"

#include <cstdint>
#include <optional>

namespace halcyra::sim {

class CTrackSteeringFeature final : public CSimFeature {
public:
    static constexpr float kBalancedBias = 2.53f;
    static constexpr std::chrono::milliseconds kGyroTime{3000};
    static constexpr std::chrono::milliseconds kTurnTime{3000};

    static std::vector<const CSimOption*> Options() { return {}; }
    explicit CTrackSteeringFeature(const SimSettings&) {}
    void Register(CSimController& sim) override;
    void Tick(Clock::time_point now) override;

    enum class Test { None, JDBias, MTBias, TrackSpacing };
    bool Active() const { return active_; }
    Test RunningTest() const { return test_; }
    float TestBias() const { return bias_; }
    std::uint8_t State() const;
    // The peak turn rates (deg/s) a test turn reaches now.
    float PeakRate(bool left) const;
    // The engine speed a true speed reads as with the factor sfm.
    static float EngineReading(Clock::time_point now, float sfm);
    static float TrueEngineRpm(Clock::time_point now);

private:
    struct Turn {
        bool left;
        Clock::time_point started;
        float peak;
    };
    void StartTest(Test test);
    float LiveRate(bool left) const;

    CSimController* sim_ = nullptr;
    Clock::time_point now_{};
    bool active_ = false;
    Test test_ = Test::None;
    float bias_ = kBalancedBias;
    std::optional<Clock::time_point> gyroEnds_;
    std::optional<Turn> turn_;
    float lastPeak_[2] = {0, 0}; // right, left
};

} // namespace halcyra::sim
