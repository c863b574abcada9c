#pragma once
// Parameter text files: one "name: value" record per line, every line ended
// by CR, LF or both. Setup files, vehicle profiles and logging configurations.

#include <cstdio>
#include <string>

namespace halcyra {

inline constexpr std::size_t kMaxLineChars = 228;

// Reads one line the way the controller's files are read: a line break or the
// end of the file ends it; CR LF, LF CR, CR and LF each count as one break
// (so do CR CR and LF LF), and the break is dropped. A line longer than 227
// characters is cut there, its 228th character dropped, and its rest read as
// the next line.
std::string ReadParamLine(std::FILE* file);

// Parameter text files are small: a full setup is a few kilobytes.
inline constexpr long kMaxParamFileBytes = 1024 * 1024;

enum class ParamFileCheck { Ok, Unreadable, TooLarge, NotText };

// Whether an open file can be a parameter text file before its contents are
// sent anywhere: at most kMaxParamFileBytes, and no byte such a file never
// holds (NUL and the control characters other than tab, CR and LF). Leaves
// the file at its start.
ParamFileCheck CheckParamTextFile(std::FILE* file);

} // namespace halcyra
