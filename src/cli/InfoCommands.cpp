// check and info: the connection check and the controller's identity.

#include "app/ConnectionCheck.h"
#include "cli/Commands.h"
#include "params/ParamSet.h"
#include "setup/InformationModel.h"

#include <ostream>

namespace halcyra::cli {

std::string CheckFailureText(const CommandContext& c)
{
    const std::string& last = c.notifier.LastText();
    return last.empty() ? "the controller on " + c.link.CurrentPort() + " did not pass the connection check" : last;
}

int CmdCheck(CommandContext& c)
{
    if (c.json)
        (*c.json)["port"] = c.link.CurrentPort();
    if (!CheckHalcyraComms(c.link, true))
        return Failed(c, CheckFailureText(c));
    if (c.json)
        (*c.json)["compatible"] = true;
    else
        c.out << "Controller on " << c.link.CurrentPort() << " answers; firmware and compatibility OK\n";
    return kExitOk;
}

int CmdInfo(CommandContext& c)
{
    // As the desktop app does before the Information page: a silent or
    // incompatible controller ends here, after the check has said why.
    if (c.json)
        (*c.json)["port"] = c.link.CurrentPort();
    if (!CheckHalcyraComms(c.link, true))
        return Failed(c, CheckFailureText(c));
    CParamSet set;
    CInformationModel info(set);
    // As the page does: its parameters first, then the fixed messages.
    set.GetAll(c.link);
    info.Refresh(c.link);
    // Only what the controller said: a text that was not read is no value.
    Json fields = Json::array();
    for (const auto& line : info.Lines()) {
        if (!c.json) {
            c.out << line.label << " " << (line.read ? *line.text : std::string("?")) << "\n";
            continue;
        }
        std::string name = line.label;
        if (!name.empty() && name.back() == ':')
            name.pop_back();
        fields.push_back(line.read ? NamedValue(name, *line.text)
                                   : NamedFailure(name, "could not be read from the controller"));
    }
    if (c.json)
        (*c.json)["fields"] = std::move(fields);
    if (!info.AllRead())
        return Failed(c, "not everything could be read from the controller");
    return kExitOk;
}

} // namespace halcyra::cli
