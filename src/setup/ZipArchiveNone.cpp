// Builds without the zip library (the Windows cross build) cannot make archives.

#include "setup/ZipArchive.h"

namespace halcyra {

bool ZipArchive(const std::deque<ArchiveEntry>&, std::string&, std::string& error)
{
    error = "this build of the program cannot write zip files";
    return false;
}

} // namespace halcyra
