#pragma once
// The Data logging command: a logging configuration file (".DLC") is read
// for its location and rate, uploaded into the controller's block 5, and
// the window that collects the log follows: external when the controller
// streams the log to the PC, internal when it keeps the log itself.

#include "logging/ExternalLog.h"
#include "params/ParamFile.h"
#include "setup/BlockTransfer.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace halcyra {

class CPageContext;
class INotifier;

inline constexpr const char* kLoggingConfigFilter =
    "Data Logging Configuration Files (*.DLC)|*.dlc|All Files (*.*)|*.*||";
inline constexpr const char* kLoggingConfigExtension = "dlc";
inline constexpr const char* kLogConfigError = "Log Configuration Error";
inline constexpr const char* kLogConfigOpenFailedText = "Error: Could not open specified file!";
inline constexpr const char* kLogConfigReadFailedText = "Error reading specified debug logging DLC file!";
inline constexpr const char* kLocationErrorCaption = "Location Error";
inline constexpr const char* kRateErrorCaption = "Rate Error";
inline constexpr const char* kLogUploadFailedText = "Error: File upload problem!";
inline constexpr const char* kLogOutputUnreadText =
    "Error: The logging output setting could not be read, so it could not be restored afterwards. Nothing was "
    "changed.";

// DblLocation: where the controller puts the log.
inline constexpr std::uint32_t kInternalLocation = 0;
inline constexpr std::uint32_t kExternalLocation = 1;

struct LoggingConfiguration {
    std::uint32_t location = 0; // DblLocation
    std::uint32_t rateIndex = 0; // DblRate
};

// Reads DblLocation and DblRate from a ".DLC" file read whole. A file that
// is no parameter text file, a missing record, or a location other than
// internal or external gives nothing after the command's box.
std::optional<LoggingConfiguration> ReadLoggingConfiguration(INotifier& notifier, const ParamTextFile& file);

// How the command goes on once the configuration is in the controller.
struct LoggingWindows {
    std::function<void()> internal;
    std::function<void(const ExternalLogPlan&)> external;
};

// The command after its port test and connection check: asks for the
// ".DLC" file (a cancelled choice opens the internal window), checks it,
// uploads it and opens the window it asks for.
void ConfigureDataLogging(CPageContext& context, const LoggingWindows& windows,
                          const BlockProgress& uploadProgress = {});

} // namespace halcyra
