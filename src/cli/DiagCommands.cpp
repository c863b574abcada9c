// diag: a diagnostics page's values, polled as the page polls them.

#include "app/ConnectionCheck.h"
#include "cli/Commands.h"
#include "cli/Interrupt.h"
#include "cli/RealTimeTimers.h"
#include "diagnostics/DiagnosticsPages.h"
#include "diagnostics/DiagnosticsRecording.h"
#include "diagnostics/DiagnosticsValues.h"
#include "link/Files.h"
#include "pages/Poll.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <optional>
#include <ostream>

namespace halcyra::cli {

namespace {

bool ParsePositive(const std::string& text, int& value)
{
    char* end = nullptr;
    const unsigned long n = std::strtoul(text.c_str(), &end, 10);
    if (text.empty() || !std::isdigit(static_cast<unsigned char>(text[0])) || *end != '\0' || n < 1 ||
        n > static_cast<unsigned long>(INT_MAX))
        return false;
    value = static_cast<int>(n);
    return true;
}

bool SameTitle(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

// The page titled so, the title's case aside.
std::optional<DiagPage> FindPage(const std::string& title)
{
    if (auto exact = DiagPageByTitle(title))
        return exact;
    for (const DiagPageRow& row : DiagPageRows())
        if (SameTitle(title, row.title))
            return row.page;
    return std::nullopt;
}

// One poll's lines as names and the texts shown; a poll that read nothing
// carries its failure (the values are then the page's 0 and "Unknown").
Json Reading(const CDiagPageValues& values, bool read)
{
    Json fields = Json::array();
    for (const FieldSpec& field : values.Fields()) {
        std::string name = field.label;
        if (!name.empty() && name.back() == ':')
            name.pop_back();
        fields.push_back(NamedValue(name, FieldText(field)));
    }
    Json reading{{"fields", std::move(fields)}};
    if (!read)
        reading["error"] = Failure("not everything could be read from the controller");
    return reading;
}

struct PollResult {
    int polls = 0;
    int failed = 0;
};

// Polls the page count times (0: until Ctrl-C, or a recording that fails),
// printing each poll's line and adding its row to the recording when one is
// open. The first poll does not wait.
PollResult PollPage(CommandContext& c, CDiagPageValues& values, CDiagRecording& recording, int count,
                    std::chrono::milliseconds interval)
{
    const bool recorded = recording.IsOpen();
    // Ctrl-C ends a recording in good order: the rows so far are kept.
    std::optional<CGracefulInterrupt> interrupt;
    if (recorded)
        interrupt.emplace();
    CRealTimeTimers timers;
    ITimerSource* const previousTimers = c.pages.timers;
    c.pages.timers = &timers;
    PollResult result;
    {
        CPoll poll(c.pages);
        Json readings = Json::array();
        const auto show = [&](bool read) {
            if (c.json)
                readings.push_back(Reading(values, read));
            else
                c.out << values.LineText() << "\n" << std::flush;
            if (recorded)
                recording.Add(values, read, std::chrono::system_clock::now());
            ++result.polls;
            result.failed += read ? 0 : 1;
            if (c.json)
                (*c.json)["readings"] = readings;
        };
        poll.Start(interval, [&] {
            bool read = false;
            try {
                read = values.Refresh(c.link);
            } catch (...) {
                show(false); // the failure values; the poll reports the port failure
                throw;
            }
            show(read);
            return read;
        });
        const auto done = [&] {
            return (count > 0 && result.polls >= count) || (interrupt && interrupt->Requested()) ||
                   (recorded && !recording.IsOpen());
        };
        poll.PollNow();
        if (!done())
            timers.RunUntil(done);
    }
    c.pages.timers = previousTimers;
    return result;
}

} // namespace

int CmdDiag(CommandContext& c)
{
    const std::string& title = c.args.operands[0];
    const std::optional<std::string> csvPath = c.args.Value("--csv");
    // A recording runs until Ctrl-C unless a count ends it.
    int count = csvPath ? 0 : 1;
    int intervalMs = static_cast<int>(kPollPeriod.count());
    for (const char* option : {"--count", "--interval"}) {
        const std::optional<std::string> text = c.args.Value(option);
        if (text && !ParsePositive(*text, option == std::string_view("--count") ? count : intervalMs))
            return UsageError(c, std::string(option) + " needs a whole number of at least 1");
    }
    const std::optional<DiagPage> page = FindPage(title);
    if (!page) {
        c.err << "halcyra: no diagnostics page is titled \"" << title << "\"; the pages are:\n";
        for (const DiagPageRow& row : DiagPageRows())
            c.err << "  " << row.title << "\n";
        return kExitUsage;
    }
    CDiagPageValues values(DiagRow(*page));
    // A file that cannot be written is refused before anything is sent.
    CDiagRecording recording;
    if (csvPath && !recording.Open(*csvPath, values))
        return Failed(c, EscapedName(*csvPath) + " could not be created, so nothing was sent; choose another file");
    // A silent controller ends here, after one check says why, rather than
    // after every input of the selection has timed out.
    if (c.json)
        (*c.json)["page"] = DiagRow(*page).title;
    if (!CheckHalcyraComms(c.link, true)) {
        recording.Discard();
        return Failed(c, CheckFailureText(c));
    }
    const std::vector<DiagPage> offered = SelectDiagnosticsPages(c.link);
    if (std::find(offered.begin(), offered.end(), *page) == offered.end()) {
        recording.Discard();
        return Failed(c, "this controller's inputs have no \"" + std::string(DiagRow(*page).title) +
                             "\" page; 'halcyra pages diagnostics' lists those it has");
    }
    const PollResult result = PollPage(c, values, recording, count, std::chrono::milliseconds(intervalMs));
    if (recording.IsOpen()) {
        if (!recording.Finish())
            return Failed(c, "the recording could not be saved as " + EscapedName(*csvPath) +
                                 "; that file was left as it was");
        if (recording.SavedPath() != *csvPath)
            c.err << "halcyra: " << EscapedName(*csvPath) << " could not be replaced, so the recording was saved as "
                  << EscapedName(recording.SavedPath()) << "\n";
        c.err << recording.Rows() << (recording.Rows() == 1 ? " poll" : " polls") << " recorded in "
              << EscapedName(recording.SavedPath()) << "\n";
    } else if (csvPath) {
        return Failed(c, EscapedName(*csvPath) +
                             " could not be written, so the recording stopped; that file was left as it was");
    }
    return result.failed == 0 ? kExitOk : kExitFailed;
}

} // namespace halcyra::cli
