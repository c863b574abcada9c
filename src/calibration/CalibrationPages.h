#pragma once
// The calibration sheet's pages: which of them suit the connected controller,
// and the code with which the contents page asks for the setup sheet to be
// rebuilt. The pages themselves arrive with the calibration sheet; until then
// the list is empty.

#include <string>
#include <vector>

namespace halcyra {

class CControllerLink;

// Ends the setup sheet so that it reopens at the calibration tab.
inline constexpr int kCalContentsResult = 134;

// The titles of the pages the calibration sheet holds for this controller, in order.
std::vector<std::string> CalibrationPageTitles(CControllerLink& link);

} // namespace halcyra
