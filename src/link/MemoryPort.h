#pragma once
// A port backed by two byte queues: bytes fed in are read by the framing
// layer, bytes written are collected for inspection.

#include "link/BytePort.h"

#include <deque>
#include <functional>
#include <vector>

namespace halcyra {

class CMemoryPort final : public CBytePort {
public:
    bool IsOpen() const override { return open_; }
    std::size_t Read(std::uint8_t* buffer, std::size_t count) override;
    std::size_t Write(const std::uint8_t* buffer, std::size_t count) override;
    std::size_t BytesWaiting() override { return incoming_.size(); }
    // With nothing waiting, asks the arrival hook (which may feed bytes, as a
    // controller answering would); without one, the whole timeout passes.
    bool WaitReadable(std::chrono::milliseconds timeout) override;
    void OnWait(std::function<void()> arrival) { arrival_ = std::move(arrival); }

    void Feed(const std::vector<std::uint8_t>& bytes) { incoming_.insert(incoming_.end(), bytes.begin(), bytes.end()); }
    void Feed(std::uint8_t byte) { incoming_.push_back(byte); }
    std::vector<std::uint8_t> TakeWritten();
    const std::vector<std::uint8_t>& Written() const { return written_; }
    void SetOpen(bool open) { open_ = open; }

private:
    std::deque<std::uint8_t> incoming_;
    std::vector<std::uint8_t> written_;
    bool open_ = true;
    std::function<void()> arrival_;
};

} // namespace halcyra
