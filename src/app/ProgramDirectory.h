#pragma once
// What the data path's choice asks of the system about a directory.

#include <string>

namespace halcyra {

// This user may create files in dir (empty: the current directory).
bool WritableDirectory(const std::string& dir);
// Where the system's package manager or installer puts programs: never a
// place for the user's files, even for a user who could write there.
bool SystemProgramDirectory(const std::string& dir);

} // namespace halcyra
