#pragma once
// Answers requests with the replies recorded in a frame trace (a --trace file
// of halcyra-sim, halcyra or halcyra-toolbox), so a session seen in the field
// can be played again at a desk.

#include "sim/SimController.h"

#include <cstddef>
#include <istream>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace halcyra {
class CRxBuffer;
}

namespace halcyra::sim {

// The request held by a complete frame in the assembler (header exposed).
Request TakeRequest(const CRxBuffer& assembler);

class CTraceReplay {
public:
    // Reads a trace; false with the reason when the file cannot be read or
    // holds no request.
    bool Load(const std::string& path, std::string& error);
    bool Load(std::istream& in, std::string& error);

    // The reply frames (wire bytes, as recorded) for the request; an empty
    // list when the recording had no answer to it. Repeated requests take
    // the recorded answers in order and then keep the last one. Nothing when
    // the trace never saw the request.
    std::optional<std::vector<Bytes>> Answer(const Request& request);

    std::size_t Exchanges() const { return exchanges_; }
    std::size_t Unmatched() const { return unmatched_; }

    // "BE 40 14 00 ...": a request as a report names it.
    static std::string Describe(const Request& request);

private:
    struct Key {
        std::uint8_t packetCode, messageId;
        Bytes body;
        auto operator<=>(const Key&) const = default;
    };
    struct Answers {
        std::vector<std::vector<Bytes>> recorded; // one reply list per time the request was seen
        std::size_t next = 0;
    };
    static Key KeyOf(const Request& request) { return {request.packetCode, request.messageId, request.body}; }

    std::map<Key, Answers> answers_;
    std::size_t exchanges_ = 0;
    std::size_t unmatched_ = 0;
};

} // namespace halcyra::sim
