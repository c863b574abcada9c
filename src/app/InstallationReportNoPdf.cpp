// The installation report's drawing in a build without Qt.

#include "app/InstallationReportPdf.h"

namespace halcyra {

bool DrawInstallationReport(const InstallationReport&, ReportPaper, std::string&, std::string& error)
{
    error = "this build has no PDF drawing (it was built without Qt)";
    return false;
}

ReportPaper LocalePaper() { return PaperForLocale(PaperLocaleName()); }

} // namespace halcyra
