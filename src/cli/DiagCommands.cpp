// diag: a diagnostics page's values, polled as the page polls them.

#include "app/ConnectionCheck.h"
#include "cli/Commands.h"
#include "cli/RealTimeTimers.h"
#include "diagnostics/DiagnosticsPages.h"
#include "diagnostics/DiagnosticsValues.h"
#include "pages/Poll.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <ostream>

namespace halcyra::cli {

namespace {

constexpr const char* kDiagUsage = "usage: halcyra diag TITLE [--count N] [--interval MS]\n";

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

} // namespace

int CmdDiag(CommandContext& c)
{
    std::string title;
    int count = 1;
    int intervalMs = static_cast<int>(kPollPeriod.count());
    for (std::size_t i = 0; i < c.args.size(); ++i) {
        const std::string& a = c.args[i];
        if (a == "--count" || a == "--interval") {
            if (i + 1 >= c.args.size() || !ParsePositive(c.args[i + 1], a == "--count" ? count : intervalMs)) {
                c.err << "halcyra: " << a << " needs a whole number of at least 1\n" << kDiagUsage;
                return kExitUsage;
            }
            ++i;
        } else if (title.empty() && !(a.size() > 1 && a[0] == '-' && a[1] == '-')) {
            title = a;
        } else {
            c.err << kDiagUsage;
            return kExitUsage;
        }
    }
    if (title.empty()) {
        c.err << kDiagUsage;
        return kExitUsage;
    }
    const std::optional<DiagPage> page = FindPage(title);
    if (!page) {
        c.err << "halcyra: no diagnostics page is titled \"" << title << "\"; the pages are:\n";
        for (const DiagPageRow& row : DiagPageRows())
            c.err << "  " << row.title << "\n";
        return kExitUsage;
    }
    // A silent controller ends here, after one check says why, rather than
    // after every input of the selection has timed out.
    if (!CheckHalcyraComms(c.link, true))
        return kExitFailed;
    const std::vector<DiagPage> offered = SelectDiagnosticsPages(c.link);
    if (std::find(offered.begin(), offered.end(), *page) == offered.end()) {
        c.err << "halcyra: this controller's inputs have no \"" << DiagRow(*page).title
              << "\" page; 'halcyra pages diagnostics' lists those it has\n";
        return kExitFailed;
    }

    CDiagPageValues values(DiagRow(*page));
    CRealTimeTimers timers;
    ITimerSource* const previousTimers = c.pages.timers;
    c.pages.timers = &timers;
    int printed = 0;
    int failed = 0;
    {
        CPoll poll(c.pages);
        const auto print = [&] {
            c.out << values.LineText() << "\n" << std::flush;
            ++printed;
        };
        poll.Start(std::chrono::milliseconds(intervalMs), [&] {
            bool read = false;
            try {
                read = values.Refresh(c.link);
            } catch (...) {
                ++failed;
                print(); // the failure values; the poll reports the port failure
                throw;
            }
            failed += read ? 0 : 1;
            print();
            return read;
        });
        poll.PollNow();
        timers.RunUntil([&] { return printed >= count; });
    }
    c.pages.timers = previousTimers;
    return failed == 0 ? kExitOk : kExitFailed;
}

} // namespace halcyra::cli
