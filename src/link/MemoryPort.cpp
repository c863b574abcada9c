#include "link/MemoryPort.h"

#include "link/SerialPort.h"

#include <cerrno>
#include <thread>

namespace halcyra {

std::size_t CMemoryPort::Read(std::uint8_t* buffer, std::size_t count)
{
    if (!open_)
        throw CSerialException(EBADF, "port is not open");
    std::size_t n = 0;
    while (n < count && !incoming_.empty()) {
        buffer[n++] = incoming_.front();
        incoming_.pop_front();
    }
    return n;
}

std::size_t CMemoryPort::Write(const std::uint8_t* buffer, std::size_t count)
{
    if (!open_)
        throw CSerialException(EBADF, "port is not open");
    written_.insert(written_.end(), buffer, buffer + count);
    return count;
}

bool CMemoryPort::WaitReadable(std::chrono::milliseconds timeout)
{
    if (incoming_.empty() && arrival_)
        arrival_();
    if (incoming_.empty())
        std::this_thread::sleep_for(timeout);
    return !incoming_.empty();
}

std::vector<std::uint8_t> CMemoryPort::TakeWritten()
{
    std::vector<std::uint8_t> out;
    out.swap(written_);
    return out;
}

} // namespace halcyra
