#pragma once
// Where the data directories go: the stored data path, the program's own
// directory, or the user's application data directory.

#include "pages/DataDirectories.h"

#include <optional>
#include <string>

namespace halcyra {

class INotifier;

// The program's directory as its command line names it: argument 0 cut just
// before the first occurrence of the program's base name. Empty when the
// base name does not occur.
std::string ProgramDirectory(const std::string& argv0);

// Chooses the data path: the stored setting when there is one that fits;
// otherwise the program's directory when writable, else appDataDir (with a
// trailing separator added). A stored path too long for the table is
// refused with a box saying so.
std::string ChooseDataPath(const std::optional<std::string>& stored, const std::string& argv0,
                           const std::string& appDataDir, INotifier& notifier);

} // namespace halcyra
