#pragma once
// A zip archive built in memory, so that it can be written atomically.

#include <deque>
#include <string>

namespace halcyra {

struct ArchiveEntry {
    std::string name;
    std::string bytes;
};

// The entries as a zip archive in archive; false with the reason in error.
bool ZipArchive(const std::deque<ArchiveEntry>& entries, std::string& archive, std::string& error);

} // namespace halcyra
