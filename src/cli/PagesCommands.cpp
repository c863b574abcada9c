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
    auto sheet = c.args.size() == 1 ? sheets.find(c.args[0]) : sheets.end();
    if (sheet == sheets.end()) {
        c.err << "usage: halcyra pages config|calibration|diagnostics\n";
        return kExitUsage;
    }
    const std::vector<std::string> titles = sheet->second(c.link);
    if (c.json)
        (*c.json)["pages"] = titles;
    else
        for (const std::string& title : titles)
            c.out << title << "\n";
    return kExitOk;
}

} // namespace halcyra::cli
