// pages: which pages a sheet holds for the connected controller, from the
// same selection the desktop program uses.

#include "calibration/CalibrationPages.h"
#include "cli/Commands.h"
#include "config/ConfigurationPages.h"
#include "diagnostics/DiagnosticsPages.h"

#include <functional>
#include <map>
#include <ostream>

namespace halcyra::cli {

int CmdPages(CommandContext& c)
{
    static const std::map<std::string, std::function<std::vector<std::string>(CControllerLink&)>> sheets = {
        {"config", ConfigurationPageTitles},
        {"calibration", CalibrationPageTitles},
        {"diagnostics", DiagnosticsPageTitles},
    };
    // The row lets only these through.
    const std::vector<std::string> titles = sheets.at(c.args.operands[0])(c.link);
    if (c.json)
        (*c.json)["pages"] = titles;
    else
        for (const std::string& title : titles)
            c.out << title << "\n";
    return kExitOk;
}

} // namespace halcyra::cli
