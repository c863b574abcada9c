#include "link/Files.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace halcyra {

namespace {

constexpr const char* kNotRegular = "it is not a regular file";

void Say(std::string* why, const char* text)
{
    if (why)
        *why = text;
}

} // namespace

std::FILE* OpenFile(const std::string& path, const char* mode, std::string* why)
{
    if (mode[0] != 'r') {
        std::FILE* file = std::fopen(path.c_str(), mode);
        if (!file)
            Say(why, std::strerror(errno));
        return file;
    }
    // Opened without blocking, so a FIFO does not wait for its writer here;
    // anything but a regular file is then turned away.
    const int access = std::strchr(mode, '+') ? O_RDWR : O_RDONLY;
    const int fd = ::open(path.c_str(), access | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        Say(why, std::strerror(errno));
        return nullptr;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        Say(why, kNotRegular);
        return nullptr;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    std::FILE* file = ::fdopen(fd, mode);
    if (!file) {
        Say(why, std::strerror(errno));
        ::close(fd);
    }
    return file;
}

std::optional<std::string> EnvironmentVariable(const char* name)
{
    const char* value = std::getenv(name);
    if (!value || !*value)
        return std::nullopt;
    return std::string(value);
}

} // namespace halcyra
