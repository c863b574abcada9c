#include "app/DataPaths.h"

#include "link/Format.h"
#include "link/Notifier.h"

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace halcyra {

namespace {

std::string BaseName(const std::string& path)
{
    std::size_t slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0)
        name.resize(dot);
    return name;
}

bool WritableDirectory(const std::string& dir) { return ::access(dir.empty() ? "." : dir.c_str(), W_OK | X_OK) == 0; }

} // namespace

std::string ProgramDirectory(const std::string& argv0)
{
    const std::string base = BaseName(argv0);
    if (base.empty())
        return {};
    std::size_t at = argv0.find(base);
    return at == std::string::npos ? std::string() : argv0.substr(0, at);
}

std::string ChooseDataPath(const std::optional<std::string>& stored, const std::string& argv0,
                           const std::string& appDataDir, INotifier& notifier)
{
    if (stored) {
        if (CDataDirectories::Fits(*stored))
            return *stored;
        notifier.Notify("Error: The data path \"" + *stored + "\" is too long (" + std::to_string(stored->size()) +
                            " characters). The program's own data directory is used instead.",
                        "Error", MsgButtons::Ok, MsgIcon::Stop);
    }
    std::string dir = ProgramDirectory(argv0);
    if (WritableDirectory(dir) && CDataDirectories::Fits(dir))
        return dir;
    std::string fallback = appDataDir;
    if (!fallback.empty() && fallback.back() != '/')
        fallback += '/';
    return fallback;
}

} // namespace halcyra
