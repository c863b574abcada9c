#pragma once
// The controller's fault table: the four fault messages, one fault's details,
// the list the Faults page shows and the fault report file.

#include "link/ControllerMsg.h"

#include <array>
#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

namespace halcyra {

class CControllerLink;

inline constexpr std::size_t kFaultDescriptionBytes = 100;
inline constexpr std::size_t kFaultListDescriptionChars = 35;

inline constexpr const char* kFaultsRefreshingText = "Please Wait...Refreshing List";
inline constexpr const char* kNoFaultsText = "No Faults";
inline constexpr const char* kFaultReportFilter = "Verovevevero Fault Table Files (*.TXT)|*.txt|All Files (*.*)|*.*||";
inline constexpr const char* kFaultReportExtension = "txt";

// Number of fault slots (message 71, sub-code 5, operation 5).
class CFaultCountMsg final : public CControllerMsg {
public:
    CFaultCountMsg();
    bool DecodePayload(CRxBuffer& rx) override;
    std::uint16_t count = 0;
};

// The 34-byte record of one fault slot, as the record and clear replies carry it.
struct FaultRecord {
    std::uint16_t number = 0;
    std::uint32_t active = 0;
    std::uint32_t word6 = 0;
    std::uint32_t word10 = 0;
    std::uint16_t count = 0;
    std::uint16_t short16 = 0;
    std::array<float, 3> data{};
    std::uint16_t short30 = 0;
    std::uint16_t short32 = 0;
};

// One slot's record (operation 2).
class CFaultRecordMsg : public CControllerMsg {
public:
    static constexpr std::int32_t kPayload = 34;
    explicit CFaultRecordMsg(std::uint16_t faultNumber = 0);
    void EncodePayload(CTxBuffer& tx) const override;
    bool DecodePayload(CRxBuffer& rx) override;
    std::uint16_t faultNumber;
    FaultRecord record;

protected:
    CFaultRecordMsg(std::uint8_t operation, std::uint16_t faultNumber);
};

// Clears one slot (operation 3); answered with the slot's record.
class CFaultClearMsg final : public CFaultRecordMsg {
public:
    explicit CFaultClearMsg(std::uint16_t faultNumber = 0);
};

// One slot's description (operation 6): the fault number, then text up to
// and including a zero byte. At most 100 characters are kept.
class CFaultTextMsg final : public CControllerMsg {
public:
    explicit CFaultTextMsg(std::uint16_t faultNumber = 0);
    void EncodePayload(CTxBuffer& tx) const override;
    bool DecodePayload(CRxBuffer& rx) override;
    std::uint16_t faultNumber;
    std::uint16_t replyNumber = 0;
    std::string description;
};

// One fault, as the details and the report show it.
class CFaultInfo {
public:
    // Record, then description (1000 ms, 3 tries, error box each). A part
    // that could not be read stays empty: zero values or no description.
    // True when both were read.
    bool Fetch(CControllerLink& link, std::uint32_t faultNumber);
    // "Fault#:", "Description:", "Fault Data:" and "Count:" with CR LF line ends.
    std::string Text() const;

    std::uint32_t faultNumber = 0;
    FaultRecord record;
    std::string description;
};

struct FaultListEntry {
    std::string text;
    std::uint32_t faultNumber = 0; // the entry's item data
};

// The Faults page's list without its widgets.
class CFaultList {
public:
    // Reads the slot count and lists each active slot as "%03d: %s" with its
    // description cut at 35 characters; "No Faults" when none is. busy
    // brackets the walk over the slots (a wait cursor). False when the slot
    // count could not be read (the list then holds "No Faults").
    bool Refresh(CControllerLink& link, const std::function<void(bool)>& busy = {});
    const std::vector<FaultListEntry>& Entries() const { return entries_; }
    // View..., Save To Disk... and Clear are enabled only with faults listed.
    bool ActionsEnabled() const { return listed_ > 0; }
    std::size_t ListedCount() const { return listed_; }
    // Whether an entry is one View and Clear act on (fault number above 0).
    static bool CanActOn(const FaultListEntry& entry) { return entry.faultNumber > 0; }
    // Transacts the clear (1000 ms, 3 tries, error box) and refreshes the
    // list. Slot 0 is never cleared. False when the clear failed.
    bool Clear(CControllerLink& link, std::uint32_t faultNumber, const std::function<void(bool)>& busy = {});
    // The entry listing a fault number, or nullptr.
    const FaultListEntry* Find(std::uint32_t faultNumber) const;

private:
    std::vector<FaultListEntry> entries_;
    std::size_t listed_ = 0;
};

using WallClock = std::function<std::time_t()>;

// The report text: header, date and time (C locale names, local time from
// the clock), then for each listed fault number above 0 two dash lines and
// the fault's text, fetched afresh.
std::string FaultReportText(CControllerLink& link, const std::vector<FaultListEntry>& entries,
                            const WallClock& clock = {});

// Writes the report to path through a temporary file and tells the user
// how it went. busy(true/false) brackets the fetching of the faults (a wait
// cursor), ending before any message. True when the file was written.
bool SaveFaultReport(CControllerLink& link, const std::string& path, const std::vector<FaultListEntry>& entries,
                     const WallClock& clock = {}, const std::function<void(bool)>& busy = {});

} // namespace halcyra
