#pragma once
// The diagnostics sheet's pages: which of them suit the connected controller,
// and the code with which the contents page asks for the setup sheet to be
// rebuilt. The pages themselves arrive with the diagnostics sheet; until then
// the list is empty.

#include <string>
#include <vector>

namespace halcyra {

class CControllerLink;

// Ends the setup sheet so that it reopens at the diagnostics tab.
inline constexpr int kDiagContentsResult = 345;

// The titles of the pages the diagnostics sheet holds for this controller, in order.
std::vector<std::string> DiagnosticsPageTitles(CControllerLink& link);

} // namespace halcyra
