#include "app/InstanceLock.h"

#include "link/Files.h"
#include "link/Notifier.h"

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <filesystem>
#else
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace halcyra {

#ifdef _WIN32

CInstanceLock::CInstanceLock(std::string lockPath) : path_(std::move(lockPath))
{
    if (path_.empty()) {
        // The temporary directory is the user's own.
        std::error_code ec;
        path_ = Utf8FromPath(std::filesystem::temp_directory_path(ec) / "halcyra-toolbox.lock");
    }
}

CInstanceLock::~CInstanceLock()
{
    if (handle_)
        CloseHandle(static_cast<HANDLE>(handle_)); // the file may stay for the next start
}

bool CInstanceLock::Acquire()
{
    if (handle_)
        return true;
    // Opened without sharing: while this handle lives, every other open of
    // the file fails with a sharing violation.
    HANDLE handle = CreateFileW(PathFromUtf8(path_).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return GetLastError() != ERROR_SHARING_VIOLATION; // no place for a lock file: do not keep the user out
    handle_ = handle;
    return true;
}

#else

CInstanceLock::CInstanceLock(std::string lockPath) : path_(std::move(lockPath))
{
    if (path_.empty()) {
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        std::string dir = runtime && *runtime ? runtime : "/tmp";
        path_ = dir + "/halcyra-toolbox-" + std::to_string(::getuid()) + ".lock";
    }
}

CInstanceLock::~CInstanceLock()
{
    if (fd_ >= 0)
        ::close(fd_); // releases the lock; the file may stay for the next start
}

bool CInstanceLock::Acquire()
{
    if (fd_ >= 0)
        return true;
    int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return true; // no place for a lock file: do not keep the user out
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

#endif

std::string CInstanceLock::AlreadyRunningText()
{
    return std::string(kAppTitle) + " is already running.\nA second instance cannot be started.";
}

} // namespace halcyra
