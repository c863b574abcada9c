#pragma once
// Moves a numbered controller data block between the controller and an open
// file in 228-byte chunks: block 1 the internal data log, block 5 the setup,
// block 6 the advanced setup, block 8 the dead-zone calibration report.

#include "link/ControllerMsg.h"
#include "pages/BusyIndicator.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace halcyra {

class CControllerLink;

inline constexpr std::size_t kBlockChunkBytes = 228;
// The index that marks the last chunk of an upload.
inline constexpr std::uint16_t kLastChunkIndex = 0xFFFF;
// Chunk indexes are 16 bits and 0xFFFF marks an upload's last chunk, so a
// block holds at most this many chunks either way.
inline constexpr std::uint32_t kMaxBlockChunks = 0xFFFF;

using BlockChunk = std::array<std::uint8_t, kBlockChunkBytes>;

// Message 0x41, operation 2: asks for a block; the reply gives its length.
class CBlockBeginDownloadMsg final : public CControllerMsg {
public:
    explicit CBlockBeginDownloadMsg(std::uint8_t block = 0);
    void EncodePayload(CTxBuffer& tx) const override;
    bool DecodePayload(CRxBuffer& rx) override;

    std::uint8_t status = 0;
    std::uint16_t word = 0;
    std::uint32_t length = 0;
};

// Message 0x41, operation 3: one chunk of the block (1-based index).
class CBlockChunkDownloadMsg final : public CControllerMsg {
public:
    explicit CBlockChunkDownloadMsg(std::uint8_t block = 0);
    void EncodePayload(CTxBuffer& tx) const override;
    bool DecodePayload(CRxBuffer& rx) override;

    std::uint16_t index = 0;
    std::uint8_t status = 0;
    std::uint16_t word = 0;
    BlockChunk data{};
};

// Message 0x41, operation 0: announces an upload into the block.
class CBlockBeginUploadMsg final : public CControllerMsg {
public:
    explicit CBlockBeginUploadMsg(std::uint8_t block = 0);
    void EncodePayload(CTxBuffer& tx) const override;
    bool DecodePayload(CRxBuffer& rx) override;

    std::uint8_t status = 0;
    std::uint16_t word = 0;
};

// Message 0x41, operation 1: one chunk of an upload. Block 0 carries the
// total length (32 bits) where the other blocks carry the chunk index.
class CBlockChunkUploadMsg final : public CControllerMsg {
public:
    explicit CBlockChunkUploadMsg(std::uint8_t block = 0);
    void EncodePayload(CTxBuffer& tx) const override;
    bool DecodePayload(CRxBuffer& rx) override;

    std::uint16_t index = 0;
    std::uint32_t totalLength = 0;
    BlockChunk data{};
    std::uint8_t status = 0;
    std::uint16_t word = 0;
};

// Called with the chunks done so far and the chunk count: (0, N) once the
// transfer has begun, then (i, N) after each chunk.
using BlockProgress = ProgressCallback;

class CBlockTransfer {
public:
    explicit CBlockTransfer(CControllerLink& link, std::FILE* file = nullptr);
    ~CBlockTransfer();
    CBlockTransfer(const CBlockTransfer&) = delete;
    CBlockTransfer& operator=(const CBlockTransfer&) = delete;

    // Opens path (UTF-8) with an fopen mode and owns the file until Close;
    // a file to read must be a regular file.
    bool Open(const std::string& path, const char* mode);
    void Close();
    std::FILE* File() const { return file_; }

    void SetProgress(BlockProgress progress) { progress_ = std::move(progress); }

    // The whole block into the file at its current position (begin 2000 ms,
    // chunks 2000 ms, 3 tries each, error box). A block of length 0 writes nothing.
    bool DownloadToFile(std::uint8_t block);
    // The same into memory (no file needed).
    bool DownloadToMemory(std::uint8_t block, std::string& bytes);
    // The whole file into the block (1000 ms, 3 tries each, error box); the
    // last chunk goes with index 0xFFFF, zero-filled. An empty file or one of
    // more chunks than indexes can count is refused before anything is sent.
    bool UploadFromFile(std::uint8_t block);
    // The same from bytes held in memory (no file needed).
    bool UploadFromMemory(std::uint8_t block, const std::vector<std::uint8_t>& bytes);

    // Step-wise download for callers that show progress between chunks.
    // BeginDownload: 1000 ms, 3 tries, error box; gives the chunk count.
    bool BeginDownload(std::uint8_t block, std::uint32_t& chunks);
    // DownloadChunk i (1..N, in order): 1000 ms, 5 tries, no error box.
    bool DownloadChunk(std::uint32_t index);

    std::uint32_t BlockLength() const { return blockLength_; }
    std::uint32_t ChunkCount() const { return chunkCount_; }

private:
    // The whole block, chunk by chunk, to write(data, count).
    bool Download(std::uint8_t block, const std::function<bool(const BlockChunk&, std::size_t)>& write);
    // The upload of length bytes, taken chunk by chunk from read(to, count).
    bool Upload(std::uint8_t block, std::uint64_t length,
                const std::function<bool(std::uint8_t* to, std::size_t count)>& read);
    // Transact with the tries made one at a time. A try that timed out may
    // still be answered later, and that answer would pass for the reply to
    // the next message with the same header (the next chunk): after a success
    // on a retry, such late answers are taken off the line first.
    bool TransactAndSettle(CControllerMsg& msg, std::uint32_t timeoutMs, int tries, bool showError);
    void DiscardLateReplies(const CControllerMsg& msg, std::uint32_t timeoutMs, int count);
    // Bytes of chunk i that belong to the block.
    std::size_t ChunkBytes(std::uint32_t index) const;
    bool Write(const BlockChunk& data, std::size_t count);
    void Report(std::uint32_t done) const;

    CControllerLink& link_;
    std::FILE* file_ = nullptr;
    bool ownsFile_ = false;
    CBlockChunkDownloadMsg chunkMsg_; // the step-wise download's chunk
    std::uint32_t blockLength_ = 0;
    std::uint32_t chunkCount_ = 0;
    BlockProgress progress_;
};

} // namespace halcyra
