#pragma once
// Files named by UTF-8 paths, the one form a path takes in this program.
// Windows reads a narrow path in the local code page, so a path reaches the
// system there in its wide form. Every file is opened through here.

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace halcyra {

// The path a UTF-8 text names (wide on Windows), and the other way.
std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string Utf8FromPath(const std::filesystem::path& path);

// std::fopen with a UTF-8 path. A file opened for reading ("r", "rb",
// "r+b"...) must be a regular file: a directory, a FIFO or a device is
// refused at once, without waiting for a writer that may never come. why,
// when given, says what kept the file from opening.
std::FILE* OpenFile(const std::string& path, const char* mode, std::string* why = nullptr);

enum class FileRead { Read, CannotOpen, TooLarge };

// The bytes of a whole regular file, when there are at most limit of them.
FileRead ReadWholeFile(const std::string& path, std::string& bytes, std::string* why = nullptr,
                       std::size_t limit = std::numeric_limits<std::size_t>::max());

// A name the user gave (a file's path) as a terminal or a box may show it:
// control characters, C1 ones included, and bytes that are no UTF-8 are
// written as \xHH, so a name cannot move the cursor, ring the bell or
// break a line.
std::string EscapedName(std::string_view name);

// An environment variable's value in UTF-8 (values name paths); nothing
// when it is unset or empty.
std::optional<std::string> EnvironmentVariable(const char* name);

} // namespace halcyra
