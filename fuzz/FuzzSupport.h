#pragma once
// Helpers shared by the fuzz targets: a notifier that counts boxes, a check
// that stops the run on a broken expectation, and reply frame building.

#include "link/Framing.h"
#include "link/Notifier.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace halcyra::fuzz {

// A broken expectation is a finding: stop here so libFuzzer keeps the input.
inline void Require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// Answers every box as the silent notifier does and remembers the texts.
class CCountingNotifier final : public INotifier {
public:
    MsgAnswer Notify(const std::string& text, const std::string& caption, MsgButtons buttons, MsgIcon icon) override
    {
        ++count;
        lastText = text;
        return silent_.Notify(text, caption, buttons, icon);
    }
    int count = 0;
    std::string lastText;

private:
    CSilentNotifier silent_;
};

// The wire bytes of one frame with length byte and checksum, built by the
// program's own frame writer. Empty when the writer refuses the bytes.
inline std::vector<std::uint8_t> EncodeFrame(const std::vector<std::uint8_t>& codeAndBody)
{
    CTxBuffer tx;
    for (std::uint8_t b : codeAndBody)
        tx.PushBack(b);
    std::vector<std::uint8_t> wire;
    if (!tx.BuildFrame(wire, true, true))
        wire.clear();
    return wire;
}

// Largest named-parameter reply payload whose frame the receiver still takes
// whole: code, three header bytes, payload and three trailer bytes fit in 250.
inline constexpr std::size_t kMaxReceivablePayload = static_cast<std::size_t>(kMaxBody) - 7;

// A named-parameter reply frame (0xBF 0x40 0x14 operation, then the text).
inline std::vector<std::uint8_t> EncodeParamReply(std::uint8_t operation, std::string_view payload)
{
    std::vector<std::uint8_t> bytes{0xBF, 0x40, 0x14, operation};
    for (char c : payload.substr(0, kMaxReceivablePayload))
        bytes.push_back(static_cast<std::uint8_t>(c));
    return EncodeFrame(bytes);
}

} // namespace halcyra::fuzz
