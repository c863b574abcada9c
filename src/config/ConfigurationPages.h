#pragma once
// The configuration sheet's pages: which of them suit the connected controller,
// and the code with which the contents page asks for the setup sheet to be
// rebuilt. The pages themselves arrive with the configuration sheet; until then
// the list is empty.

#include <string>
#include <vector>

namespace halcyra {

class CControllerLink;

// Ends the setup sheet so that it reopens at the configuration tab.
inline constexpr int kConfigContentsResult = 152;

// The titles of the pages the configuration sheet holds for this controller, in order.
std::vector<std::string> ConfigurationPageTitles(CControllerLink& link);

} // namespace halcyra
