#include "link/AtomicFileSystem.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace halcyra::atomic_file {

namespace fs = std::filesystem;

namespace {

void SyncDirectory(const fs::path& dir)
{
    // Makes the rename itself durable; a directory that cannot be opened
    // for this only loses that guarantee.
    int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

bool Replaceable(const fs::path& target, bool& exists, unsigned& mode)
{
    struct stat existing {};
    exists = ::stat(target.c_str(), &existing) == 0;
    if (!exists)
        return true;
    mode = existing.st_mode & 07777;
    return S_ISREG(existing.st_mode) && ::access(target.c_str(), W_OK) == 0;
}

std::FILE* CreateNew(const fs::path& path, unsigned mode, bool keepMode, bool& nameTaken)
{
    nameTaken = false;
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, keepMode ? mode : 0666);
    if (fd < 0) {
        nameTaken = errno == EEXIST;
        return nullptr;
    }
    if (keepMode)
        ::fchmod(fd, mode); // the umask narrowed it
    std::FILE* file = ::fdopen(fd, "wb");
    if (!file) {
        ::close(fd);
        ::unlink(path.c_str());
    }
    return file;
}

bool Sync(std::FILE* file) { return std::fflush(file) == 0 && ::fsync(::fileno(file)) == 0; }

bool SyncAndClose(std::FILE* file)
{
    const bool synced = Sync(file);
    return std::fclose(file) == 0 && synced;
}

bool Replace(const std::string& from, const std::string& to)
{
    if (std::rename(from.c_str(), to.c_str()) != 0)
        return false;
    const fs::path dir = fs::path(to).parent_path();
    SyncDirectory(dir.empty() ? fs::path(".") : dir);
    return true;
}

void Remove(const char* path) noexcept { ::unlink(path); }

unsigned long ProcessId() { return static_cast<unsigned long>(::getpid()); }

} // namespace halcyra::atomic_file
