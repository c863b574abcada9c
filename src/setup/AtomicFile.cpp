#include "setup/AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace halcyra {

namespace fs = std::filesystem;

namespace {

std::atomic<unsigned> g_sequence{0};

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

CAtomicFile::~CAtomicFile() { Discard(); }

bool CAtomicFile::Open(const std::string& destination)
{
    Discard();
    if (destination.empty())
        return false;
    std::error_code ec;
    fs::path target(destination);
    // Writing through a symbolic link replaces the file it names, as writing
    // the file in place would, and leaves the link itself alone.
    if (fs::is_symlink(fs::symlink_status(target, ec))) {
        fs::path resolved = fs::canonical(target, ec);
        if (ec)
            return false;
        target = resolved;
    }
    mode_t mode = 0666; // narrowed by the umask for a new file
    struct stat existing {};
    bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists) {
        if (!S_ISREG(existing.st_mode) || ::access(target.c_str(), W_OK) != 0)
            return false;
        mode = existing.st_mode & 07777;
    }
    fs::path dir = target.parent_path();
    if (dir.empty())
        dir = ".";
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path temp = dir / ("." + target.filename().string() + "." + std::to_string(::getpid()) + "-" +
                               std::to_string(g_sequence++) + ".tmp");
        int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return false;
        }
        if (exists)
            ::fchmod(fd, mode);
        file_ = ::fdopen(fd, "wb");
        if (!file_) {
            ::close(fd);
            ::unlink(temp.c_str());
            return false;
        }
        destination_ = target.string();
        temporary_ = temp.string();
        return true;
    }
    return false;
}

bool CAtomicFile::Commit()
{
    if (!file_)
        return false;
    bool ok = std::fflush(file_) == 0 && ::fsync(::fileno(file_)) == 0;
    ok = std::fclose(file_) == 0 && ok;
    file_ = nullptr;
    if (ok && std::rename(temporary_.c_str(), destination_.c_str()) == 0) {
        fs::path dir = fs::path(destination_).parent_path();
        SyncDirectory(dir.empty() ? fs::path(".") : dir);
        temporary_.clear();
        return true;
    }
    ::unlink(temporary_.c_str());
    temporary_.clear();
    return false;
}

void CAtomicFile::Discard()
{
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
}

} // namespace halcyra
