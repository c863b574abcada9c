// Data block transfers: begin and chunk messages for downloads and uploads.
// Block 1 is a binary data log, 5 the setup as a parameter text file, 6 an
// advanced setup, 8 the dead-zone calibration report. A completed upload
// into block 5 is read as a parameter text file and applied to the store.

#include "link/MessageIds.h"
#include "sim/SimController.h"

#include <algorithm>

namespace halcyra::sim {

namespace {

constexpr std::size_t kChunk = 228;
constexpr std::uint16_t kLastChunk = 0xFFFF;
constexpr std::uint8_t kStatusRefused = 2;
constexpr std::uint8_t kStatusBadChunk = 1;

Bytes ToBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

std::string Value(CSimController& s, const std::string& name, const std::string& fallback)
{
    return s.Params().Get(name).value_or(fallback);
}

Bytes DataLog(std::size_t length)
{
    // Fixed pseudo-random bytes, so every run and every test sees the same
    // log, DLE bytes (which the framing must stuff) included.
    Bytes log(length);
    std::uint32_t x = 0x2545F491u;
    for (std::size_t i = 0; i < length; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        log[i] = static_cast<std::uint8_t>(i % 17 == 0 ? 0x10 : x >> 24);
    }
    return log;
}

std::string AdvancedSetup(CSimController& s)
{
    std::string text = "vms: " + Value(s, "vms", "\"\"") + "\r\n";
    text += "AdvCtrlLoopRate: 50\r\n"
            "AdvSteerPGain: 1.250000\r\n"
            "AdvSteerIGain: 0.040000\r\n"
            "AdvSteerDGain: 0.300000\r\n"
            "AdvHeadingFilter: 0.150000\r\n"
            "AdvMaxSteerRate: 35.000000\r\n"
            "AdvValveDither: 120\r\n"
            "AdvSerialNumber: \"HC2-0042137\"\r\n";
    return text;
}

std::string DeadZoneReport(CSimController& s)
{
    return "Automated Deadzone Calibration Report\r\n"
           "Left dead zone: " + Value(s, "dzl", "0.000000") + "\r\n"
           "Right dead zone: " + Value(s, "dzr", "0.000000") + "\r\n"
           "Sweep left dead zone: " + Value(s, "DZSwpDZl", "0.000000") + "\r\n"
           "Sweep right dead zone: " + Value(s, "DZSwpDZr", "0.000000") + "\r\n"
           "Fine sweeps left: " + Value(s, "DZSwpNumFineLeft", "0") + "\r\n"
           "Percent complete: " + Value(s, "DZSwpPercComplete", "0.000000") + "\r\n";
}

// Status of begin replies: 0 accepts; the begin-status option forces another.
std::uint8_t BeginStatus(const CSimController& s) { return static_cast<std::uint8_t>(s.Settings().Number("begin-status", 0)); }

// A controller that drops out mid-transfer: chunks from this index on go unanswered.
bool Stalled(const CSimController& s, std::uint32_t index)
{
    const long stall = s.Settings().Number("stall-chunk", 0);
    return stall > 0 && index >= static_cast<std::uint32_t>(stall);
}

bool HasContents(CSimController& s, std::uint8_t block)
{
    return block == 1 || block == 5 || block == 6 || block == 8 || s.Block(block).uploadsCompleted > 0;
}

void FinishUpload(CSimController& s, std::uint8_t block, CSimController::BlockState& state)
{
    // The last chunk's zero fill is not part of the block.
    Bytes& data = state.upload;
    while (!data.empty() && data.back() == 0)
        data.pop_back();
    state.uploadComplete = true;
    ++state.uploadsCompleted;
    if (block == 5)
        s.Params().LoadText(std::string(data.begin(), data.end()));
}

} // namespace

Bytes BlockContents(CSimController& sim, std::uint8_t block)
{
    switch (block) {
    case 1:
        return DataLog(static_cast<std::size_t>(std::max(0L, sim.Settings().Number("log-length", 3000))));
    case 5:
        return ToBytes(sim.Params().ToText());
    case 6:
        return ToBytes(AdvancedSetup(sim));
    case 8:
        return ToBytes(DeadZoneReport(sim));
    default:
        return sim.Block(block).upload;
    }
}

void RegisterBlockHandlers(CSimController& sim)
{
    // Begin download: status, a word, the block length.
    sim.On(wire::kBlockMsg, -1, wire::block::kBeginDownloadOp, [](CSimController& s, const Request& r) -> std::optional<Bytes> {
        const std::uint8_t block = r.SubCode();
        std::uint8_t status = BeginStatus(s);
        if (status == 0 && !HasContents(s, block))
            status = kStatusRefused;
        auto& state = s.Block(block);
        state.download = status == 0 ? BlockContents(s, block) : Bytes{};
        state.downloadBegun = status == 0;
        return ReplyBuilder(r).U8(status).U16(0).U32(static_cast<std::uint32_t>(state.download.size())).Build();
    });
    // Download chunk i (1-based): status, the index, 228 bytes zero-filled past the end.
    sim.On(wire::kBlockMsg, -1, wire::block::kDownloadChunkOp, [](CSimController& s, const Request& r) -> std::optional<Bytes> {
        const std::uint16_t index = r.PayloadU16(0);
        if (Stalled(s, index))
            return std::nullopt;
        auto& state = s.Block(r.SubCode());
        if (!state.downloadBegun)
            state.download = BlockContents(s, r.SubCode());
        Bytes data(kChunk, 0);
        const std::size_t chunks = (state.download.size() + kChunk - 1) / kChunk;
        const bool valid = index >= 1 && index <= chunks;
        if (valid) {
            const std::size_t from = (index - 1) * kChunk;
            const std::size_t n = std::min(kChunk, state.download.size() - from);
            std::copy_n(state.download.begin() + static_cast<std::ptrdiff_t>(from), n, data.begin());
        }
        return ReplyBuilder(r).U8(valid ? 0 : kStatusBadChunk).U16(index).Raw(data).Build();
    });
    // Begin upload: status and a word.
    sim.On(wire::kBlockMsg, -1, wire::block::kBeginUploadOp, [](CSimController& s, const Request& r) -> std::optional<Bytes> {
        const std::uint8_t status = BeginStatus(s);
        if (status == 0) {
            auto& state = s.Block(r.SubCode());
            state.upload.clear();
            state.chunks.clear();
            state.uploadBegun = true;
            state.uploadComplete = false;
        }
        return ReplyBuilder(r).U8(status).U16(0).Build();
    });
    // Upload chunk: index (total length for block 0) and 228 bytes; 0xFFFF is the last.
    sim.On(wire::kBlockMsg, -1, wire::block::kUploadChunkOp, [](CSimController& s, const Request& r) -> std::optional<Bytes> {
        const std::uint8_t block = r.SubCode();
        const Bytes payload = r.Payload();
        const std::size_t indexBytes = block == 0 ? 4 : 2;
        if (payload.size() != indexBytes + kChunk)
            return ReplyBuilder(r).U8(kStatusBadChunk).U16(0).Build();
        std::uint32_t index = 0;
        for (std::size_t i = 0; i < indexBytes; ++i)
            index = index << 8 | payload[i];
        const Bytes data(payload.begin() + static_cast<std::ptrdiff_t>(indexBytes), payload.end());
        auto& state = s.Block(block);
        const std::uint16_t word = static_cast<std::uint16_t>(index);
        if (!state.uploadBegun)
            return ReplyBuilder(r).U8(kStatusBadChunk).U16(word).Build();
        if (Stalled(s, block == 0 ? static_cast<std::uint32_t>(state.chunks.size() + 1) : index))
            return std::nullopt;
        state.chunks.push_back({index, data});
        if (block == 0) {
            // Block 0 counts its chunks by arrival and ends at the announced length.
            state.upload.insert(state.upload.end(), data.begin(), data.end());
            if (state.upload.size() >= index) {
                state.upload.resize(index);
                state.uploadComplete = true;
                ++state.uploadsCompleted;
            }
            return ReplyBuilder(r).U8(0).U16(word).Build();
        }
        if (index == 0)
            return ReplyBuilder(r).U8(kStatusBadChunk).U16(word).Build();
        std::size_t offset = 0;
        if (index == kLastChunk) {
            // The last chunk follows the highest numbered chunk received.
            std::uint32_t highest = 0;
            for (const auto& c : state.chunks)
                if (c.index != kLastChunk)
                    highest = std::max(highest, c.index);
            offset = highest * kChunk;
        } else {
            offset = (index - 1) * kChunk;
        }
        if (state.upload.size() < offset + kChunk)
            state.upload.resize(offset + kChunk, 0);
        std::copy(data.begin(), data.end(), state.upload.begin() + static_cast<std::ptrdiff_t>(offset));
        if (index == kLastChunk) {
            state.upload.resize(offset + kChunk);
            FinishUpload(s, block, state);
        }
        return ReplyBuilder(r).U8(0).U16(word).Build();
    });
}

} // namespace halcyra::sim
