#pragma once
// The halcyra command line, callable in-process for tests.

#include <iosfwd>
#include <string>
#include <vector>

namespace halcyra::cli {

// Runs one command line (without the program name); returns the exit status.
int RunHalcyra(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, std::istream& in);

} // namespace halcyra::cli
