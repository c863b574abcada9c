#pragma once
// What the logging tests share: the frames of a streamed item, a file
// chooser that answers from a list, and a record of the requests a
// controller was sent.

#include "InProcessController.h"
#include "link/MessageIds.h"
#include "pages/FileChooser.h"
#include "sim/SimController.h"

#include <deque>
#include <string>
#include <vector>

namespace halcyra::test {

// One block frame of a streamed item, as the controller frames it; size is
// the size byte, which a broken frame may give wrongly.
inline sim::Bytes ItemFrame(std::uint8_t operation, std::uint8_t block, std::uint8_t last, const sim::Bytes& data,
                            int size = -1)
{
    sim::Bytes body{wire::kTableMsg, wire::table::kLoggingSub, operation, block, last,
                    static_cast<std::uint8_t>(size < 0 ? data.size() : static_cast<std::size_t>(size))};
    body.insert(body.end(), data.begin(), data.end());
    return sim::CSimController::FrameReply(body);
}

// n bytes that differ from item to item, DLE bytes included.
inline sim::Bytes ItemBytes(std::size_t n, std::uint8_t seed)
{
    sim::Bytes b(n);
    for (std::size_t i = 0; i < n; ++i)
        b[i] = static_cast<std::uint8_t>(i % 19 == 0 ? 0x10 : seed + i * 7);
    return b;
}

// The frames of a whole item: blocks of 170 bytes and the rest in the last.
inline std::vector<sim::Bytes> ItemFrames(std::uint8_t operation, const sim::Bytes& item)
{
    const std::size_t blocks = item.empty() ? 1 : (item.size() + 169) / 170;
    std::vector<sim::Bytes> frames;
    for (std::size_t b = 0; b < blocks; ++b) {
        const std::size_t from = b * 170;
        const std::size_t to = std::min(item.size(), from + 170);
        frames.push_back(ItemFrame(operation, static_cast<std::uint8_t>(b + 1), static_cast<std::uint8_t>(blocks),
                                   sim::Bytes(item.begin() + static_cast<std::ptrdiff_t>(from),
                                              item.begin() + static_cast<std::ptrdiff_t>(to))));
    }
    return frames;
}

// The frame with one body byte changed so that its checksum no longer holds
// while its framing does (no DLE made or unmade).
inline sim::Bytes Damaged(sim::Bytes frame)
{
    for (std::size_t i = 8; i + 4 < frame.size(); ++i)
        if (frame[i] != 0x10 && frame[i - 1] != 0x10 && (frame[i] ^ 0x01) != 0x10) {
            frame[i] ^= 0x01;
            break;
        }
    return frame;
}

// Paths handed out in order; none left, or an empty one, is a cancelled choice.
struct PathScript final : IFileChooser {
    std::optional<std::string> ChooseFile(const FileRequest& request) override
    {
        requests.push_back(request);
        if (answers.empty())
            return std::nullopt;
        std::string path = answers.front();
        answers.pop_front();
        if (path.empty())
            return std::nullopt;
        return path;
    }
    std::vector<FileRequest> requests;
    std::deque<std::string> answers;
};

// Message id and, for the four-byte family, operation of each request, in order.
struct RequestLog {
    explicit RequestLog(InProcessController& c)
    {
        c.unanswered = [this](const sim::Request& r) {
            seen.push_back(r);
            return silent;
        };
    }
    bool Sent(std::uint8_t messageId, int operation = -1) const
    {
        for (const sim::Request& r : seen)
            if (r.messageId == messageId && (operation < 0 || r.Operation() == operation))
                return true;
        return false;
    }
    std::vector<sim::Request> seen;
    bool silent = false;
};

inline std::string AsString(const sim::Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

} // namespace halcyra::test
