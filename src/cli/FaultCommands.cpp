// faults: list, show, clear and report the controller's faults.

#include "cli/Commands.h"
#include "setup/Faults.h"

#include <cstdlib>
#include <ostream>

namespace halcyra::cli {

namespace {

int Usage(CommandContext& c)
{
    c.err << "usage: halcyra faults [--show N | --clear N | --report FILE]\n";
    return kExitUsage;
}

bool ParseFaultNumber(const std::string& text, std::uint32_t& number)
{
    char* end = nullptr;
    unsigned long n = std::strtoul(text.c_str(), &end, 10);
    if (text.empty() || text[0] == '-' || *end != '\0' || n > 0xFFFF)
        return false;
    number = static_cast<std::uint32_t>(n);
    return true;
}

// Box texts use CR LF; the terminal takes plain line ends.
std::string PlainLines(const std::string& text)
{
    std::string plain;
    for (char ch : text)
        if (ch != '\r')
            plain.push_back(ch);
    return plain;
}

void PrintList(CommandContext& c, const CFaultList& list)
{
    for (const FaultListEntry& e : list.Entries())
        c.out << e.text << "\n";
}

// Refreshes the list; false (after saying so) when the controller did not answer.
bool RefreshList(CommandContext& c, CFaultList& list)
{
    if (list.Refresh(c.link))
        return true;
    c.err << "halcyra: no answer from the controller on " << c.link.CurrentPort() << "\n";
    return false;
}

// View and Clear act only on a listed fault above 0, as the page's buttons do.
const FaultListEntry* ListedFault(CommandContext& c, const CFaultList& list, std::uint32_t number)
{
    const FaultListEntry* entry = list.Find(number);
    if (!entry || !CFaultList::CanActOn(*entry)) {
        c.err << "halcyra: fault " << number << " is not among the listed faults\n";
        return nullptr;
    }
    return entry;
}

} // namespace

int CmdFaults(CommandContext& c)
{
    std::string action;
    std::string value;
    if (c.args.size() == 2 && (c.args[0] == "--show" || c.args[0] == "--clear" || c.args[0] == "--report")) {
        action = c.args[0];
        value = c.args[1];
    } else if (!c.args.empty()) {
        return Usage(c);
    }
    std::uint32_t number = 0;
    if ((action == "--show" || action == "--clear") && !ParseFaultNumber(value, number))
        return Usage(c);

    CFaultList list;
    if (!RefreshList(c, list))
        return kExitFailed;
    if (action.empty()) {
        PrintList(c, list);
        return kExitOk;
    }
    if (action == "--report") {
        if (!list.ActionsEnabled()) {
            c.err << "halcyra: no faults listed, so there is nothing to report\n";
            return kExitFailed;
        }
        return SaveFaultReport(c.link, value, list.Entries()) ? kExitOk : kExitFailed;
    }
    if (!ListedFault(c, list, number))
        return kExitFailed;
    if (action == "--show") {
        CFaultInfo info;
        if (!info.Fetch(c.link, number))
            return kExitFailed;
        c.out << PlainLines(info.Text());
        return kExitOk;
    }
    const bool cleared = list.Clear(c.link, number);
    PrintList(c, list);
    return cleared ? kExitOk : kExitFailed;
}

} // namespace halcyra::cli
