#pragma once
// A record of every frame that crosses the wire, for finding out afterwards
// what the controller said and what the program made of it.

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace halcyra {

enum class TraceDirection { Sent, Received };

enum class TraceVerdict {
    Sent,      // a frame went out
    Withheld,  // a frame that was due but deliberately not sent (simulated faults)
    Accepted,  // a reply taken by the message waiting for it
    Rejected,  // claimed by a waiting message but refused (see detail)
    Unmatched, // no waiting message has its header
    Declined,  // a waiting message has its header, but it is not that message's answer
    Discarded, // bytes the frame finder passed over (noise, broken or overlong frames)
};

const char* TraceVerdictText(TraceVerdict verdict);

struct TraceRecord {
    std::chrono::system_clock::time_point time;
    TraceDirection direction = TraceDirection::Received;
    TraceVerdict verdict = TraceVerdict::Sent;
    std::vector<std::uint8_t> header; // packet code, message id and the header bytes after it
    std::vector<std::uint8_t> wire;   // the bytes as they crossed the wire, stuffing included
    std::string detail;               // why it was rejected or discarded, or a note
};

class IFrameTrace {
public:
    virtual ~IFrameTrace() = default;
    virtual void OnFrame(const TraceRecord& record) = 0;
};

} // namespace halcyra
