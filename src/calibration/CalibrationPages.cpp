#include "calibration/CalibrationPages.h"

namespace halcyra {

std::vector<std::string> CalibrationPageTitles(CControllerLink&) { return {}; }

} // namespace halcyra
