#pragma once
// What CAtomicFile needs of the system, one file per system.

#include <cstdio>
#include <filesystem>
#include <string>

namespace halcyra::atomic_file {

// Whether target may be replaced: it is missing, or a regular file this
// user may write. Sets exists, and mode to the permissions it has.
bool Replaceable(const std::filesystem::path& target, bool& exists, unsigned& mode);
// Creates path, which must not exist yet, and opens it for writing; when
// keepMode is set it gets mode, else the permissions new files get. Null
// on failure, with nameTaken set when path existed.
std::FILE* CreateNew(const std::filesystem::path& path, unsigned mode, bool keepMode, bool& nameTaken);
// Writes the file's data through to the disk.
bool Sync(std::FILE* file);
// The same, and closes it.
bool SyncAndClose(std::FILE* file);
// Puts the file at from in place of to in one step, replacing any file
// there, and makes the change durable. Paths in UTF-8.
bool Replace(const std::string& from, const std::string& to);
// Removes the file at a UTF-8 path. Async-signal-safe (and safe from a
// console event thread).
void Remove(const char* path) noexcept;
unsigned long ProcessId();

} // namespace halcyra::atomic_file
