#pragma once
// Parameter text files: one "name: value" record per line, every line ended
// by CR, LF or both. Setup files, vehicle profiles and logging configurations.
// They are read whole into memory and checked before anything of them is
// used or sent.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace halcyra {

inline constexpr std::size_t kMaxLineChars = 228;
// The longest record: what the text of a parameter message holds.
inline constexpr std::size_t kMaxRecordChars = kMaxLineChars - 1;

// Reads the line at pos the way the controller's files are read, and moves
// pos past it: a line break or the end of the text ends it; CR LF, LF CR,
// CR and LF each count as one break (so do CR CR and LF LF), and the break
// is dropped. A line longer than 227 characters is cut there, its 228th
// character dropped, and its rest read as the next line.
std::string ReadParamLine(std::string_view text, std::size_t& pos);

// The text after the UTF-8 byte-order mark some editors put at the start
// of a file; the mark belongs to no record.
std::string_view WithoutByteOrderMark(std::string_view text);

// Parameter text files are small: a full setup is a few kilobytes.
inline constexpr std::size_t kMaxParamFileBytes = 1024 * 1024;

// "ESC", "NUL", "0x01": a control character as messages name it.
std::string ControlCharacterName(unsigned char c);

// Why text cannot be a parameter text file, naming the line at fault, or
// nothing when it can be one: such a file holds no NUL and no control
// character but tab, CR and LF, and no line longer than a record.
std::optional<std::string> ParamTextProblem(std::string_view text);

enum class ParamFileRead { Read, CannotOpen, NotParamText };

struct ParamTextFile {
    ParamFileRead result = ParamFileRead::CannotOpen;
    std::string text;    // the file's bytes after any byte-order mark
    std::string problem; // why it could not be opened, or is no parameter text file
    // For a message: "The file is not a parameter text file: " and the
    // problem, on a paragraph of its own; empty unless that is the trouble.
    std::string Note() const;
};

// Reads a whole parameter text file (a regular file of at most
// kMaxParamFileBytes) and checks it.
ParamTextFile ReadParamTextFile(const std::string& path);

} // namespace halcyra
