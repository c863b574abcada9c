#pragma once
// Replaces a file only once its new contents are complete: the data goes to a
// temporary file beside the destination, is flushed to disk and then renamed
// over it. Until Commit succeeds, any previous file stays as it was.

#include <cstdio>
#include <string>

namespace halcyra {

class CAtomicFile {
public:
    CAtomicFile() = default;
    ~CAtomicFile(); // discards an uncommitted file
    CAtomicFile(const CAtomicFile&) = delete;
    CAtomicFile& operator=(const CAtomicFile&) = delete;

    // Creates the temporary file. Fails, creating nothing, when the
    // destination exists but is not a writable regular file, or when its
    // directory does not take new files.
    bool Open(const std::string& destination);
    std::FILE* File() const { return file_; }
    // Writes what the temporary holds so far through to the disk, for a
    // file that is written over a long time. On failure it is removed.
    bool Sync();
    // Flushes, syncs and closes the temporary without putting it in place:
    // files that belong together are all finished before any replaces its
    // destination. On failure the temporary is removed.
    bool Finish();
    // Finishes (when not yet done) and renames over the destination. On
    // failure the temporary is removed and the destination is untouched.
    bool Commit();
    // The same, in place of another file in the destination's directory.
    bool CommitAs(const std::string& destination);
    // As CommitAs, but a temporary that could not be renamed stays, finished,
    // so that another destination may be tried (Discard removes it).
    bool TryCommitAs(const std::string& destination);
    // Closes and removes the temporary file.
    void Discard();

    const std::string& Destination() const { return destination_; }
    const std::string& TemporaryPath() const { return temporary_; }

private:
    std::FILE* file_ = nullptr;
    bool finished_ = false;
    int slot_ = -1; // where the temporary is listed for RemoveAtomicTemporaries
    std::string destination_;
    std::string temporary_;
};

// Removes the temporary file of every CAtomicFile not yet committed or
// discarded. Async-signal-safe: meant for a SIGINT or SIGTERM handler (or a
// Windows console event), so an interrupted save leaves nothing beside its
// destination.
void RemoveAtomicTemporaries() noexcept;

} // namespace halcyra
