#pragma once
// The installation report: a printable record of a finished installation.
// Who installed the system for whom and when; the controller; the vehicle;
// every configuration page of the vehicle as the page shows it; what the
// calibration pages keep; the recorded faults; lines to sign. This is its
// content, read from the controller through the pages' own field
// descriptions and models; the desktop program and the command line draw it
// as a PDF (InstallationReportPdf.h).

#include "pages/BusyIndicator.h"

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace halcyra {

class CControllerLink;

// What a value the controller did not give shows instead.
inline constexpr const char* kNotReadText = "not read";
inline constexpr const char* kInstallationReportFilter = "Installation Reports (*.PDF)|*.pdf|All Files (*.*)|*.*||";
inline constexpr const char* kInstallationReportExtension = "pdf";
inline constexpr const char* kInstallationReportTitle = "Installation Report";
inline constexpr std::size_t kMaxReportNameLength = 100;

struct ReportRow {
    std::string label; // as the page labels the value, without the colon
    std::string value; // kNotReadText when the controller did not give it
    std::string unit;  // the display unit or the field's own; empty when none
    bool read = true;
    bool note = false; // a text the page shows across its width, not a value
};

struct ReportSection {
    std::string title;
    std::vector<ReportRow> rows;
    int picture = -1; // the mounting's orientation picture, or -1
};

struct ReportFault {
    std::uint32_t number = 0;
    std::string description;
    std::uint16_t count = 0;
    bool read = true; // the details could be fetched
};

struct ReportPeople {
    std::string installer;
    std::string customer;
};

struct InstallationReport {
    std::string date; // local time of the reading, "2024-05-07 14:03"
    ReportPeople people;
    ReportSection controller;
    ReportSection vehicle;
    std::vector<ReportSection> configuration; // in the configuration sheet's order
    std::vector<ReportSection> calibration;   // in the calibration sheet's order
    std::vector<ReportFault> faults;
    bool faultsRead = true;
    // The controller went silent part of the way; what followed was not asked.
    bool controllerStopped = false;

    // Values (and fault lists) the controller did not give.
    std::size_t NotReadCount() const;
};

// A name for the report's "Installer" or "Customer": nothing when it will
// do, else why not (control characters, more than 100 characters).
std::optional<std::string> CheckReportName(std::string_view name);

// Reads the whole report (no error box per failed request: what the
// controller did not give shows as "not read"). Two requests in a row that
// get nothing at all back mean the controller stopped answering: nothing
// more is asked, and the report says so. progress hears (part, parts).
InstallationReport GatherInstallationReport(CControllerLink& link, const ReportPeople& people, std::time_t now,
                                            const ProgressCallback& progress = {});

// "Installation report written to PATH", with what it lacks.
std::string InstallationReportMessage(const std::string& path, const InstallationReport& report);
// Said once when the controller stopped answering during the reading.
std::string ControllerStoppedText();

// The paper the report is printed on: Letter where that is the custom, A4
// everywhere else.
enum class ReportPaper { A4, Letter };
// For a locale name such as "en_US.UTF-8" or "es_MX": its territory decides.
ReportPaper PaperForLocale(std::string_view localeName);
// The locale whose paper this system uses (LC_ALL, LC_PAPER, LANG, the
// first set); empty when none is.
std::string PaperLocaleName();

// A plain text listing of the report, one line per value, as a check of
// what the PDF holds.
std::string InstallationReportText(const InstallationReport& report);

} // namespace halcyra
