#include "link/Files.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <sys/types.h>

namespace halcyra {

namespace {

constexpr const char* kNotRegular = "it is not a regular file";

bool IsRegular(unsigned short mode) { return (mode & _S_IFMT) == _S_IFREG; }

} // namespace

std::FILE* OpenFile(const std::string& path, const char* mode, std::string* why)
{
    const std::wstring wideMode(mode, mode + std::strlen(mode));
    const std::filesystem::path wide = PathFromUtf8(path);
    std::FILE* file = _wfopen(wide.c_str(), wideMode.c_str());
    const bool reading = mode[0] == 'r';
    if (!file) {
        const int error = errno;
        // A directory is refused with "Permission denied": say what it is.
        struct _stat64 st {};
        const bool notRegular = reading && _wstat64(wide.c_str(), &st) == 0 && !IsRegular(st.st_mode);
        if (why)
            *why = notRegular ? kNotRegular : std::strerror(error);
        return nullptr;
    }
    struct _stat64 st {};
    if (reading && (_fstat64(_fileno(file), &st) != 0 || !IsRegular(st.st_mode))) {
        std::fclose(file);
        if (why)
            *why = kNotRegular;
        return nullptr;
    }
    return file;
}

std::optional<std::string> EnvironmentVariable(const char* name)
{
    const std::wstring wideName(name, name + std::strlen(name));
    const wchar_t* value = _wgetenv(wideName.c_str());
    if (!value || !*value)
        return std::nullopt;
    return Utf8FromPath(std::filesystem::path(value));
}

} // namespace halcyra
