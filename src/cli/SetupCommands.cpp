// save-setup and restore-setup: the controller's setup to and from files.

#include "cli/Commands.h"

#include <ostream>

namespace halcyra::cli {

int CmdSaveSetup(CommandContext& c)
{
    c.err << "halcyra: save-setup is not available yet\n";
    return kExitFailed;
}

int CmdRestoreSetup(CommandContext& c)
{
    c.err << "halcyra: restore-setup is not available yet\n";
    return kExitFailed;
}

} // namespace halcyra::cli
