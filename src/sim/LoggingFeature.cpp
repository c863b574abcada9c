#include "sim/LoggingFeature.h"

#include "link/MessageIds.h"
#include "sim/BlockFeature.h"
#include "sim/SimController.h"

#include <algorithm>
#include <cstdlib>

namespace halcyra::sim {

namespace {

using namespace wire::logging;

// An item's block numbers are bytes: at most 255 blocks of 170 bytes.
constexpr std::uint32_t kMaxItemBytes = 255 * kItemBlockBytes;
constexpr std::uint32_t kMaxCapacity = 16u << 20;

bool ItemFits(const std::uint32_t& bytes, std::string& why)
{
    why = "an item holds at most " + std::to_string(kMaxItemBytes) + " bytes (255 blocks of 170)";
    return bytes <= kMaxItemBytes;
}

const TSimOption<std::uint32_t> kCapacity{"log-capacity", "BYTES", "65536",
                                          "size of the log memory, B of the logging status (at most 16 MiB)",
                                          [](const std::uint32_t& bytes, std::string& why) {
                                              why = "the log memory holds at most " + std::to_string(kMaxCapacity) +
                                                    " bytes";
                                              return bytes <= kMaxCapacity;
                                          }};
const TSimOption<std::uint32_t> kFillRate{"log-fill-rate", "BYTES", "512",
                                          "bytes a second the data log grows while logging internally"};
const TSimOption<std::uint32_t> kOutput{"log-output", "N", "0", "the logging output setting at power-up"};
const TSimOption<std::uint32_t> kHeaderBytes{"log-header-bytes", "BYTES", "400",
                                             "length of the streamed log header", ItemFits};
const TSimOption<std::uint32_t> kRecordBytes{"log-record-bytes", "BYTES", "200",
                                             "length of each streamed log record", ItemFits};
const TSimOption<std::uint32_t> kDropEvery{"log-drop-every", "N", "0",
                                           "leave out every Nth streamed block frame (0: none)"};
const TSimOption<std::uint32_t> kDamageEvery{"log-damage-every", "N", "0",
                                             "number every Nth streamed block frame wrongly (0: none)"};

std::uint32_t U32At(const Bytes& payload)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4 && i < payload.size(); ++i)
        value = value << 8 | payload[i];
    return value;
}

std::uint32_t WholeParam(CSimController& sim, const char* name)
{
    return static_cast<std::uint32_t>(std::strtoul(sim.Params().Get(name).value_or("0").c_str(), nullptr, 10));
}

// Fixed pseudo-random bytes seeded per item, DLE bytes (which the framing
// must stuff) included.
void Fill(Bytes& item, std::size_t from, std::uint32_t seed)
{
    std::uint32_t x = seed | 1u;
    for (std::size_t i = from; i < item.size(); ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        item[i] = static_cast<std::uint8_t>(i % 23 == 5 ? 0x10 : x >> 24);
    }
}

} // namespace

std::vector<const CSimOption*> CLoggingFeature::Options()
{
    return {&kCapacity, &kFillRate, &kOutput, &kHeaderBytes, &kRecordBytes, &kDropEvery, &kDamageEvery};
}

CLoggingFeature::CLoggingFeature(const SimSettings& settings)
    : capacity_(kCapacity.From(settings)), fillRate_(kFillRate.From(settings)),
      headerBytes_(kHeaderBytes.From(settings)), recordBytes_(kRecordBytes.From(settings)),
      dropEvery_(kDropEvery.From(settings)), damageEvery_(kDamageEvery.From(settings)), output_(kOutput.From(settings))
{
}

void CLoggingFeature::Register(CSimController& sim)
{
    sim_ = &sim;
    // A setup without the logging records still takes them from an upload.
    for (const char* name : {"DblLocation", "DblRate"})
        if (!sim.Params().Contains(name))
            sim.Params().Define(name, "0");
    uploadsSeen_ = sim.Feature<CBlockFeature>().Block(5).uploadsCompleted;

    // Status (three-byte family): active flag, A the free bytes, B the log memory's size.
    sim.On(wire::kLogStatusMsg, kStatusSub, -1, [this](CSimController&, const Request& r) -> std::optional<Bytes> {
        return ReplyBuilder(r, 1).U8(active_ ? 1 : 0).U32(Capacity() - Used()).U32(Capacity()).Build();
    });
    // The command is not answered.
    sim.On(wire::kLogCommandMsg, kCommandSub, -1, [this](CSimController&, const Request& r) -> std::optional<Bytes> {
        OnCommand(U32At(r.Payload(1)));
        return std::nullopt;
    });
    sim.On(wire::kTableMsg, wire::table::kLoggingSub, kOutputGetOp,
           [this](CSimController&, const Request& r) -> std::optional<Bytes> { return ReplyBuilder(r).U32(output_).Build(); });
    // Setting the output is not answered either.
    sim.On(wire::kTableMsg, wire::table::kLoggingSub, kOutputSetOp,
           [this](CSimController&, const Request& r) -> std::optional<Bytes> {
               output_ = U32At(r.Payload());
               FollowStreaming();
               return std::nullopt;
           });
}

void CLoggingFeature::OnCommand(std::uint32_t command)
{
    switch (command) {
    case kStartCommand:
        active_ = true;
        break;
    case kStopCommand:
        active_ = false;
        break;
    case kClearCommand:
        sim_->Feature<CBlockFeature>().SetLogLength(0);
        unfilled_ = 0;
        break;
    default:
        break;
    }
    FollowStreaming();
}

void CLoggingFeature::FollowStreaming()
{
    // The first record follows one period after streaming begins.
    const bool streaming = active_ && Streams();
    if (streaming && !streaming_)
        nextRecord_ = sim_->Now() + RecordPeriod();
    streaming_ = streaming;
}

std::uint32_t CLoggingFeature::Capacity() const
{
    return std::max(capacity_, sim_ ? sim_->Feature<CBlockFeature>().LogLength() : 0u);
}

std::uint32_t CLoggingFeature::Used() const { return sim_ ? sim_->Feature<CBlockFeature>().LogLength() : 0u; }

bool CLoggingFeature::Streams() const
{
    return output_ == kExternalOutput && WholeParam(*sim_, "DblLocation") == 1;
}

Clock::duration CLoggingFeature::RecordPeriod() const
{
    using namespace std::chrono_literals;
    // DblRate: 0 off, 1 50 Hz, 2 10 Hz, 3 1 Hz, 4 0.1 Hz.
    switch (WholeParam(*sim_, "DblRate")) {
    case 1:
        return 20ms;
    case 2:
        return 100ms;
    case 3:
        return 1s;
    case 4:
        return 10s;
    default:
        return Clock::duration::zero();
    }
}

void CLoggingFeature::Tick(Clock::time_point now)
{
    const Clock::duration elapsed = lastTick_ ? now - *lastTick_ : Clock::duration::zero();
    lastTick_ = now;

    // A configuration uploaded for external logging is followed by the header.
    const std::uint32_t uploads = sim_->Feature<CBlockFeature>().Block(5).uploadsCompleted;
    if (uploads != uploadsSeen_) {
        uploadsSeen_ = uploads;
        if (Streams())
            SendItem(kHeaderOp, Header());
    }
    FollowStreaming();
    if (!active_)
        return;
    if (!streaming_) {
        CBlockFeature& blocks = sim_->Feature<CBlockFeature>();
        unfilled_ += std::chrono::duration<double>(elapsed).count() * fillRate_;
        const double room = static_cast<double>(Capacity() - blocks.LogLength());
        const double grown = std::min(room, static_cast<double>(static_cast<std::uint64_t>(unfilled_)));
        blocks.SetLogLength(blocks.LogLength() + static_cast<std::uint32_t>(grown));
        unfilled_ -= grown;
        if (blocks.LogLength() >= Capacity())
            unfilled_ = 0;
        return;
    }
    const Clock::duration period = RecordPeriod();
    if (period == Clock::duration::zero())
        return;
    // After a long gap (a paused simulator) records start afresh rather than in a burst.
    if (now - nextRecord_ > std::chrono::seconds(1))
        nextRecord_ = now;
    for (; nextRecord_ <= now; nextRecord_ += period)
        SendItem(kRecordOp, Record(recordsSent_++));
}

Bytes CLoggingFeature::Header() const
{
    Bytes item(headerBytes_);
    const std::string title = "Halcyra data log\r\n";
    std::copy_n(title.begin(), std::min(title.size(), item.size()), item.begin());
    Fill(item, title.size(), 0x5EED);
    return item;
}

Bytes CLoggingFeature::Record(std::uint32_t index) const
{
    Bytes item(recordBytes_);
    // The record's number first, most significant byte first, as far as it fits.
    for (std::size_t i = 0; i < 4 && i < item.size(); ++i)
        item[i] = static_cast<std::uint8_t>(index >> (8 * (3 - i)));
    Fill(item, 4, 0x9E3779B9u * (index + 1));
    return item;
}

void CLoggingFeature::SendItem(std::uint8_t operation, const Bytes& item)
{
    const std::size_t blocks = std::max<std::size_t>(1, (item.size() + kItemBlockBytes - 1) / kItemBlockBytes);
    const auto last = static_cast<std::uint8_t>(blocks);
    for (std::size_t b = 1; b <= blocks; ++b) {
        const std::size_t from = (b - 1) * kItemBlockBytes;
        const std::size_t size = std::min(kItemBlockBytes, item.size() - from);
        ++framesSent_;
        if (dropEvery_ > 0 && framesSent_ % dropEvery_ == 0) {
            ++framesLeftOut_;
            continue;
        }
        std::uint8_t number = static_cast<std::uint8_t>(b);
        if (damageEvery_ > 0 && framesSent_ % damageEvery_ == 0) {
            // A block number past the last one: no item can hold it.
            number = static_cast<std::uint8_t>(last + 1);
            ++framesDamaged_;
        }
        Bytes body{wire::kTableMsg, wire::table::kLoggingSub, operation, number, last, static_cast<std::uint8_t>(size)};
        body.insert(body.end(), item.begin() + static_cast<std::ptrdiff_t>(from),
                    item.begin() + static_cast<std::ptrdiff_t>(from + size));
        sim_->SendUnasked(std::move(body));
    }
}

} // namespace halcyra::sim
