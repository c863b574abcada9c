#include "app/InstanceLock.h"

#include "link/Notifier.h"

#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace halcyra {

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

std::string CInstanceLock::AlreadyRunningText()
{
    return std::string(kAppTitle) + " is already running.\nA second instance cannot be started.";
}

} // namespace halcyra
