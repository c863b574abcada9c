#pragma once
// Keeps a second copy of the program from starting and fighting over the port.

#include <string>

namespace halcyra {

class CInstanceLock {
public:
    // The lock lives in lockPath; empty picks the user's runtime (on Windows:
    // temporary) directory.
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
#ifdef _WIN32
    void* handle_ = nullptr; // the lock file, opened without sharing
#else
    int fd_ = -1;
#endif
};

} // namespace halcyra
