#pragma once
// Wire time of a byte count on an 8N1 line: ten bit times per byte.

#include <cstdint>
#include <cstdio>

namespace halcyra::bench {

inline double WireSeconds(std::uint64_t bytes, unsigned baud = 38400) { return static_cast<double>(bytes) * 10.0 / baud; }

inline void Report(const char* what, double seconds, std::uint64_t sent, std::uint64_t received)
{
    const double wire = WireSeconds(sent + received);
    std::printf("%s: %.3f s measured, %llu bytes sent + %llu received = %.3f s on the wire at 38400 baud; ratio %.3f\n",
                what, seconds, static_cast<unsigned long long>(sent), static_cast<unsigned long long>(received), wire,
                seconds / wire);
}

} // namespace halcyra::bench
