#include "setup/Faults.h"

#include "link/AtomicFile.h"
#include "link/ControllerLink.h"
#include "link/Format.h"
#include "link/Framing.h"
#include "link/MessageIds.h"
#include "link/Notifier.h"

#include <cstdio>
#include <iomanip>
#include <locale>
#include <sstream>

namespace halcyra {

namespace {

using namespace wire::table;

// The time in format with the C locale's day and month names, whatever locale the
// program runs in; an empty text when the result does not fit 128 characters.
std::string FormatTime(const char* format, const std::tm& tm)
{
    std::ostringstream text;
    text.imbue(std::locale::classic());
    text << std::put_time(&tm, format);
    return text.str().size() < 128 ? text.str() : std::string();
}

} // namespace

// ---------------------------------------------------------------- messages

CFaultCountMsg::CFaultCountMsg() : CControllerMsg(HeaderFamily::FourByte, wire::kTableMsg, kFaultSub, kFaultCountOp, 2) {}

bool CFaultCountMsg::DecodePayload(CRxBuffer& rx)
{
    rx.PopValue(count);
    return true;
}

CFaultRecordMsg::CFaultRecordMsg(std::uint16_t number) : CFaultRecordMsg(kFaultRecordOp, number) {}

CFaultRecordMsg::CFaultRecordMsg(std::uint8_t operation_, std::uint16_t number)
    : CControllerMsg(HeaderFamily::FourByte, wire::kTableMsg, kFaultSub, operation_, kPayload), faultNumber(number)
{
}

void CFaultRecordMsg::EncodePayload(CTxBuffer& tx) const { tx.PushValue(faultNumber); }

bool CFaultRecordMsg::DecodePayload(CRxBuffer& rx)
{
    FaultRecord r;
    rx.PopValue(r.number);
    rx.PopValue(r.active);
    rx.PopValue(r.word6);
    rx.PopValue(r.word10);
    rx.PopValue(r.count);
    rx.PopValue(r.short16);
    for (float& d : r.data)
        rx.PopValue(d);
    rx.PopValue(r.short30);
    rx.PopValue(r.short32);
    record = r;
    return true;
}

CFaultClearMsg::CFaultClearMsg(std::uint16_t number) : CFaultRecordMsg(kFaultClearOp, number) {}

CFaultTextMsg::CFaultTextMsg(std::uint16_t number)
    : CControllerMsg(HeaderFamily::FourByte, wire::kTableMsg, kFaultSub, kFaultTextOp, kAnyLength), faultNumber(number)
{
}

void CFaultTextMsg::EncodePayload(CTxBuffer& tx) const { tx.PushValue(faultNumber); }

bool CFaultTextMsg::DecodePayload(CRxBuffer& rx)
{
    if (rx.Count() < 2)
        return false;
    rx.PopValue(replyNumber);
    std::string text;
    bool ended = false;
    std::uint8_t b = 0;
    // Every byte is taken off the buffer; the text ends at its zero byte.
    while (rx.PopFront(b)) {
        if (b == 0)
            ended = true;
        if (!ended && text.size() < kFaultDescriptionBytes)
            text.push_back(static_cast<char>(b));
    }
    description = std::move(text);
    return true;
}

// ---------------------------------------------------------------- one fault

bool CFaultInfo::Fetch(CControllerLink& link, std::uint32_t number)
{
    *this = CFaultInfo{};
    faultNumber = number;
    CFaultRecordMsg recordMsg(static_cast<std::uint16_t>(number));
    if (!link.Transact(recordMsg))
        return false;
    // The record stands on its own: a failed description must not lose it.
    record = recordMsg.record;
    CFaultTextMsg text(static_cast<std::uint16_t>(number));
    if (!link.Transact(text))
        return false;
    description = text.description;
    return true;
}

std::string CFaultInfo::Text() const
{
    return Format("Fault#:\t\t%03d\r\n\r\n", static_cast<int>(faultNumber)) +
           Format("Description: \t%s\r\n\r\n", description.c_str()) +
           Format("Fault Data:\r\n\t\t%f\r\n\t\t%f\r\n\t\t%f\r\n\r\n", static_cast<double>(record.data[0]),
                  static_cast<double>(record.data[1]), static_cast<double>(record.data[2])) +
           Format("Count:\t\t%03d\r\n\r\n\r\n", static_cast<int>(record.count));
}

// ---------------------------------------------------------------- the list

bool CFaultList::Refresh(CControllerLink& link, const std::function<void(bool)>& busy)
{
    entries_.clear();
    listed_ = 0;
    CFaultCountMsg countMsg;
    const bool counted = link.Transact(countMsg);
    const std::uint32_t slots = counted ? countMsg.count : 0;
    if (busy)
        busy(true);
    for (std::uint32_t j = 0; j < slots; ++j) {
        CFaultRecordMsg record(static_cast<std::uint16_t>(j));
        if (!link.Transact(record) || record.record.active == 0)
            continue;
        CFaultTextMsg text(static_cast<std::uint16_t>(j));
        link.Transact(text);
        const std::string cut = text.description.substr(0, kFaultListDescriptionChars);
        entries_.push_back({Format("%03d: %s", static_cast<int>(j), cut.c_str()), j});
        ++listed_;
    }
    if (busy)
        busy(false);
    if (entries_.empty())
        entries_.push_back({kNoFaultsText, 0});
    return counted;
}

bool CFaultList::Clear(CControllerLink& link, std::uint32_t faultNumber, const std::function<void(bool)>& busy)
{
    if (faultNumber == 0)
        return false;
    CFaultClearMsg clear(static_cast<std::uint16_t>(faultNumber));
    const bool cleared = link.Transact(clear);
    Refresh(link, busy);
    return cleared;
}

const FaultListEntry* CFaultList::Find(std::uint32_t faultNumber) const
{
    for (std::size_t i = 0; i < listed_ && i < entries_.size(); ++i)
        if (entries_[i].faultNumber == faultNumber)
            return &entries_[i];
    return nullptr;
}

// ---------------------------------------------------------------- the report

std::string FaultReportText(CControllerLink& link, const std::vector<FaultListEntry>& entries, const WallClock& clock)
{
    const std::time_t now = clock ? clock() : std::time(nullptr);
    std::tm local{};
    const bool haveTime = LocalTimeOf(now, local);
    std::string text = "\r\n*** Verovevevero Fault Code Download File ***\r\n\r\n";
    text += haveTime ? FormatTime("Current Date: %A %B %d, %Y\r\n", local) : std::string();
    text += haveTime ? FormatTime("Current Time: %H:%M:%S\r\n\r\n", local) : std::string();
    for (const FaultListEntry& entry : entries) {
        if (entry.faultNumber == 0)
            continue;
        text += "------------------------------------\r\n";
        text += "------------------------------------\r\n\r\n";
        CFaultInfo info;
        info.Fetch(link, entry.faultNumber);
        text += info.Text();
    }
    return text;
}

bool SaveFaultReport(CControllerLink& link, const std::string& path, const std::vector<FaultListEntry>& entries,
                     const WallClock& clock, const std::function<void(bool)>& busy)
{
    INotifier& notifier = link.Notifier();
    auto cannotWrite = [&] {
        notifier.Notify("Error: Could not open specified file for writing!", "Download Error", MsgButtons::Ok,
                        MsgIcon::Stop);
        return false;
    };
    CAtomicFile file;
    if (!file.Open(path))
        return cannotWrite();
    if (busy)
        busy(true);
    const std::string text = FaultReportText(link, entries, clock);
    if (busy)
        busy(false);
    if (std::fwrite(text.data(), 1, text.size(), file.File()) != text.size() || !file.Commit())
        return cannotWrite();
    notifier.Notify("Fault information saved successfully", "Save Complete", MsgButtons::Ok, MsgIcon::Information);
    return true;
}

} // namespace halcyra
