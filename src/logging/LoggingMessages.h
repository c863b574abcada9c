#pragma once
// The data logging messages: the logging status and command, the logging
// output setting, and the block frames that carry a streamed log's header
// and records.

#include "link/ControllerMsg.h"
#include "link/MessageIds.h"

#include <array>
#include <cstdint>
#include <span>

namespace halcyra {

// Message 0x42 (three-byte family): whether the controller is logging, and
// values A and B of its log memory; the program shows B - A of B.
class CLogStatusMsg final : public CControllerMsg {
public:
    CLogStatusMsg();
    bool DecodePayload(CRxBuffer& rx) override;

    std::uint8_t active = 0;
    std::uint32_t valueA = 0;
    std::uint32_t valueB = 0;
};

// Message 0x43 (three-byte family): start, stop or clear; sent without waiting.
class CLogCommandMsg final : public CControllerMsg {
public:
    explicit CLogCommandMsg(std::uint32_t command);
    void EncodePayload(CTxBuffer& tx) const override;

    std::uint32_t command;
};

// Message 0x47, sub-code 14, operation 8: the logging output setting.
class CLogOutputGetMsg final : public CControllerMsg {
public:
    CLogOutputGetMsg();
    bool DecodePayload(CRxBuffer& rx) override;

    std::uint32_t setting = 0;
};

// Operation 9: sets the logging output; sent without waiting.
class CLogOutputSetMsg final : public CControllerMsg {
public:
    explicit CLogOutputSetMsg(std::uint32_t setting);
    void EncodePayload(CTxBuffer& tx) const override;

    std::uint32_t setting;
};

// Collects one streamed item (the log header, operation 6, or a record,
// operation 7) from the block frames the controller sends unasked. Each
// frame holds its block number, the item's last block number, a size n and
// n bytes; every block but the last holds 170 bytes. The message stays
// registered while an item arrives; a frame that cannot belong to the item
// is rejected and changes nothing. A frame numbered 1 always starts an item
// afresh, abandoning one left unfinished.
class CDataLogBlockMsg final : public CControllerMsg {
public:
    static constexpr std::size_t kCapacity = 2000;

    explicit CDataLogBlockMsg(std::uint8_t operation);
    bool DecodePayload(CRxBuffer& rx) override;

    // Every block up to the last has arrived.
    bool Finished() const;
    // Has part of an item.
    bool Collecting() const { return currentBlock_ != 0; }
    // Empties the message for the next item.
    void Restart();

    std::span<const std::uint8_t> Data() const { return {data_.data(), received_}; }
    std::uint16_t ReceivedBytes() const { return received_; }
    std::uint8_t CurrentBlock() const { return currentBlock_; }
    std::uint8_t LastBlock() const { return lastBlock_; }
    // Unfinished items a new item's first frame has replaced, over the message's life.
    int AbandonedItems() const { return abandoned_; }

private:
    std::uint8_t lastBlockSize_ = 0;
    std::uint8_t currentBlock_ = 0;
    std::uint8_t lastBlock_ = 0;
    std::array<std::uint8_t, kCapacity> data_{};
    std::uint16_t received_ = 0;
    int abandoned_ = 0;
};

} // namespace halcyra
