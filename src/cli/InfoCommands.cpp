// check and info: the connection check and the controller's identity.

#include "app/ConnectionCheck.h"
#include "cli/Commands.h"
#include "params/ParamSet.h"
#include "setup/InformationModel.h"

#include <ostream>

namespace halcyra::cli {

int CmdCheck(CommandContext& c)
{
    if (!c.args.empty()) {
        c.err << "usage: halcyra check\n";
        return kExitUsage;
    }
    if (!CheckHalcyraComms(c.link, true))
        return kExitFailed;
    c.out << "Controller on " << c.link.CurrentPort() << " answers; firmware and compatibility OK\n";
    return kExitOk;
}

int CmdInfo(CommandContext& c)
{
    if (!c.args.empty()) {
        c.err << "usage: halcyra info\n";
        return kExitUsage;
    }
    CParamSet set;
    CInformationModel info(set);
    // As the page does: its parameters first, then the fixed messages.
    const bool allParams = set.GetAll(c.link);
    info.Refresh(c.link);
    for (const auto& line : info.Lines())
        c.out << line.label << " " << *line.text << "\n";
    if (!allParams) {
        c.err << "halcyra: not all parameters could be retrieved from the controller\n";
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace halcyra::cli
