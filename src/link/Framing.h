#pragma once
// Byte rings and the DLE framing of the controller's packets:
//   DLE, packet code, stuffed body, stuffed length byte, stuffed 16-bit sum, DLE ETX.

#include "link/BytePort.h"

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <type_traits>
#include <vector>

namespace halcyra {

inline constexpr std::uint8_t kDle = 0x10;
inline constexpr std::uint8_t kEtx = 0x03;
inline constexpr int kMaxBody = 250;

class CByteRing {
public:
    explicit CByteRing(std::size_t capacity);
    virtual ~CByteRing() = default;
    CByteRing(const CByteRing&) = delete;
    CByteRing& operator=(const CByteRing&) = delete;

    bool PushBack(std::uint8_t byte);
    bool PushFront(std::uint8_t byte);
    bool PopFront(std::uint8_t& byte);
    bool PopBack(std::uint8_t& byte);
    int Count() const;
    std::size_t Capacity() const { return storage_.size(); }
    void Clear();
    // The byte at offset from the read position, without removing it.
    std::uint8_t Peek(std::size_t offset) const;

    // Pushes an integer or float most significant byte first.
    template <typename T> void PushValue(T value)
    {
        static_assert(sizeof(T) == 1 || sizeof(T) == 2 || sizeof(T) == 4);
        std::uint32_t bits = ToBits(value);
        for (int i = static_cast<int>(sizeof(T)) - 1; i >= 0; --i)
            PushBack(static_cast<std::uint8_t>(bits >> (8 * i)));
    }
    // Pops a value, the first byte the most significant. Popping from an
    // exhausted ring leaves the remaining bytes of the value as they were.
    template <typename T> void PopValue(T& value)
    {
        static_assert(sizeof(T) == 1 || sizeof(T) == 2 || sizeof(T) == 4);
        std::uint32_t bits = ToBits(value);
        for (int i = static_cast<int>(sizeof(T)) - 1; i >= 0; --i) {
            std::uint8_t b = 0;
            if (PopFront(b))
                bits = (bits & ~(0xFFu << (8 * i))) | (std::uint32_t{b} << (8 * i));
        }
        value = FromBits<T>(bits);
    }

private:
    template <typename T> static std::uint32_t ToBits(T value)
    {
        if constexpr (std::is_floating_point_v<T>) {
            static_assert(sizeof(T) == 4);
            std::uint32_t bits;
            std::memcpy(&bits, &value, 4);
            return bits;
        } else {
            return static_cast<std::uint32_t>(static_cast<std::make_unsigned_t<T>>(value));
        }
    }
    template <typename T> static T FromBits(std::uint32_t bits)
    {
        if constexpr (std::is_floating_point_v<T>) {
            T value;
            std::memcpy(&value, &bits, 4);
            return value;
        } else {
            return static_cast<T>(static_cast<std::make_unsigned_t<T>>(bits));
        }
    }

    std::vector<std::uint8_t> storage_;
    std::size_t read_ = 0;
    std::size_t write_ = 0;
    bool lastWasRemoval_ = true; // tells empty from full when the positions meet
};

// The frame finder's states. Their names are what a trace prints.
enum class LexState : std::uint8_t { Ground, OpeningDle, InBody, DleInBody, Complete };
const char* LexStateName(LexState state);

// Input the frame finder gave up on, as it came off the wire: noise before a
// frame, or a frame abandoned part way.
struct PassedOverInput {
    std::vector<std::uint8_t> bytes;
    LexState state;    // where the finder was when it gave them up
    const char* cause; // "noise", "DLE followed by another byte", ...

    // "noise, in state "ground"": what a trace says of them.
    std::string Describe() const;
};

// The checker's verdict on a complete frame's length byte and checksum.
enum class FrameCheck { Good, TooShort, BadLength, BadChecksum };
const char* FrameCheckText(FrameCheck check);

// Receive side. The frame finder only unstuffs bytes and spots frame ends;
// once a frame is complete, ExposeHeader sets its header bytes aside and
// Check judges its length byte and checksum.
class CRxBuffer final : public CByteRing {
public:
    explicit CRxBuffer(CBytePort* port = nullptr);
    void Bind(CBytePort* port) { port_ = port; }

    // Reads waiting bytes into the finder until a frame completes; never blocks.
    bool ReadFrame();
    // Feeds one byte to the finder; true when it completed a frame.
    bool FeedByte(std::uint8_t byte);
    // Back to the ground state with the ring emptied.
    void Reset();
    LexState AssemblyState() const { return state_; }

    // Once a frame is complete: takes the packet code and message id off the
    // ring and copies the next four bytes as further header bytes, leaving
    // [header after the id..., payload, length byte, checksum high, low].
    bool ExposeHeader();
    FrameCheck Check() const;
    bool TrailerOk() const { return Check() == FrameCheck::Good; }

    std::uint8_t Header(int index) const { return header_[index]; }
    // How many header bytes the exposed frame had (at most six).
    int HeaderCount() const { return headerCount_; }
    std::uint8_t LengthByte() const;
    std::uint16_t ReceivedChecksum() const;
    // Sum of the message id, the bytes after it and the length byte.
    std::uint16_t ComputedChecksum() const;

    // With a handler set, the finder keeps the wire bytes of each frame
    // (FrameWire) and reports what it passes over.
    void OnPassedOver(std::function<void(const PassedOverInput&)> handler);
    const std::vector<std::uint8_t>& FrameWire() const { return wire_; }
    // Reports noise collected so far instead of waiting for the next frame.
    void FlushNoise();

private:
    void Abandon(const char* cause);

    CBytePort* port_;
    std::uint8_t header_[6] = {};
    int headerCount_ = 0;
    LexState state_ = LexState::Ground;
    std::function<void(const PassedOverInput&)> passedOver_;
    std::vector<std::uint8_t> wire_;  // the current frame from its opening DLE
    std::vector<std::uint8_t> noise_; // bytes skipped in the ground state
};

// Transmit side: messages push their bytes, then WriteFrame sends them framed.
class CTxBuffer final : public CByteRing {
public:
    explicit CTxBuffer(CBytePort* port = nullptr);
    void Bind(CBytePort* port) { port_ = port; }
    // Frames and writes the buffered bytes. On failure the buffer is emptied so
    // nothing stale precedes the next message.
    bool WriteFrame(bool addLength = true, bool addChecksum = true);
    // The frame bytes WriteFrame would send, consuming the buffer the same way.
    bool BuildFrame(std::vector<std::uint8_t>& out, bool addLength = true, bool addChecksum = true);
    // The bytes the last WriteFrame put on the wire.
    const std::vector<std::uint8_t>& LastFrame() const { return lastFrame_; }

private:
    CBytePort* port_;
    std::vector<std::uint8_t> lastFrame_;
};

} // namespace halcyra
