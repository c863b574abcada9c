// faults: list, show, clear and report the controller's faults.

#include "cli/Commands.h"

#include <ostream>

namespace halcyra::cli {

int CmdFaults(CommandContext& c)
{
    c.err << "halcyra: faults is not available yet\n";
    return kExitFailed;
}

} // namespace halcyra::cli
