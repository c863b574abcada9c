#include "cli/ProgramArguments.h"

namespace halcyra::cli {

std::vector<std::string> ProgramArguments(int argc, char** argv)
{
    return std::vector<std::string>(argv + 1, argv + argc);
}

} // namespace halcyra::cli
