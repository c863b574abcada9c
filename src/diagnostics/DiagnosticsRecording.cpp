#include "diagnostics/DiagnosticsRecording.h"

#include "diagnostics/DiagnosticsValues.h"
#include "link/Files.h"
#include "link/Format.h"

#include <cstdio>
#include <ctime>
#include <cstdlib>
#include <filesystem>

namespace halcyra {

namespace {

// The UTC time at t, safe from other threads' use of the C library's own.
bool UtcTimeOf(std::time_t t, std::tm& utc)
{
#ifdef _WIN32
    return ::gmtime_s(&utc, &t) == 0;
#else
    return ::gmtime_r(&t, &utc) != nullptr;
#endif
}

// Minutes since the epoch of a broken-down time, read as if it were UTC.
long long Minutes(const std::tm& time)
{
    using namespace std::chrono;
    const sys_days date = year{time.tm_year + 1900} / month{static_cast<unsigned>(time.tm_mon + 1)} /
                         day{static_cast<unsigned>(time.tm_mday)};
    return date.time_since_epoch().count() * 1440LL + time.tm_hour * 60 + time.tm_min;
}

// "Raw:" with "volts" -> "Raw (volts)".
std::string ColumnName(const FieldSpec& field)
{
    std::string name = field.label;
    if (!name.empty() && name.back() == ':')
        name.pop_back();
    const std::string unit = FieldUnitText(field, nullptr);
    return unit.empty() ? name : name + " (" + unit + ")";
}

// "angle.csv" -> "angle-2.csv", or the first of "angle-3.csv" and on that
// names no file yet.
std::string FreeNameBeside(const std::string& path)
{
    const std::filesystem::path given = PathFromUtf8(path);
    const std::filesystem::path stem = given.parent_path() / given.stem();
    std::error_code ec;
    for (int n = 2;; ++n) {
        std::filesystem::path candidate = stem;
        candidate += PathFromUtf8("-" + std::to_string(n));
        candidate += given.extension();
        if (!std::filesystem::exists(std::filesystem::symlink_status(candidate, ec)))
            return Utf8FromPath(candidate);
    }
}

} // namespace

std::string CsvField(std::string_view text)
{
    if (text.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(text);
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string CsvRecord(const std::vector<std::string>& fields)
{
    std::string record;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            record += ',';
        record += CsvField(fields[i]);
    }
    return record + "\r\n";
}

std::string IsoLocalTime(std::chrono::system_clock::time_point when)
{
    using namespace std::chrono;
    const auto seconds = floor<std::chrono::seconds>(when);
    const auto millis = duration_cast<milliseconds>(when - seconds).count();
    const std::time_t t = system_clock::to_time_t(seconds);
    std::tm local{};
    std::tm utc{};
    if (!LocalTimeOf(t, local) || !UtcTimeOf(t, utc))
        return {};
    const long long offset = Minutes(local) - Minutes(utc);
    const long long size = std::llabs(offset);
    return Format("%04d-%02d-%02dT%02d:%02d:%02d.%03d%c%02lld:%02lld", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, static_cast<int>(millis),
                  offset < 0 ? '-' : '+', size / 60, size % 60);
}

std::vector<std::string> DiagCsvHeader(const CDiagPageValues& values)
{
    std::vector<std::string> header{"Time"};
    for (const FieldSpec& field : values.Fields())
        header.push_back(ColumnName(field));
    header.emplace_back("failed");
    return header;
}

std::vector<std::string> DiagCsvRow(const CDiagPageValues& values, bool read,
                                    std::chrono::system_clock::time_point when)
{
    std::vector<std::string> row{IsoLocalTime(when)};
    for (const FieldSpec& field : values.Fields())
        row.push_back(FieldText(field));
    row.emplace_back(read ? "0" : "1");
    return row;
}

CDiagRecording::~CDiagRecording()
{
    if (open_ && rows_ > 0)
        Finish();
}

bool CDiagRecording::Open(const std::string& path, const CDiagPageValues& values)
{
    Discard();
    if (!file_.Open(path))
        return false;
    path_ = path;
    savedPath_.clear();
    open_ = true;
    rows_ = 0;
    lastSync_ = WallClock::now();
    return Write(CsvRecord(DiagCsvHeader(values)));
}

bool CDiagRecording::Add(const CDiagPageValues& values, bool read, WallClock::time_point when)
{
    if (!open_ || !Write(CsvRecord(DiagCsvRow(values, read, when))))
        return false;
    ++rows_;
    // A clock set back syncs at once rather than never.
    if (when - lastSync_ >= kSyncEvery || when < lastSync_) {
        lastSync_ = when;
        if (!file_.Sync()) {
            Discard();
            return false;
        }
    }
    return true;
}

bool CDiagRecording::Write(const std::string& record)
{
    // Flushed at once: a program that dies keeps every row it has read.
    if (std::fwrite(record.data(), 1, record.size(), file_.File()) == record.size() && std::fflush(file_.File()) == 0)
        return true;
    Discard();
    return false;
}

bool CDiagRecording::Finish()
{
    if (!open_)
        return false;
    open_ = false;
    if (file_.TryCommitAs(file_.Destination())) {
        savedPath_ = path_;
        return true;
    }
    const std::string beside = FreeNameBeside(file_.Destination());
    if (file_.TryCommitAs(beside)) {
        savedPath_ = beside;
        return true;
    }
    file_.Discard();
    return false;
}

void CDiagRecording::Discard()
{
    open_ = false;
    file_.Discard();
}

} // namespace halcyra
