#pragma once
// Data logging (messages 66 and 67, and message 71 sub-code 14): the logging
// status with its active flag and fill level, the logging command, the
// logging output setting, and the external log streamed unasked while the
// output setting is 6 and the uploaded configuration says external
// (DblLocation 1): a header once the configuration has been uploaded, then a
// record at the configured rate (DblRate) from the start command on. Each
// item goes as numbered block frames of at most 170 bytes.

#include "sim/SimFeature.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace halcyra::sim {

using Bytes = std::vector<std::uint8_t>;
struct Request;

class CLoggingFeature final : public CSimFeature {
public:
    static std::vector<const CSimOption*> Options();
    explicit CLoggingFeature(const SimSettings& settings);
    void Register(CSimController& sim) override;
    void Tick(Clock::time_point now) override;

    bool Active() const { return active_; }
    std::uint32_t Output() const { return output_; }
    // The log memory: its size, and how much of it holds the data log (block 1).
    std::uint32_t Capacity() const;
    std::uint32_t Used() const;

    // The items as the controller streams them; record i is the i-th since power-up.
    Bytes Header() const;
    Bytes Record(std::uint32_t index) const;
    std::uint32_t RecordsSent() const { return recordsSent_; }
    // Block frames left out or numbered wrongly on purpose (--log-drop-every, --log-damage-every).
    std::uint32_t FramesLeftOut() const { return framesLeftOut_; }
    std::uint32_t FramesDamaged() const { return framesDamaged_; }

private:
    // The uploaded configuration streams the log to the PC.
    bool Streams() const;
    // Time between records at the configured rate; zero when off.
    Clock::duration RecordPeriod() const;
    void SendItem(std::uint8_t operation, const Bytes& item);
    void OnCommand(std::uint32_t command);
    // Notes when records start to stream: on a command, a setting or a tick.
    void FollowStreaming();

    CSimController* sim_ = nullptr;
    std::uint32_t capacity_;
    std::uint32_t fillRate_; // bytes a second while logging internally
    std::uint32_t headerBytes_;
    std::uint32_t recordBytes_;
    std::uint32_t dropEvery_;
    std::uint32_t damageEvery_;
    std::uint32_t output_;
    bool active_ = false;
    bool streaming_ = false;
    std::optional<Clock::time_point> lastTick_;
    double unfilled_ = 0; // a fraction of a byte logged but not yet counted
    Clock::time_point nextRecord_{};
    std::uint32_t uploadsSeen_ = 0;
    std::uint32_t recordsSent_ = 0;
    std::uint32_t framesSent_ = 0;
    std::uint32_t framesLeftOut_ = 0;
    std::uint32_t framesDamaged_ = 0;
};

} // namespace halcyra::sim
