#include "link/AtomicFile.h"

#include "link/Files.h"
#include "link/AtomicFileSystem.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <filesystem>

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

} // namespace

CAtomicFile::~CAtomicFile() { Discard(); }

bool CAtomicFile::Open(const std::string& destination)
{
    Discard();
    if (destination.empty())
        return false;
    std::error_code ec;
    fs::path target = PathFromUtf8(destination);
    // Writing through a symbolic link replaces the file it names, as writing
    // the file in place would, and leaves the link itself alone.
    if (fs::is_symlink(fs::symlink_status(target, ec))) {
        fs::path resolved = fs::canonical(target, ec);
        if (ec)
            return false;
        target = resolved;
    }
    bool exists = false;
    unsigned mode = 0;
    if (!atomic_file::Replaceable(target, exists, mode))
        return false;
    fs::path dir = target.parent_path();
    if (dir.empty())
        dir = ".";
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path temp = dir / PathFromUtf8("." + Utf8FromPath(target.filename()) + "." +
                                           std::to_string(atomic_file::ProcessId()) + "-" +
                                           std::to_string(g_sequence++) + ".tmp");
        bool nameTaken = false;
        file_ = atomic_file::CreateNew(temp, mode, exists, nameTaken);
        if (!file_) {
            if (nameTaken)
                continue;
            return false;
        }
        destination_ = Utf8FromPath(target);
        temporary_ = Utf8FromPath(temp);
        slot_ = ListTemporary(temporary_);
        return true;
    }
    return false;
}

bool CAtomicFile::Finish()
{
    if (finished_)
        return true;
    if (!file_)
        return false;
    const bool written = atomic_file::SyncAndClose(file_);
    file_ = nullptr;
    if (!written) {
        Discard();
        return false;
    }
    finished_ = true;
    return true;
}

bool CAtomicFile::Sync()
{
    if (file_ && atomic_file::Sync(file_))
        return true;
    Discard();
    return false;
}

bool CAtomicFile::Commit() { return CommitAs(destination_); }

bool CAtomicFile::CommitAs(const std::string& destination)
{
    if (TryCommitAs(destination))
        return true;
    Discard();
    return false;
}

bool CAtomicFile::TryCommitAs(const std::string& destination)
{
    if (!Finish())
        return false;
    // Unlisted only after the replacement: an interruption in between finds
    // no file to remove.
    if (!atomic_file::Replace(temporary_, destination))
        return false;
    finished_ = false;
    UnlistTemporary(slot_);
    temporary_.clear();
    return true;
}

void CAtomicFile::Discard()
{
    finished_ = false;
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!temporary_.empty()) {
        atomic_file::Remove(temporary_.c_str());
        UnlistTemporary(slot_);
        temporary_.clear();
    }
}

void RemoveAtomicTemporaries() noexcept
{
    for (TemporarySlot& slot : g_temporaries)
        if (slot.state.load(std::memory_order_acquire) == 2)
            atomic_file::Remove(slot.path);
}

} // namespace halcyra
