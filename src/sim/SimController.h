#pragma once
// A simulated Halcyra controller: decodes request frames, answers them from
// its state, and frames the replies. Time is passed in, so behaviour that
// depends on it (restarts, running procedures) is testable without waiting.

#include "sim/ParamStore.h"
#include "sim/SimFeature.h"
#include "sim/SimOption.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <stdexcept>
#include <vector>

namespace halcyra::sim {

using Bytes = std::vector<std::uint8_t>;

// One received request: the packet code, the message id and the header and
// payload bytes after the id (the trailer removed).
struct Request {
    std::uint8_t packetCode = 0;
    std::uint8_t messageId = 0;
    Bytes body;

    std::uint8_t SubCode() const { return body.size() > 0 ? body[0] : 0; }
    std::uint8_t Operation() const { return body.size() > 1 ? body[1] : 0; }
    // Payload after a header of headerBytes bytes following the message id.
    Bytes Payload(std::size_t headerBytes = 2) const;
    std::uint16_t PayloadU16(std::size_t offset, std::size_t headerBytes = 2) const;
    // A 32-bit float of the payload, most significant byte first; 0 past its end.
    float PayloadF32(std::size_t offset, std::size_t headerBytes = 2) const;
};

// Builds the body of a reply: message id, echoed header bytes, then payload.
class ReplyBuilder {
public:
    ReplyBuilder(const Request& request, std::size_t headerBytes = 2);
    ReplyBuilder& U8(std::uint8_t v);
    ReplyBuilder& U16(std::uint16_t v);
    ReplyBuilder& U32(std::uint32_t v);
    ReplyBuilder& F32(float v);
    ReplyBuilder& Raw(const Bytes& bytes);
    ReplyBuilder& Text(const std::string& text);
    Bytes Build() const { return body_; }

private:
    Bytes body_;
};

class CSimController;
// A handler answers a request with a reply body (message id first), or with
// nothing when the controller stays silent.
using Handler = std::function<std::optional<Bytes>(CSimController&, const Request&)>;

class CSimController {
public:
    // Time between periodic ticks while serving.
    static constexpr std::chrono::milliseconds kTickPeriod{50};

    // Makes every feature from the settings; a malformed feature option
    // throws std::invalid_argument.
    explicit CSimController(SimSettings settings = {});

    // Handles one decoded request at time now; returns the reply body, if any.
    std::optional<Bytes> Handle(const Request& request, Clock::time_point now);
    // Moves the controller's time on to now and lets every feature follow.
    void Tick(Clock::time_point now);
    Clock::time_point NextTickDue() const { return now_ + kTickPeriod; }

    // Frames a reply body with packet code 0xBF, length byte and checksum.
    static Bytes FrameReply(const Bytes& body);

    // A frame the controller sends without being asked (a streamed log), as
    // a reply body: message id first. Whoever serves the controller takes
    // these after each request and each tick and sends them in order.
    void SendUnasked(Bytes body) { unasked_.push_back(std::move(body)); }
    std::vector<Bytes> TakeUnasked();

    // Registers a handler for a message id, sub-code and operation; -1 is any.
    void On(int messageId, int subCode, int operation, Handler handler);

    CParamStore& Params() { return params_; }
    const SimSettings& Settings() const { return settings_; }
    Clock::time_point Now() const { return now_; }

    // Restart: silent until the restart time has passed.
    void BeginRestart();
    bool Restarting() const { return now_ < restartEnds_; }
    Clock::time_point RestartEnds() const { return restartEnds_; }
    // Restarts begun so far.
    std::uint64_t Restarts() const { return restarts_; }

    std::uint64_t RequestsSeen() const { return requestsSeen_; }

    // The feature of type F; throws std::logic_error when there is none.
    template <typename F> F& Feature()
    {
        for (auto& feature : features_)
            if (auto* f = dynamic_cast<F*>(feature.get()))
                return *f;
        throw std::logic_error("the simulated controller has no such feature");
    }

private:
    struct Key {
        int messageId, subCode, operation;
    };
    std::vector<std::pair<Key, Handler>> handlers_;
    std::vector<std::unique_ptr<CSimFeature>> features_;
    SimSettings settings_;
    CParamStore params_;
    Clock::time_point now_{};
    Clock::time_point restartEnds_{};
    std::uint64_t restarts_ = 0;
    std::uint64_t requestsSeen_ = 0;
    std::vector<Bytes> unasked_;
};

} // namespace halcyra::sim
