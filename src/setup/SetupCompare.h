#pragma once
// Compares a setup file with the controller it may have come from: the
// controller's setup block is read once and every setting of the file is
// looked up in it (a setting the block lacks is asked of the controller by
// name); the settings whose values differ, then those the controller does
// not know, are listed. Read-only readings are not settings and are left out.

#include "pages/BusyIndicator.h"

#include <string>
#include <string_view>
#include <vector>

namespace halcyra {

class CControllerLink;

struct SetupRecord {
    std::string name;
    std::string value; // as the file writes it
};

// Every "name: value" record of a setup file's text, in file order. Lines
// that are not records (empty ones among them) are passed over, so records
// after an empty line count too.
std::vector<SetupRecord> ReadSetupRecords(std::string_view text);

// Two values of one record are the same: numbers as numbers ("1.500000" and
// "1.5", "07" and "7"; single-precision values that print alike), anything
// else as text.
bool SetupValuesMatch(const std::string& a, const std::string& b);

// Whether the pages show the parameter as a length in the display units.
bool IsLengthParam(const std::string& name);

struct SetupComparisonRow {
    std::string name;
    std::string fileValue;       // lengths in the display units, unit name after the number
    std::string controllerValue; // empty when the controller does not know the record
    bool unknown = false;        // the controller does not know the record
};

struct SetupComparison {
    std::string path;
    std::size_t compared = 0;
    std::size_t readOnlyLeftOut = 0; // read-only readings of the file, not compared
    std::string unitName; // the display unit the lengths are shown in; empty when lengths stay in metres
    // The records that differ, in file order, then those the controller does not know.
    std::vector<SetupComparisonRow> rows;
    bool Matches() const { return rows.empty(); }
};

enum class CompareResult { Compared, FileError, NoAnswer };

// Reads the file and the controller's setup block, then asks the controller
// for each setting the block lacks. Without an answer from the controller
// the comparison stops there (one message, not one per record); error then
// says which. progress hears (done, total) per chunk of the block, then per
// setting asked by name.
CompareResult CompareSetupWithController(CControllerLink& link, const std::string& path, SetupComparison& comparison,
                                         std::string& error, const ProgressCallback& progress = {});

// The comparison as plain text, for the command line and for saving.
std::string SetupComparisonText(const SetupComparison& comparison);

} // namespace halcyra
