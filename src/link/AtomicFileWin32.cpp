#include "link/AtomicFileSystem.h"

#include "link/Files.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <fcntl.h>
#include <io.h>

namespace halcyra::atomic_file {

namespace fs = std::filesystem;

bool Replaceable(const fs::path& target, bool& exists, unsigned& mode)
{
    mode = 0;
    const DWORD attributes = GetFileAttributesW(target.c_str());
    exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (!exists)
        return true;
    if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_READONLY))
        return false;
    // Access lists decide whether this user may write it: ask for that.
    HANDLE handle = CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(handle);
    return true;
}

std::FILE* CreateNew(const fs::path& path, unsigned, bool, bool& nameTaken)
{
    nameTaken = false;
    // Shared for deletion, so an interruption can remove it while it is
    // still being written.
    HANDLE handle = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        nameTaken = GetLastError() == ERROR_FILE_EXISTS;
        return nullptr;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
    if (fd < 0) {
        CloseHandle(handle);
        DeleteFileW(path.c_str());
        return nullptr;
    }
    std::FILE* file = _fdopen(fd, "wb");
    if (!file) {
        _close(fd);
        DeleteFileW(path.c_str());
    }
    return file;
}

bool Sync(std::FILE* file)
{
    return std::fflush(file) == 0 && FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)))) != 0;
}

bool SyncAndClose(std::FILE* file)
{
    const bool synced = Sync(file);
    return std::fclose(file) == 0 && synced;
}

bool Replace(const std::string& from, const std::string& to)
{
    // One rename over the old file, on the disk before it returns.
    return MoveFileExW(PathFromUtf8(from).c_str(), PathFromUtf8(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void Remove(const char* path) noexcept
{
    // Converted on the stack: this may run on a console event's thread
    // while the program is being interrupted.
    wchar_t wide[4096];
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path, -1, wide, 4096) > 0)
        DeleteFileW(wide);
}

unsigned long ProcessId() { return GetCurrentProcessId(); }

} // namespace halcyra::atomic_file
