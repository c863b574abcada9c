#include "params/ParamFile.h"

namespace halcyra {

std::string ReadParamLine(std::FILE* file)
{
    std::string line;
    while (line.size() < kMaxLineChars) {
        int c = std::fgetc(file);
        if (c == EOF)
            break;
        line.push_back(static_cast<char>(c));
        if (c == '\r' || c == '\n') {
            int next = std::fgetc(file);
            if (next != EOF && next != '\r' && next != '\n')
                std::fseek(file, -1, SEEK_CUR);
            break;
        }
    }
    if (!line.empty())
        line.pop_back();
    return line;
}

} // namespace halcyra
