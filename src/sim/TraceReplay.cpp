#include "sim/TraceReplay.h"

#include "link/Files.h"
#include "link/Format.h"
#include "link/Framing.h"

#include <cctype>
#include <sstream>

namespace halcyra::sim {

namespace {

constexpr std::uint8_t kRequestCode = 0xBE;
constexpr std::uint8_t kReplyCode = 0xBF;

// One frame line of a trace: its verdict and the wire bytes after the
// bracketed header. Lines without a frame (comments, noise, passed-over
// input) give nothing.
struct TracedFrame {
    std::string verdict;
    Bytes wire;
};

std::optional<std::uint8_t> HexByte(const std::string& token)
{
    if (token.size() != 2 || !std::isxdigit(static_cast<unsigned char>(token[0])) ||
        !std::isxdigit(static_cast<unsigned char>(token[1])))
        return std::nullopt;
    return static_cast<std::uint8_t>(std::stoul(token, nullptr, 16));
}

std::optional<TracedFrame> ParseLine(const std::string& line)
{
    if (line.empty() || line[0] == '#')
        return std::nullopt;
    // "TIME TX|RX verdict [(detail)] [header] wire "text""
    const std::size_t direction = line.find(' ');
    if (direction == std::string::npos ||
        (line.compare(direction + 1, 3, "TX ") != 0 && line.compare(direction + 1, 3, "RX ") != 0))
        return std::nullopt;
    // The header closes just before the frame's opening DLE.
    const std::size_t close = line.find("] 10 ");
    if (close == std::string::npos)
        return std::nullopt;
    TracedFrame frame;
    const std::size_t verdictStart = direction + 4;
    std::size_t verdictEnd = line.find_first_of("([", verdictStart);
    frame.verdict = line.substr(verdictStart, verdictEnd - verdictStart);
    while (!frame.verdict.empty() && frame.verdict.back() == ' ')
        frame.verdict.pop_back();
    std::istringstream bytes(line.substr(close + 2));
    std::string token;
    while (bytes >> token) {
        const auto b = HexByte(token);
        if (!b)
            break;
        frame.wire.push_back(*b);
    }
    return frame;
}

// Runs the wire bytes through the receiver's frame finder: the packet code,
// or nothing when they do not make one good frame.
std::optional<Request> Decode(const Bytes& wire)
{
    CRxBuffer assembler;
    bool complete = false;
    for (std::size_t i = 0; i < wire.size(); ++i) {
        complete = assembler.FeedByte(wire[i]);
        if (complete && i + 1 != wire.size())
            return std::nullopt;
    }
    if (!complete || !assembler.ExposeHeader() || assembler.Check() != FrameCheck::Good)
        return std::nullopt;
    return TakeRequest(assembler);
}

// The next line: CR, LF and CR LF each end one (an empty line between CR
// and LF reads as no frame). False at the end.
bool NextLine(std::istream& in, std::string& line)
{
    line.clear();
    for (int c; (c = in.get()) != std::char_traits<char>::eof();) {
        if (c == '\r' || c == '\n')
            return true;
        line.push_back(static_cast<char>(c));
    }
    return !line.empty();
}

} // namespace

Request TakeRequest(const CRxBuffer& assembler)
{
    Request request;
    request.packetCode = assembler.Header(0);
    request.messageId = assembler.Header(1);
    const int bodyCount = assembler.Count() - 3;
    for (int k = 0; k < bodyCount; ++k)
        request.body.push_back(assembler.Peek(static_cast<std::size_t>(k)));
    return request;
}

bool CTraceReplay::Load(const std::string& path, std::string& error)
{
    std::string text;
    std::string why;
    if (ReadWholeFile(path, text, &why) != FileRead::Read) {
        error = path + ": " + why;
        return false;
    }
    std::istringstream in(text);
    if (!Load(in, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

bool CTraceReplay::Load(std::istream& in, std::string& error)
{
    // A reply belongs to the request recorded last before it. A halcyra-sim
    // trace records requests as RX and replies as TX, a program's trace the
    // other way round; the packet code tells them apart either way.
    std::vector<Bytes>* current = nullptr;
    std::string line;
    while (NextLine(in, line)) {
        const auto frame = ParseLine(line);
        if (!frame || frame->wire.size() < 2 || frame->verdict == "withheld" || frame->verdict == "discarded")
            continue;
        if (frame->wire[1] == kRequestCode) {
            // A request the controller refused as damaged got no answer.
            if (frame->verdict == "rejected")
                continue;
            const auto request = Decode(frame->wire);
            if (!request)
                continue;
            Answers& answers = answers_[KeyOf(*request)];
            answers.recorded.emplace_back();
            current = &answers.recorded.back();
            ++exchanges_;
        } else if (frame->wire[1] == kReplyCode && current) {
            // Replies go out as they crossed the wire, damaged ones included.
            current->push_back(frame->wire);
        }
    }
    if (exchanges_ == 0) {
        error = "the trace records no request";
        return false;
    }
    return true;
}

std::optional<std::vector<Bytes>> CTraceReplay::Answer(const Request& request)
{
    auto it = answers_.find(KeyOf(request));
    if (it == answers_.end()) {
        ++unmatched_;
        return std::nullopt;
    }
    Answers& answers = it->second;
    const std::size_t index = std::min(answers.next, answers.recorded.size() - 1);
    if (answers.next < answers.recorded.size())
        ++answers.next;
    return answers.recorded[index];
}

std::string CTraceReplay::Describe(const Request& request)
{
    std::string text = Format("%02X %02X", static_cast<unsigned>(request.packetCode),
                              static_cast<unsigned>(request.messageId));
    for (std::uint8_t b : request.body)
        text += Format(" %02X", static_cast<unsigned>(b));
    return text;
}

} // namespace halcyra::sim
