#pragma once
// A diagnostics page's polls recorded into a CSV file: a header of the
// page's lines with their units, then one row per poll with its local time,
// the values as the page shows them and whether the poll failed. The sheet's
// "Record..." button and `halcyra diag --csv` write the same file.
//
// A recording may run for hours, so nothing waits for its end: each row
// reaches the system as soon as it is read, into a temporary file beside the
// destination, and the disk every few seconds. Only when the recording ends
// does that file replace the destination, whole. A program that dies on the
// way leaves the destination as it was and the rows so far in the temporary
// file.

#include "link/AtomicFile.h"

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

namespace halcyra {

class CDiagPageValues;

// RFC 4180: a field holding a comma, a double quote or a line break goes in
// double quotes, its quotes doubled; a record ends with CR LF.
std::string CsvField(std::string_view text);
std::string CsvRecord(const std::vector<std::string>& fields);

// ISO 8601 local time to the millisecond with the offset from UTC, so that
// the hour a clock change repeats reads apart: "2025-03-30T01:59:59.750+01:00".
std::string IsoLocalTime(std::chrono::system_clock::time_point when);

// The columns: "Time", each line the page shows with its unit ("Raw (volts)"),
// then `failed`.
std::vector<std::string> DiagCsvHeader(const CDiagPageValues& values);
// One poll: when it was read, the texts the page shows now (a failed poll's
// are the page's failure values) and 1 in `failed` when it failed, else 0.
std::vector<std::string> DiagCsvRow(const CDiagPageValues& values, bool read,
                                    std::chrono::system_clock::time_point when);

class CDiagRecording {
public:
    using WallClock = std::chrono::system_clock;
    // How long rows may wait in the system's cache before they are synced.
    static constexpr std::chrono::seconds kSyncEvery{5};

    CDiagRecording() = default;
    // A recording still open is put in place when it holds a row (one cut
    // short by an exception, say), else discarded.
    ~CDiagRecording();
    CDiagRecording(const CDiagRecording&) = delete;
    CDiagRecording& operator=(const CDiagRecording&) = delete;

    // Starts the file beside path with the page's header. False, leaving no
    // file behind, when it cannot be created there.
    bool Open(const std::string& path, const CDiagPageValues& values);
    // Adds one poll's row. False when it could not be written: the
    // recording is then discarded and the destination left as it was.
    bool Add(const CDiagPageValues& values, bool read, WallClock::time_point when);
    // Puts the file in place of the destination with every row so far;
    // when the destination cannot be replaced (another program holds it
    // open, say), beside it under a name of its own. False when neither
    // could be done: the destination is then left as it was.
    bool Finish();
    // Where Finish put the file.
    const std::string& SavedPath() const { return savedPath_; }
    // Ends without touching the destination.
    void Discard();

    bool IsOpen() const { return open_; }
    int Rows() const { return rows_; }
    const std::string& Path() const { return path_; }
    // Where the rows wait until the recording ends.
    const std::string& TemporaryPath() const { return file_.TemporaryPath(); }

private:
    bool Write(const std::string& record);

    CAtomicFile file_;
    std::string path_;
    std::string savedPath_;
    bool open_ = false;
    int rows_ = 0;
    WallClock::time_point lastSync_{};
};

} // namespace halcyra
