#pragma once
// The program's arguments in UTF-8, the form every path takes here.

#include <string>
#include <vector>

namespace halcyra::cli {

// The arguments after the program's name. On Windows they are taken from
// the wide command line: argv is in the local code page, which cannot name
// every file.
std::vector<std::string> ProgramArguments(int argc, char** argv);

} // namespace halcyra::cli
