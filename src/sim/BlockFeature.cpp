#include "sim/BlockFeature.h"

#include "link/MessageIds.h"
#include "sim/DeadZoneFeature.h"
#include "sim/SimController.h"

#include <algorithm>

namespace halcyra::sim {

namespace {

constexpr std::size_t kChunk = 228;
constexpr std::uint16_t kLastChunk = 0xFFFF;
constexpr std::uint8_t kStatusRefused = 2;
constexpr std::uint8_t kStatusBadChunk = 1;
// The log is made afresh for each download; past this it would only eat memory.
constexpr std::uint32_t kMaxLogLength = 16u << 20;

const TSimOption<std::uint32_t> kLogLength{"log-length", "BYTES", "3000",
                                           "length of the data log, block 1 (at most 16 MiB)",
                                           [](const std::uint32_t& length, std::string& why) {
                                               why = "the data log holds at most " +
                                                     std::to_string(kMaxLogLength) + " bytes";
                                               return length <= kMaxLogLength;
                                           }};
const TSimOption<std::uint8_t> kBeginStatus{"begin-status", "N", "0",
                                            "status byte of every block begin reply (non-zero refuses transfers)"};
const TSimOption<std::uint32_t> kStallChunk{"stall-chunk", "N", "0",
                                            "stop answering block chunks from chunk N on (0: never)"};

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

std::string DeadZoneReport(CSimController& s) { return s.Feature<CDeadZoneFeature>().Report(); }

} // namespace

std::vector<const CSimOption*> CBlockFeature::Options() { return {&kLogLength, &kBeginStatus, &kStallChunk}; }

CBlockFeature::CBlockFeature(const SimSettings& settings)
    : logLength_(kLogLength.From(settings)),
      beginStatus_(kBeginStatus.From(settings)),
      stallChunk_(kStallChunk.From(settings))
{
}

Bytes CBlockFeature::Contents(CSimController& sim, std::uint8_t block)
{
    switch (block) {
    case 1:
        return DataLog(logLength_);
    case 5:
        return ToBytes(sim.Params().ToText());
    case 6:
        return ToBytes(AdvancedSetup(sim));
    case 8:
        return ToBytes(DeadZoneReport(sim));
    default:
        return Block(block).upload;
    }
}

Bytes BlockContents(CSimController& sim, std::uint8_t block)
{
    return sim.Feature<CBlockFeature>().Contents(sim, block);
}

bool CBlockFeature::HasContents(std::uint8_t block)
{
    return block == 1 || block == 5 || block == 6 || block == 8 || Block(block).uploadsCompleted > 0;
}

void CBlockFeature::FinishUpload(CSimController& sim, std::uint8_t block, BlockState& state)
{
    // The last chunk's zero fill is not part of the block.
    Bytes& data = state.upload;
    while (!data.empty() && data.back() == 0)
        data.pop_back();
    state.uploadComplete = true;
    ++state.uploadsCompleted;
    // An uploaded setup sets the parameters it names, as set requests would.
    if (block == 5)
        sim.Params().ApplyRecords(std::string(data.begin(), data.end()));
}

void CBlockFeature::Register(CSimController& sim)
{
    using namespace wire::block;
    sim.On(wire::kBlockMsg, -1, kBeginDownloadOp, [this](CSimController& s, const Request& r) { return AnswerBeginDownload(s, r); });
    sim.On(wire::kBlockMsg, -1, kDownloadChunkOp, [this](CSimController& s, const Request& r) { return AnswerDownloadChunk(s, r); });
    sim.On(wire::kBlockMsg, -1, kBeginUploadOp, [this](CSimController&, const Request& r) { return AnswerBeginUpload(r); });
    sim.On(wire::kBlockMsg, -1, kUploadChunkOp, [this](CSimController& s, const Request& r) { return AnswerUploadChunk(s, r); });
}

// Begin download: status, a word, the block length.
std::optional<Bytes> CBlockFeature::AnswerBeginDownload(CSimController& sim, const Request& r)
{
    const std::uint8_t block = r.SubCode();
    std::uint8_t status = beginStatus_;
    if (status == 0 && !HasContents(block))
        status = kStatusRefused;
    auto& state = Block(block);
    state.download = status == 0 ? Contents(sim, block) : Bytes{};
    state.downloadBegun = status == 0;
    return ReplyBuilder(r).U8(status).U16(0).U32(static_cast<std::uint32_t>(state.download.size())).Build();
}

// Download chunk i (1-based): status, the index, 228 bytes zero-filled past the end.
std::optional<Bytes> CBlockFeature::AnswerDownloadChunk(CSimController& sim, const Request& r)
{
    const std::uint16_t index = r.PayloadU16(0);
    if (Stalled(index))
        return std::nullopt;
    auto& state = Block(r.SubCode());
    if (!state.downloadBegun)
        state.download = Contents(sim, r.SubCode());
    Bytes data(kChunk, 0);
    const std::size_t chunks = (state.download.size() + kChunk - 1) / kChunk;
    const bool valid = index >= 1 && index <= chunks;
    if (valid) {
        const std::size_t from = (index - 1) * kChunk;
        const std::size_t n = std::min(kChunk, state.download.size() - from);
        std::copy_n(state.download.begin() + static_cast<std::ptrdiff_t>(from), n, data.begin());
    }
    return ReplyBuilder(r).U8(valid ? 0 : kStatusBadChunk).U16(index).Raw(data).Build();
}

// Begin upload: status and a word.
std::optional<Bytes> CBlockFeature::AnswerBeginUpload(const Request& r)
{
    if (beginStatus_ == 0) {
        auto& state = Block(r.SubCode());
        state.upload.clear();
        state.chunks.clear();
        state.uploadBegun = true;
        state.uploadComplete = false;
    }
    return ReplyBuilder(r).U8(beginStatus_).U16(0).Build();
}

// Upload chunk: index (total length for block 0) and 228 bytes; 0xFFFF is the last.
std::optional<Bytes> CBlockFeature::AnswerUploadChunk(CSimController& sim, const Request& r)
{
    const std::uint8_t block = r.SubCode();
    const Bytes payload = r.Payload();
    const std::size_t indexBytes = block == 0 ? 4 : 2;
    if (payload.size() != indexBytes + kChunk)
        return ReplyBuilder(r).U8(kStatusBadChunk).U16(0).Build();
    std::uint32_t index = 0;
    for (std::size_t i = 0; i < indexBytes; ++i)
        index = index << 8 | payload[i];
    const Bytes data(payload.begin() + static_cast<std::ptrdiff_t>(indexBytes), payload.end());
    auto& state = Block(block);
    const std::uint16_t word = static_cast<std::uint16_t>(index);
    if (!state.uploadBegun)
        return ReplyBuilder(r).U8(kStatusBadChunk).U16(word).Build();
    if (Stalled(block == 0 ? static_cast<std::uint32_t>(state.chunks.size() + 1) : index))
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
        FinishUpload(sim, block, state);
    }
    return ReplyBuilder(r).U8(0).U16(word).Build();
}

} // namespace halcyra::sim
