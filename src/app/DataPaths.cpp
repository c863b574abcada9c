#include "app/DataPaths.h"

#include "app/ProgramDirectory.h"
#include "link/Format.h"
#include "link/Notifier.h"

#include <filesystem>

namespace halcyra {

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
    if (!fallback.empty() && fallback.back() != '/' && fallback.back() != std::filesystem::path::preferred_separator)
        fallback += static_cast<char>(std::filesystem::path::preferred_separator);
    return fallback;
}

} // namespace halcyra
