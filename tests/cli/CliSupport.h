#pragma once
// Runs the halcyra command line in-process and keeps what it printed.

#include "cli/Cli.h"

#include <sstream>
#include <string>
#include <vector>

namespace halcyra::test {

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

inline CliRun Halcyra(const std::vector<std::string>& args, const std::string& input = {})
{
    std::ostringstream out, err;
    std::istringstream in(input);
    CliRun r;
    r.status = cli::RunHalcyra(args, out, err, in);
    r.out = out.str();
    r.err = err.str();
    return r;
}

} // namespace halcyra::test
