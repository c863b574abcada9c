#pragma once
// Draws the installation report as a PDF. Declared without Qt so that the
// command line can call it too; the drawing itself is Qt's (ui/): the
// desktop program draws with its own application object, a program without
// one gets an offscreen one for the drawing. A build without Qt has no
// drawing, and says so.

#include "app/InstallationReport.h"

#include <string>

namespace halcyra {

// The report on one to three pages of the paper (more only when a long
// fault list cannot fit in the smallest print). False, with why, when
// nothing could be drawn.
bool DrawInstallationReport(const InstallationReport& report, ReportPaper paper, std::string& pdf,
                            std::string& error);

// The paper this system's locale asks for.
ReportPaper LocalePaper();

} // namespace halcyra
