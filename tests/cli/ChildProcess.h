#pragma once
// A program run by a test in a process of its own, to be interrupted or to
// lose its controller midway.

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <string>
#include <vector>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace halcyra::test {

// A program in a process of its own; what it writes to standard output and
// standard error is read here, together.
class Child {
public:
    explicit Child(std::vector<std::string> args)
    {
        int pipeFds[2];
        EXPECT_EQ(0, ::pipe(pipeFds));
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(pipeFds[1], STDOUT_FILENO);
            ::dup2(pipeFds[1], STDERR_FILENO);
            ::close(pipeFds[0]);
            std::vector<char*> argv;
            for (std::string& a : args)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        ::close(pipeFds[1]);
        output_ = pipeFds[0];
    }
    ~Child()
    {
        if (pid_ > 0 && !waited_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        ::close(output_);
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    // Reads the output until it holds text or the time is up.
    bool WaitFor(const std::string& text, std::chrono::milliseconds timeout)
    {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (seen_.find(text) == std::string::npos) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            pollfd p{output_, POLLIN, 0};
            if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0)
                return false;
            char buf[256];
            const ssize_t n = ::read(output_, buf, sizeof buf);
            if (n <= 0)
                return false;
            seen_.append(buf, static_cast<std::size_t>(n));
        }
        return true;
    }
    // The wait status once the program has ended; what it wrote meanwhile is read.
    int Wait()
    {
        WaitFor("\x01never written", std::chrono::seconds(30));
        int status = 0;
        ::waitpid(pid_, &status, 0);
        waited_ = true;
        return status;
    }
    void Signal(int signal) { ::kill(pid_, signal); }
    const std::string& Seen() const { return seen_; }

private:
    pid_t pid_ = -1;
    int output_ = -1;
    bool waited_ = false;
    std::string seen_;
};

} // namespace halcyra::test
