#pragma once
// The configuration sheet's pages: which of them suit the connected vehicle,
// and the code with which the contents page asks for the setup sheet to be
// rebuilt.

#include <cstdint>
#include <string>
#include <vector>

namespace halcyra {

class CControllerLink;

// Ends the setup sheet so that it reopens at the configuration tab.
inline constexpr int kConfigContentsResult = 152;

// The correction type ("gct") of RTK, whose radio has a page of its own.
inline constexpr std::uint32_t kRtkCorrection = 8;

enum class ConfigPage { VehicleModel, Display, GPS, Lightbar, Operation, DoroZiriv, Sensors, LowSpeed, Radio };

// The page's name, as the contents list shows it.
const char* ConfigPageTitle(ConfigPage page);
// The bold line at the top of the page; it also names the page's first
// group of choices, which has no label of its own.
const char* ConfigPageHeading(ConfigPage page);

// The pages for a vehicle type ("vtt"; 0 when it could not be read) and
// whether the correction type is RTK, in the sheet's order: the vehicle
// model always, the setup pages for types 1 to 8 (DoroZiriv for 1, 4, 5 and
// 6 only), the radio last.
std::vector<ConfigPage> SelectConfigurationPages(std::uint32_t vehicleType, bool rtkCorrection);

// Reads the vehicle model and "gct" and selects the pages.
std::vector<ConfigPage> ReadConfigurationPages(CControllerLink& link);

// The titles of the pages the configuration sheet holds for this controller, in order.
std::vector<std::string> ConfigurationPageTitles(CControllerLink& link);

} // namespace halcyra
