#include "params/ParamFile.h"

namespace halcyra {

std::string ReadParamLine(std::FILE* file)
{
    std::string line;
    bool endedByBreak = false;
    while (line.size() < kMaxLineChars) {
        int c = std::fgetc(file);
        if (c == EOF)
            break;
        line.push_back(static_cast<char>(c));
        if (c == '\r' || c == '\n') {
            endedByBreak = true;
            int next = std::fgetc(file);
            if (next != EOF && next != '\r' && next != '\n')
                std::fseek(file, -1, SEEK_CUR);
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

ParamFileCheck CheckParamTextFile(std::FILE* file)
{
    if (!file || std::fseek(file, 0, SEEK_END) != 0)
        return ParamFileCheck::Unreadable;
    const long size = std::ftell(file);
    std::rewind(file);
    if (size < 0)
        return ParamFileCheck::Unreadable;
    if (size > kMaxParamFileBytes)
        return ParamFileCheck::TooLarge;
    ParamFileCheck verdict = ParamFileCheck::Ok;
    unsigned char buffer[4096];
    std::size_t n = 0;
    while (verdict == ParamFileCheck::Ok && (n = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        for (std::size_t i = 0; i < n; ++i) {
            const unsigned char c = buffer[i];
            if ((c < 0x20 && c != '\t' && c != '\r' && c != '\n') || c == 0x7F) {
                verdict = ParamFileCheck::NotText;
                break;
            }
        }
    }
    if (verdict == ParamFileCheck::Ok && std::ferror(file))
        verdict = ParamFileCheck::Unreadable;
    std::rewind(file);
    return verdict;
}

} // namespace halcyra
