#pragma once
// Data block transfers (message 65, sub-code = block number): begin and chunk
// messages for downloads and uploads. Block 1 is a binary data log, 5 the
// setup as a parameter text file, 6 an advanced setup, 8 the dead-zone
// calibration report; other blocks hold what was last uploaded into them.

#include "sim/SimFeature.h"

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace halcyra::sim {

using Bytes = std::vector<std::uint8_t>;
struct Request;

class CBlockFeature final : public CSimFeature {
public:
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

    static std::vector<const CSimOption*> Options();
    explicit CBlockFeature(const SimSettings& settings);
    void Register(CSimController& sim) override;

    BlockState& Block(std::uint8_t block) { return blocks_[block]; }
    // The data log's length: what block 1 gives out. Logging moves it on.
    std::uint32_t LogLength() const { return logLength_; }
    void SetLogLength(std::uint32_t length) { logLength_ = length; }
    // The bytes of a block as the controller would give them out now.
    Bytes Contents(CSimController& sim, std::uint8_t block);

private:
    std::optional<Bytes> AnswerBeginDownload(CSimController& sim, const Request& r);
    std::optional<Bytes> AnswerDownloadChunk(CSimController& sim, const Request& r);
    std::optional<Bytes> AnswerBeginUpload(const Request& r);
    std::optional<Bytes> AnswerUploadChunk(CSimController& sim, const Request& r);
    bool HasContents(std::uint8_t block);
    bool Stalled(std::uint32_t chunk) const { return stallChunk_ > 0 && chunk >= stallChunk_; }
    void FinishUpload(CSimController& sim, std::uint8_t block, BlockState& state);

    std::uint32_t logLength_;
    std::uint8_t beginStatus_;
    std::uint32_t stallChunk_;
    std::map<std::uint8_t, BlockState> blocks_;
};

// The bytes of a data block as the controller would give them out now:
// 1 the data log, 5 the setup, 6 the advanced setup, 8 the dead-zone report.
Bytes BlockContents(CSimController& sim, std::uint8_t block);

} // namespace halcyra::sim
