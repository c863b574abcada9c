#include "app/ProgramDirectory.h"

#include <unistd.h>

namespace halcyra {

bool WritableDirectory(const std::string& dir) { return ::access(dir.empty() ? "." : dir.c_str(), W_OK | X_OK) == 0; }

bool SystemProgramDirectory(const std::string& dir)
{
    for (const char* root : {"/usr/", "/bin/", "/sbin/", "/lib/", "/opt/"})
        if (dir.rfind(root, 0) == 0)
            return true;
    return false;
}

} // namespace halcyra
