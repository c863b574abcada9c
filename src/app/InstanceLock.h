#pragma once
// Keeps a second copy of the program from starting and fighting over the port.

#include <string>

namespace halcyra {

class CInstanceLock {
public:
    // The lock lives in lockPath; empty picks the user's runtime directory.
    explicit CInstanceLock(std::string lockPath = {});
    ~CInstanceLock();
    CInstanceLock(const CInstanceLock&) = delete;
    CInstanceLock& operator=(const CInstanceLock&) = delete;

    // True when this process now holds the lock.
    bool Acquire();
    const std::string& Path() const { return path_; }

    static std::string AlreadyRunningText();

private:
    std::string path_;
    int fd_ = -1;
};

} // namespace halcyra
