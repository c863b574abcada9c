#include "app/DataPaths.h"

#include "link/Format.h"
#include "link/Notifier.h"

#include <unistd.h>

namespace halcyra {

namespace {

bool WritableDirectory(const std::string& dir) { return ::access(dir.empty() ? "." : dir.c_str(), W_OK | X_OK) == 0; }

// Where the system's package manager puts programs: never a place for the
// user's files, even for a user who could write there.
bool SystemProgramDirectory(const std::string& dir)
{
    for (const char* root : {"/usr/", "/bin/", "/sbin/", "/lib/", "/opt/"})
        if (dir.rfind(root, 0) == 0)
            return true;
    return false;
}

} // namespace

std::string ChooseDataPath(const std::optional<std::string>& stored, const std::string& programDir,
                           const std::string& appDataDir, INotifier& notifier)
{
    if (stored) {
        if (CDataDirectories::Fits(*stored))
            return *stored;
        notifier.Notify("Error: The data path \"" + *stored + "\" is too long (" + std::to_string(stored->size()) +
                            " characters). The program's own data directory is used instead.",
                        "Error", MsgButtons::Ok, MsgIcon::Stop);
    }
    if (!programDir.empty() && !SystemProgramDirectory(programDir) && WritableDirectory(programDir) &&
        CDataDirectories::Fits(programDir))
        return programDir;
    std::string fallback = appDataDir;
    if (!fallback.empty() && fallback.back() != '/')
        fallback += '/';
    return fallback;
}

} // namespace halcyra
