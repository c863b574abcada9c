#include "params/ParamFile.h"

#include "link/Files.h"
#include "link/Format.h"

namespace halcyra {

std::string ReadParamLine(std::string_view text, std::size_t& pos)
{
    std::string line;
    bool endedByBreak = false;
    while (line.size() < kMaxLineChars && pos < text.size()) {
        const char c = text[pos++];
        line.push_back(c);
        if (c == '\r' || c == '\n') {
            endedByBreak = true;
            if (pos < text.size() && (text[pos] == '\r' || text[pos] == '\n'))
                ++pos;
            break;
        }
    }
    // Drop the line break, or the character that overflowed a full line. A
    // last line without a break keeps all its characters: "DblRate: 10"
    // must not read as 1.
    if (endedByBreak || line.size() >= kMaxLineChars)
        line.pop_back();
    return line;
}

std::string_view WithoutByteOrderMark(std::string_view text)
{
    constexpr std::string_view kMark = "\xEF\xBB\xBF";
    return text.starts_with(kMark) ? text.substr(kMark.size()) : text;
}

std::string ControlCharacterName(unsigned char c)
{
    switch (c) {
    case 0x00: return "NUL";
    case 0x09: return "TAB";
    case 0x0A: return "LF";
    case 0x0D: return "CR";
    case 0x1B: return "ESC";
    case 0x7F: return "DEL";
    default: return Format("0x%02X", static_cast<unsigned>(c));
    }
}

std::optional<std::string> ParamTextProblem(std::string_view text)
{
    if (text.size() > kMaxParamFileBytes)
        return std::string("it is larger than 1 MiB");
    std::size_t line = 1;
    std::size_t column = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\r' || c == '\n') {
            // CR LF is one break; any other CR or LF is one of its own.
            if (!(c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
                ++line;
                column = 0;
            }
            continue;
        }
        ++column;
        if ((c < 0x20 && c != '\t') || c == 0x7F)
            return Format("line %zu holds a control character (%s at character %zu)", line,
                          ControlCharacterName(c).c_str(), column);
        if (column > kMaxRecordChars) {
            std::size_t end = i;
            while (end < text.size() && text[end] != '\r' && text[end] != '\n')
                ++end;
            return Format("line %zu holds %zu characters, more than the %zu of a record", line, end - i + column - 1,
                          kMaxRecordChars);
        }
    }
    return std::nullopt;
}

std::string ParamTextFile::Note() const
{
    if (result != ParamFileRead::NotParamText)
        return {};
    return "\r\n\r\nThe file is not a parameter text file: " + problem + ".";
}

ParamTextFile ReadParamTextFile(const std::string& path)
{
    ParamTextFile file;
    std::string bytes;
    switch (ReadWholeFile(path, bytes, &file.problem, kMaxParamFileBytes)) {
    case FileRead::CannotOpen:
        file.result = ParamFileRead::CannotOpen;
        return file;
    case FileRead::TooLarge:
        file.result = ParamFileRead::NotParamText;
        file.problem = "it is larger than 1 MiB";
        return file;
    case FileRead::Read:
        break;
    }
    const std::string_view text = WithoutByteOrderMark(bytes);
    if (std::optional<std::string> problem = ParamTextProblem(text)) {
        file.result = ParamFileRead::NotParamText;
        file.problem = std::move(*problem);
        return file;
    }
    file.result = ParamFileRead::Read;
    file.problem.clear();
    file.text = std::string(text);
    return file;
}

} // namespace halcyra
