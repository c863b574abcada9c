#pragma once
// What the framing layer needs of a byte stream: the serial port in the
// program, an in-memory port in tests, fuzzers and the simulator's decoder.

#include <chrono>
#include <cstddef>
#include <cstdint>

namespace halcyra {

class CBytePort {
public:
    virtual ~CBytePort() = default;
    virtual bool IsOpen() const = 0;
    // Reads up to count bytes that are already waiting; never blocks.
    virtual std::size_t Read(std::uint8_t* buffer, std::size_t count) = 0;
    virtual std::size_t Write(const std::uint8_t* buffer, std::size_t count) = 0;
    virtual std::size_t BytesWaiting() = 0;
    // Blocks until at least one byte is waiting or the timeout passes.
    virtual bool WaitReadable(std::chrono::milliseconds timeout) = 0;
    // True when the device under an open port has gone away (an adapter
    // unplugged, the other end of a pseudo-terminal closed).
    virtual bool LineLost() { return false; }
    // A descriptor that polls readable when bytes wait, for a program that
    // waits on it in its own event loop; -1 when the port has none.
    virtual int Descriptor() const { return -1; }
};

} // namespace halcyra
