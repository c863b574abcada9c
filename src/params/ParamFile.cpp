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

} // namespace halcyra
