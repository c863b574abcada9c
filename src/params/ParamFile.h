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

} // namespace halcyra
