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
    // As the desktop app does before the Information page: a silent or
    // incompatible controller ends here, after the check has said why.
    if (!CheckHalcyraComms(c.link, true))
        return kExitFailed;
    CParamSet set;
    CInformationModel info(set);
    // As the page does: its parameters first, then the fixed messages.
    set.GetAll(c.link);
    info.Refresh(c.link);
    // Only what the controller said: a text that was not read is no value.
    for (const auto& line : info.Lines())
        c.out << line.label << " " << (line.read ? *line.text : std::string("?")) << "\n";
    if (!info.AllRead()) {
        c.err << "halcyra: not everything could be read from the controller\n";
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace halcyra::cli
