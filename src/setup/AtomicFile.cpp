#include "setup/AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace halcyra {

namespace fs = std::filesystem;

namespace {

std::atomic<unsigned> g_sequence{0};

// Temporaries that a signal handler may have to remove. A slot is free (0),
// being filled or emptied (1), or lists a path (2); the handler only reads
// slots in state 2, whose path is complete and stays put until the file is
// committed or discarded.
struct TemporarySlot {
    std::atomic<int> state{0};
    char path[4096];
};
static_assert(std::atomic<int>::is_always_lock_free);
constexpr int kSlots = 8;
TemporarySlot g_temporaries[kSlots];

int ListTemporary(const std::string& path)
{
    if (path.size() >= sizeof g_temporaries[0].path)
        return -1;
    for (int i = 0; i < kSlots; ++i) {
        int expected = 0;
        if (!g_temporaries[i].state.compare_exchange_strong(expected, 1))
            continue;
        std::memcpy(g_temporaries[i].path, path.c_str(), path.size() + 1);
        g_temporaries[i].state.store(2, std::memory_order_release);
        return i;
    }
    return -1; // more files open at once than slots: only the destructor removes this one
}

void UnlistTemporary(int& slot)
{
    if (slot < 0)
        return;
    g_temporaries[slot].state.store(1);
    g_temporaries[slot].state.store(0, std::memory_order_release);
    slot = -1;
}

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
        slot_ = ListTemporary(temporary_);
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
    // Unlisted only after the rename: a signal in between finds no file to remove.
    if (ok && std::rename(temporary_.c_str(), destination_.c_str()) == 0) {
        UnlistTemporary(slot_);
        fs::path dir = fs::path(destination_).parent_path();
        SyncDirectory(dir.empty() ? fs::path(".") : dir);
        temporary_.clear();
        return true;
    }
    ::unlink(temporary_.c_str());
    UnlistTemporary(slot_);
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
        UnlistTemporary(slot_);
        temporary_.clear();
    }
}

void RemoveAtomicTemporaries() noexcept
{
    for (TemporarySlot& slot : g_temporaries)
        if (slot.state.load(std::memory_order_acquire) == 2)
            ::unlink(slot.path);
}

} // namespace halcyra
