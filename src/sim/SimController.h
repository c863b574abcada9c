#pragma once
// A simulated Halcyra controller: decodes request frames, answers them from
// its state, and frames the replies. Time is passed in, so behaviour that
// depends on it (restarts, running procedures) is testable without waiting.

#include "sim/ParamStore.h"

#include <chrono>
#include <cstdlib>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace halcyra::sim {

using Clock = std::chrono::steady_clock;
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

struct SimSettings {
    std::chrono::milliseconds restartTime{2000};
    // Options of individual features (name -> value), read by their handlers.
    std::map<std::string, std::string> extra;

    std::string Text(const std::string& name, const std::string& fallback) const
    {
        auto it = extra.find(name);
        return it == extra.end() ? fallback : it->second;
    }
    // The option as a number (decimal, or 0x hexadecimal), or fallback when absent.
    long Number(const std::string& name, long fallback) const
    {
        auto it = extra.find(name);
        return it == extra.end() ? fallback : std::strtol(it->second.c_str(), nullptr, 0);
    }
};

class CSimController;
// A handler answers a request with a reply body (message id first), or with
// nothing when the controller stays silent.
using Handler = std::function<std::optional<Bytes>(CSimController&, const Request&)>;

class CSimController {
public:
    explicit CSimController(SimSettings settings = {});

    // Handles one decoded request at time now; returns the reply body, if any.
    std::optional<Bytes> Handle(const Request& request, Clock::time_point now);

    // Frames a reply body with packet code 0xBF, length byte and checksum.
    static Bytes FrameReply(const Bytes& body);

    // Registers a handler for a message id, sub-code and operation; -1 is any.
    void On(int messageId, int subCode, int operation, Handler handler);

    CParamStore& Params() { return params_; }
    const SimSettings& Settings() const { return settings_; }
    SimSettings& Settings() { return settings_; }
    Clock::time_point Now() const { return now_; }

    // Restart: silent until the restart time has passed.
    void BeginRestart();
    bool Restarting() const { return now_ < restartEnds_; }

    std::uint64_t RequestsSeen() const { return requestsSeen_; }

    // Data block transfers (BlockHandlers.cpp).
    struct UploadChunk {
        std::uint32_t index = 0; // the chunk index, or the total length for block 0
        Bytes data;              // the 228 data bytes as received
    };
    struct BlockState {
        Bytes download;                  // the block as given out by the last begin-download
        bool downloadBegun = false;
        Bytes upload;                    // collected since the last begin-upload
        bool uploadBegun = false;
        bool uploadComplete = false;     // the last chunk has arrived
        std::vector<UploadChunk> chunks; // every upload chunk since the last begin-upload
        std::uint32_t uploadsCompleted = 0;
    };
    BlockState& Block(std::uint8_t block) { return blocks_[block]; }

    // Fault table (FaultHandlers.cpp).
    struct FaultSlot {
        bool active = false;
        std::uint16_t count = 0;
        float data[3] = {};
        std::string description;
    };
    std::vector<FaultSlot>& FaultSlots();

private:
    struct Key {
        int messageId, subCode, operation;
    };
    std::vector<std::pair<Key, Handler>> handlers_;
    SimSettings settings_;
    CParamStore params_;
    Clock::time_point now_{};
    Clock::time_point restartEnds_{};
    std::uint64_t requestsSeen_ = 0;
    std::map<std::uint8_t, BlockState> blocks_;
    std::optional<std::vector<FaultSlot>> faultSlots_; // from the "faults" option on first use
};

// Each feature registers its messages here (one function per feature).
void RegisterStatusHandlers(CSimController& sim);
void RegisterParamHandlers(CSimController& sim);
void RegisterInfoHandlers(CSimController& sim);  // identity, firmware, compatibility
void RegisterBlockHandlers(CSimController& sim); // data block transfers
void RegisterFaultHandlers(CSimController& sim); // fault table
void RegisterAllHandlers(CSimController& sim);

// The bytes of a data block as the controller would give them out now:
// 1 the data log, 5 the setup, 6 the advanced setup, 8 the dead-zone report.
Bytes BlockContents(CSimController& sim, std::uint8_t block);
// The fault table an option text describes (see the "faults" option), or
// the default table for an empty text.
std::vector<CSimController::FaultSlot> ParseFaultTable(const std::string& text);

} // namespace halcyra::sim
