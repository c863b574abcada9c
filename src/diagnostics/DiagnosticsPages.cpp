#include "diagnostics/DiagnosticsPages.h"

namespace halcyra {

std::vector<std::string> DiagnosticsPageTitles(CControllerLink&) { return {}; }

} // namespace halcyra
