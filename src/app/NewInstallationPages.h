#pragma once
// The new installation wizard's page lists: the configuration and
// calibration sheets' own page selections, trimmed to what a first
// installation walks through.

#include "calibration/CalibrationPages.h"
#include "config/ConfigurationPages.h"

#include <vector>

namespace halcyra {

class CControllerLink;

// The configuration sheet's pages without the vehicle model page, which the
// wizard shows as a step of its own.
std::vector<int> NewInstallationConfigurationList(const std::vector<ConfigPage>& sheetPages);
// The calibration sheet's pages without the aggressiveness page and the
// implement steering sensor page.
std::vector<int> NewInstallationCalibrationList(const std::vector<CalPage>& sheetPages);

ConfigPage ConfigPageOf(int id);
CalPage CalPageOf(int id);

// The lists as the controller's setup makes them now.
std::vector<int> ReadNewInstallationConfigurationList(CControllerLink& link);
std::vector<int> ReadNewInstallationCalibrationList(CControllerLink& link);

} // namespace halcyra
