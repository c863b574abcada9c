#include "app/ProgramDirectory.h"

#include "link/Files.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <algorithm>
#include <cctype>

namespace halcyra {

namespace {

// Compared as Windows compares paths: either separator, any case.
std::string Comparable(std::string path)
{
    for (char& c : path)
        c = c == '/' ? '\\' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (path.empty() || path.back() != '\\')
        path += '\\';
    return path;
}

} // namespace

bool WritableDirectory(const std::string& dir)
{
    // Attributes and access lists do not tell (Program Files is writable to
    // an administrator only, and only when elevated): make a file and see.
    wchar_t probe[MAX_PATH];
    if (GetTempFileNameW(PathFromUtf8(dir.empty() ? "." : dir).c_str(), L"hal", 0, probe) == 0)
        return false;
    DeleteFileW(probe);
    return true;
}

bool SystemProgramDirectory(const std::string& dir)
{
    const std::string path = Comparable(dir);
    for (const char* variable : {"ProgramFiles", "ProgramFiles(x86)", "ProgramW6432", "SystemRoot"}) {
        const std::optional<std::string> root = EnvironmentVariable(variable);
        if (root && path.rfind(Comparable(*root), 0) == 0)
            return true;
    }
    return false;
}

} // namespace halcyra
