// faults: list, show, clear and report the controller's faults.

#include "cli/Commands.h"
#include "setup/Faults.h"

#include <cstdlib>
#include <ostream>

namespace halcyra::cli {

namespace {

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

// The list's lines; in a document only the faults ("No Faults" is no fault),
// each with its number and its line.
void PrintList(CommandContext& c, const CFaultList& list)
{
    Json faults = Json::array();
    for (const FaultListEntry& e : list.Entries()) {
        if (!c.json)
            c.out << e.text << "\n";
        else if (CFaultList::CanActOn(e))
            faults.push_back(Json{{"number", e.faultNumber}, {"text", e.text}});
    }
    if (c.json)
        (*c.json)["faults"] = std::move(faults);
}

// Refreshes the list; false (after saying so) when the controller did not answer.
bool RefreshList(CommandContext& c, CFaultList& list)
{
    if (list.Refresh(c.link))
        return true;
    Failed(c, "no answer from the controller on " + c.link.CurrentPort());
    return false;
}

// View and Clear act only on a listed fault above 0, as the page's buttons do.
const FaultListEntry* ListedFault(CommandContext& c, const CFaultList& list, std::uint32_t number)
{
    const FaultListEntry* entry = list.Find(number);
    if (!entry || !CFaultList::CanActOn(*entry)) {
        Failed(c, "fault " + std::to_string(number) + " is not among the listed faults");
        return nullptr;
    }
    return entry;
}

void PrintFault(CommandContext& c, const CFaultInfo& info)
{
    if (!c.json) {
        c.out << PlainLines(info.Text());
        return;
    }
    Json data = Json::array();
    for (float value : info.record.data)
        data.push_back(value);
    (*c.json)["fault"] = Json{{"number", info.faultNumber},
                              {"description", info.description},
                              {"data", std::move(data)},
                              {"count", info.record.count}};
}

} // namespace

int CmdFaults(CommandContext& c)
{
    // The row lets at most one of them through.
    std::string action;
    std::string value;
    for (const auto& [option, given] : c.args.options) {
        action = option;
        value = given;
    }
    std::uint32_t number = 0;
    if ((action == "--show" || action == "--clear") && !ParseFaultNumber(value, number))
        return UsageError(c, action + " takes a fault number as the list shows it");

    CFaultList list;
    if (!RefreshList(c, list))
        return kExitFailed;
    if (action.empty()) {
        PrintList(c, list);
        return kExitOk;
    }
    if (action == "--report") {
        if (!list.ActionsEnabled())
            return Failed(c, "no faults listed, so there is nothing to report");
        if (c.json)
            (*c.json)["report"] = value;
        return SaveFaultReport(c.link, value, list.Entries()) ? kExitOk : kExitFailed;
    }
    if (!ListedFault(c, list, number))
        return kExitFailed;
    if (action == "--show") {
        CFaultInfo info;
        if (!info.Fetch(c.link, number))
            return kExitFailed;
        PrintFault(c, info);
        return kExitOk;
    }
    const bool cleared = list.Clear(c.link, number);
    if (c.json)
        (*c.json)["cleared"] = cleared;
    PrintList(c, list);
    return cleared ? kExitOk : kExitFailed;
}

} // namespace halcyra::cli
