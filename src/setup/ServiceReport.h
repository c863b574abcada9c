#pragma once
// One zip file an installer can send to support: what the Information page
// shows, the fault report, blocks 5 (setup), 6 (advanced setup) and 8
// (dead-zone calibration report), the program's version, the port and its
// description, and the session's frame trace when one is being recorded.

#include "pages/BusyIndicator.h"

#include <string>
#include <vector>

namespace halcyra {

class CControllerLink;

inline constexpr const char* kServiceReportFilter = "Service Reports (*.ZIP)|*.zip|All Files (*.*)|*.*||";

struct ServiceReportInputs {
    std::string program;     // "halcyra 2.86"
    std::string portDescription; // empty: looked up among the serial ports
    std::string tracePath;   // the session's trace; empty when none is recorded
};

struct ServiceReportResult {
    bool written = false;             // the zip is at its path
    std::string error;                // why it is not
    std::vector<std::string> missing; // parts the controller did not give (the report says so too)
};

// The files the report holds, in order.
std::vector<std::string> ServiceReportEntries();

// Gathers everything and writes the zip atomically: until it is complete,
// a file already at path stays as it was. A controller that does not answer
// does not stop the report: what could not be read is listed in it (one
// failure is not a box per request). progress hears (part, parts).
ServiceReportResult WriteServiceReport(CControllerLink& link, const std::string& path,
                                       const ServiceReportInputs& inputs, const ProgressCallback& progress = {});

// "Service report written to PATH", with what is missing from it.
std::string ServiceReportMessage(const std::string& path, const ServiceReportResult& result);

} // namespace halcyra
