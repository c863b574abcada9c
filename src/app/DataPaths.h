#pragma once
// Where the data directories go: the stored data path, the program's own
// directory, or the user's application data directory.

#include "pages/DataDirectories.h"

#include <optional>
#include <string>

namespace halcyra {

class INotifier;

// Chooses the data path: the stored setting when there is one that fits;
// otherwise programDir (the executable's own directory, with a trailing
// separator) when it is writable and not where installed programs live
// (/usr, /opt...), else appDataDir (with a
// trailing separator added). A stored path too long for the table is
// refused with a box saying so.
std::string ChooseDataPath(const std::optional<std::string>& stored, const std::string& programDir,
                           const std::string& appDataDir, INotifier& notifier);

} // namespace halcyra
