#include "link/TraceFile.h"

#include "link/Files.h"
#include "link/Format.h"
#include "link/Framing.h"

#include <ctime>

namespace halcyra {

const char* TraceVerdictText(TraceVerdict verdict)
{
    switch (verdict) {
    case TraceVerdict::Sent: return "sent";
    case TraceVerdict::Withheld: return "withheld";
    case TraceVerdict::Accepted: return "accepted";
    case TraceVerdict::Rejected: return "rejected";
    case TraceVerdict::Unmatched: return "matched no pending message";
    case TraceVerdict::Declined: return "declined";
    case TraceVerdict::Discarded: return "discarded";
    }
    return "?";
}

namespace {

std::string Hex(const std::vector<std::uint8_t>& bytes)
{
    std::string text;
    for (std::uint8_t b : bytes) {
        if (!text.empty())
            text += ' ';
        text += Format("%02X", static_cast<unsigned>(b));
    }
    return text;
}

std::string LocalTime(std::chrono::system_clock::time_point time, const char* format, bool millis)
{
    const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
    std::tm local{};
    LocalTimeOf(seconds, local);
    char buffer[64];
    std::size_t n = std::strftime(buffer, sizeof buffer, format, &local);
    std::string text(buffer, n);
    if (millis) {
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(time.time_since_epoch()).count() % 1000;
        text += Format(".%03d", static_cast<int>(ms));
    }
    return text;
}

// The payload of a complete frame as text, when it is text (named
// parameters, descriptions); empty otherwise.
std::string PayloadText(const std::vector<std::uint8_t>& wire, std::size_t headerBytes)
{
    if (wire.size() < 4 || wire[0] != kDle || wire[wire.size() - 2] != kDle || wire.back() != kEtx)
        return {};
    std::vector<std::uint8_t> content;
    for (std::size_t i = 1; i + 2 < wire.size(); ++i) {
        content.push_back(wire[i]);
        if (wire[i] == kDle)
            ++i; // the doubled DLE counts once
    }
    if (content.size() < headerBytes + 3)
        return {};
    std::string text(content.begin() + static_cast<std::ptrdiff_t>(headerBytes), content.end() - 3);
    while (!text.empty() && text.back() == '\0')
        text.pop_back();
    if (text.empty())
        return {};
    for (char c : text)
        if (c < 0x20 || c > 0x7E)
            return {};
    return text;
}

} // namespace

std::unique_ptr<CTraceFile> CTraceFile::Open(const std::string& path, std::string& error, const std::string& program)
{
    std::string why;
    std::FILE* file = OpenFile(path, "w", &why);
    if (!file) {
        error = path + ": " + why;
        return nullptr;
    }
    std::unique_ptr<CTraceFile> trace(new CTraceFile(file));
    const std::string first = "# " + program + " frame trace, started " +
                              LocalTime(std::chrono::system_clock::now(), "%Y-%m-%d %H:%M:%S", false) + "; TX sent by " +
                              program + ", RX received; [header] wire bytes \"payload text\"\n";
    std::fputs(first.c_str(), file);
    std::fflush(file);
    return trace;
}

CTraceFile::~CTraceFile() { std::fclose(file_); }

std::string CTraceFile::FormatLine(const TraceRecord& r)
{
    std::string line = LocalTime(r.time, "%H:%M:%S", true);
    line += r.direction == TraceDirection::Sent ? " TX " : " RX ";
    line += TraceVerdictText(r.verdict);
    if (!r.detail.empty())
        line += " (" + r.detail + ")";
    if (!r.header.empty())
        line += " [" + Hex(r.header) + "]";
    if (!r.wire.empty())
        line += " " + Hex(r.wire);
    if (r.verdict != TraceVerdict::Discarded) {
        const std::string text = PayloadText(r.wire, r.header.size());
        if (!text.empty())
            line += " \"" + text + "\"";
    }
    return line;
}

void CTraceFile::OnFrame(const TraceRecord& record)
{
    const std::string line = FormatLine(record) + "\n";
    std::lock_guard<std::mutex> lock(mutex_);
    std::fputs(line.c_str(), file_);
    std::fflush(file_);
}

} // namespace halcyra
