#include "config/ConfigurationPages.h"

namespace halcyra {

std::vector<std::string> ConfigurationPageTitles(CControllerLink&) { return {}; }

} // namespace halcyra
