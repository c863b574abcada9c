#pragma once
// A FIFO with no writer, where a reader that opens it as a file would wait
// until one comes. POSIX only.

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <functional>
#include <future>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace halcyra::test {

class Fifo {
public:
    explicit Fifo(std::string path) : path_(std::move(path)) { EXPECT_EQ(0, ::mkfifo(path_.c_str(), 0600)); }
    ~Fifo() { ::unlink(path_.c_str()); }
    Fifo(const Fifo&) = delete;
    Fifo& operator=(const Fifo&) = delete;

    const std::string& Path() const { return path_; }

    // Whether f returns within the time. A reader of the FIFO still blocked
    // then is set free by a writer that comes and goes, so f always returns.
    bool ReturnsWithin(std::chrono::milliseconds time, const std::function<void()>& f) const
    {
        std::promise<void> done;
        std::future<void> finished = done.get_future();
        std::thread run([&] {
            f();
            done.set_value();
        });
        const bool inTime = finished.wait_for(time) == std::future_status::ready;
        while (finished.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
            const int writer = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK);
            if (writer >= 0)
                ::close(writer);
        }
        run.join();
        return inTime;
    }

private:
    std::string path_;
};

} // namespace halcyra::test
