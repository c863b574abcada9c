#include "setup/BlockTransfer.h"

#include "link/ControllerLink.h"
#include "link/Files.h"
#include "link/Framing.h"
#include "link/MessageIds.h"

#include <algorithm>

namespace halcyra {

namespace {

using namespace wire::block;

std::uint32_t ChunksFor(std::uint64_t length)
{
    return static_cast<std::uint32_t>((length + kBlockChunkBytes - 1) / kBlockChunkBytes);
}

} // namespace

// ---------------------------------------------------------------- messages

CBlockBeginDownloadMsg::CBlockBeginDownloadMsg(std::uint8_t block)
    : CControllerMsg(HeaderFamily::FourByte, wire::kBlockMsg, block, kBeginDownloadOp, 7)
{
}

void CBlockBeginDownloadMsg::EncodePayload(CTxBuffer& tx) const { tx.PushValue(std::uint16_t{0}); }

bool CBlockBeginDownloadMsg::DecodePayload(CRxBuffer& rx)
{
    rx.PopValue(status);
    rx.PopValue(word);
    rx.PopValue(length);
    return true;
}

CBlockChunkDownloadMsg::CBlockChunkDownloadMsg(std::uint8_t block)
    : CControllerMsg(HeaderFamily::FourByte, wire::kBlockMsg, block, kDownloadChunkOp, 3 + kBlockChunkBytes)
{
}

void CBlockChunkDownloadMsg::EncodePayload(CTxBuffer& tx) const { tx.PushValue(index); }

bool CBlockChunkDownloadMsg::DecodePayload(CRxBuffer& rx)
{
    rx.PopValue(status);
    rx.PopValue(word);
    for (std::uint8_t& b : data)
        rx.PopValue(b);
    return true;
}

CBlockBeginUploadMsg::CBlockBeginUploadMsg(std::uint8_t block)
    : CControllerMsg(HeaderFamily::FourByte, wire::kBlockMsg, block, kBeginUploadOp, 3)
{
}

void CBlockBeginUploadMsg::EncodePayload(CTxBuffer& tx) const { tx.PushValue(std::uint16_t{0}); }

bool CBlockBeginUploadMsg::DecodePayload(CRxBuffer& rx)
{
    rx.PopValue(status);
    rx.PopValue(word);
    return true;
}

CBlockChunkUploadMsg::CBlockChunkUploadMsg(std::uint8_t block)
    : CControllerMsg(HeaderFamily::FourByte, wire::kBlockMsg, block, kUploadChunkOp, 3)
{
}

void CBlockChunkUploadMsg::EncodePayload(CTxBuffer& tx) const
{
    if (subCode == 0)
        tx.PushValue(totalLength);
    else
        tx.PushValue(index);
    for (std::uint8_t b : data)
        tx.PushBack(b);
}

bool CBlockChunkUploadMsg::DecodePayload(CRxBuffer& rx)
{
    rx.PopValue(status);
    rx.PopValue(word);
    return true;
}

// Takes any reply with a given header off the line.
class CLateReplyCatcher final : public CControllerMsg {
public:
    explicit CLateReplyCatcher(const CControllerMsg& like)
        : CControllerMsg(like.Family(), like.messageId, like.subCode, like.operation, kAnyLength)
    {
    }
    bool DecodePayload(CRxBuffer& rx) override
    {
        std::uint8_t b = 0;
        while (rx.PopFront(b)) {
        }
        return true;
    }
};

// ---------------------------------------------------------------- transfer

CBlockTransfer::CBlockTransfer(CControllerLink& link, std::FILE* file) : link_(link), file_(file) {}

CBlockTransfer::~CBlockTransfer() { Close(); }

bool CBlockTransfer::Open(const std::string& path, const char* mode)
{
    Close();
    file_ = OpenFile(path, mode);
    if (!file_)
        return false;
    ownsFile_ = true;
    return true;
}

void CBlockTransfer::Close()
{
    if (file_ && ownsFile_)
        std::fclose(file_);
    file_ = nullptr;
    ownsFile_ = false;
}

std::size_t CBlockTransfer::ChunkBytes(std::uint32_t index) const
{
    if (index < chunkCount_)
        return kBlockChunkBytes;
    return blockLength_ - (chunkCount_ - 1) * kBlockChunkBytes;
}

bool CBlockTransfer::Write(const BlockChunk& data, std::size_t count)
{
    // A full disk must fail the transfer, not leave a short file behind a success.
    return file_ && std::fwrite(data.data(), 1, count, file_) == count;
}

void CBlockTransfer::Report(std::uint32_t done) const
{
    if (progress_)
        progress_(done, chunkCount_);
}

bool CBlockTransfer::TransactAndSettle(CControllerMsg& msg, std::uint32_t timeoutMs, int tries, bool showError)
{
    for (int attempt = 1; attempt <= tries; ++attempt) {
        if (link_.Transact(msg, {.timeoutMs = timeoutMs, .tries = 1, .showError = showError && attempt == tries})) {
            if (attempt > 1)
                DiscardLateReplies(msg, timeoutMs, attempt - 1);
            return true;
        }
    }
    return false;
}

void CBlockTransfer::DiscardLateReplies(const CControllerMsg& msg, std::uint32_t timeoutMs, int count)
{
    // The tries went out one time-out apart, so a late answer to a later try
    // is due about one time-out after the answer that was taken, give or take
    // the controller's jitter. A try whose request was lost is never answered.
    const std::uint32_t window = timeoutMs + timeoutMs / 2;
    CLateReplyCatcher catcher(msg);
    link_.Register(catcher);
    for (int i = 0; i < count; ++i) {
        catcher.SetState(CControllerMsg::Waiting);
        if (!link_.AwaitReply(catcher, window, 1, false))
            break;
    }
    link_.Unregister(catcher);
}

bool CBlockTransfer::DownloadToFile(std::uint8_t block)
{
    if (!file_)
        return false;
    return Download(block, [this](const BlockChunk& data, std::size_t count) { return Write(data, count); });
}

bool CBlockTransfer::DownloadToMemory(std::uint8_t block, std::string& bytes)
{
    bytes.clear();
    return Download(block, [&bytes](const BlockChunk& data, std::size_t count) {
        bytes.append(reinterpret_cast<const char*>(data.data()), count);
        return true;
    });
}

bool CBlockTransfer::Download(std::uint8_t block, const std::function<bool(const BlockChunk&, std::size_t)>& write)
{
    CBlockBeginDownloadMsg begin(block);
    CBlockChunkDownloadMsg chunk(block);
    if (!TransactAndSettle(begin, 2000, 3, true) || begin.status != 0)
        return false;
    if (ChunksFor(begin.length) > kMaxBlockChunks)
        return false;
    blockLength_ = begin.length;
    chunkCount_ = ChunksFor(blockLength_);
    Report(0);
    for (std::uint32_t i = 1; i <= chunkCount_; ++i) {
        chunk.index = static_cast<std::uint16_t>(i);
        if (!TransactAndSettle(chunk, 2000, 3, true))
            return false;
        if (!write(chunk.data, ChunkBytes(i)))
            return false;
        Report(i);
    }
    return true;
}

bool CBlockTransfer::UploadFromFile(std::uint8_t block)
{
    if (!file_ || std::fseek(file_, 0, SEEK_END) != 0)
        return false;
    const long end = std::ftell(file_);
    if (end <= 0 || std::fseek(file_, 0, SEEK_SET) != 0)
        return false;
    return Upload(block, static_cast<std::uint64_t>(end), [this](std::uint8_t* to, std::size_t count) {
        return std::fread(to, 1, count, file_) == count;
    });
}

bool CBlockTransfer::UploadFromMemory(std::uint8_t block, const std::vector<std::uint8_t>& bytes)
{
    std::size_t offset = 0;
    return Upload(block, bytes.size(), [&bytes, &offset](std::uint8_t* to, std::size_t count) {
        if (count > bytes.size() - offset)
            return false;
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(offset), count, to);
        offset += count;
        return true;
    });
}

bool CBlockTransfer::Upload(std::uint8_t block, std::uint64_t length,
                            const std::function<bool(std::uint8_t* to, std::size_t count)>& read)
{
    // Indexes 1..N-1 and 0xFFFF for the last: N - 1 must stay below 0xFFFF.
    if (length == 0 || ChunksFor(length) > kMaxBlockChunks)
        return false;
    blockLength_ = static_cast<std::uint32_t>(length);
    chunkCount_ = ChunksFor(length);

    CBlockBeginUploadMsg begin(block);
    CBlockChunkUploadMsg chunk(block);
    chunk.totalLength = blockLength_;
    if (!TransactAndSettle(begin, 1000, 3, true) || begin.status != 0)
        return false;
    Report(0);
    for (std::uint32_t i = 1; i < chunkCount_; ++i) {
        if (!read(chunk.data.data(), kBlockChunkBytes))
            return false;
        chunk.index = static_cast<std::uint16_t>(i);
        if (!TransactAndSettle(chunk, 1000, 3, true))
            return false;
        Report(i);
    }
    chunk.data.fill(0);
    if (!read(chunk.data.data(), ChunkBytes(chunkCount_)))
        return false;
    chunk.index = kLastChunkIndex;
    if (!TransactAndSettle(chunk, 1000, 3, true))
        return false;
    Report(chunkCount_);
    return true;
}

bool CBlockTransfer::BeginDownload(std::uint8_t block, std::uint32_t& chunks)
{
    chunkMsg_.subCode = block;
    CBlockBeginDownloadMsg begin(block);
    if (!TransactAndSettle(begin, 1000, 3, true) || begin.status != 0)
        return false;
    if (ChunksFor(begin.length) > kMaxBlockChunks)
        return false;
    blockLength_ = begin.length;
    chunkCount_ = ChunksFor(blockLength_);
    chunks = chunkCount_;
    Report(0);
    return true;
}

bool CBlockTransfer::DownloadChunk(std::uint32_t index)
{
    if (index == 0 || index > chunkCount_)
        return false;
    chunkMsg_.index = static_cast<std::uint16_t>(index);
    if (!TransactAndSettle(chunkMsg_, 1000, 5, false))
        return false;
    if (!Write(chunkMsg_.data, ChunkBytes(index)))
        return false;
    Report(index);
    return true;
}

} // namespace halcyra
