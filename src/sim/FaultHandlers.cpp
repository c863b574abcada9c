// The fault table: slot count, records, descriptions and clearing
// (message 71, sub-code 5).
//
// The "faults" option describes the table: the number of slots, then for
// each active slot ";SLOT,COUNT,DATA1,DATA2,DATA3,DESCRIPTION" (the
// description is the rest of the entry and may hold commas). "0" gives an
// empty table; entries that do not parse are left out.

#include "link/MessageIds.h"
#include "sim/SimController.h"

#include <cstdlib>
#include <sstream>

namespace halcyra::sim {

namespace {

// A description longer than this would not fit a reply frame.
constexpr std::size_t kMaxDescription = 200;

std::vector<CSimController::FaultSlot> DefaultFaultTable()
{
    std::vector<CSimController::FaultSlot> slots(5);
    slots[1] = {true, 3, {4.75f, 0.12f, -1.5f}, "Steering angle sensor signal out of range"};
    slots[3] = {true, 1, {10.9f, 0.0f, 0.0f}, "Supply voltage low"};
    return slots;
}

bool ParseEntry(const std::string& entry, std::size_t& slot, CSimController::FaultSlot& fault)
{
    std::string fields[5];
    std::size_t from = 0;
    for (std::string& field : fields) {
        std::size_t comma = entry.find(',', from);
        if (comma == std::string::npos)
            return false;
        field = entry.substr(from, comma - from);
        from = comma + 1;
    }
    char* end = nullptr;
    unsigned long n = std::strtoul(fields[0].c_str(), &end, 10);
    if (fields[0].empty() || *end != '\0')
        return false;
    slot = n;
    unsigned long count = std::strtoul(fields[1].c_str(), &end, 10);
    if (fields[1].empty() || *end != '\0' || count > 0xFFFF)
        return false;
    fault.count = static_cast<std::uint16_t>(count);
    for (int i = 0; i < 3; ++i) {
        const std::string& f = fields[2 + i];
        fault.data[i] = std::strtof(f.c_str(), &end);
        if (f.empty() || *end != '\0')
            return false;
    }
    fault.description = entry.substr(from, kMaxDescription);
    fault.active = true;
    return true;
}

Bytes Record(const Request& r, std::uint16_t number, const CSimController::FaultSlot& f)
{
    ReplyBuilder reply(r);
    reply.U16(number).U32(f.active ? 1 : 0).U32(0).U32(0).U16(f.count).U16(0);
    for (float d : f.data)
        reply.F32(d);
    return reply.U16(0).U16(0).Build();
}

} // namespace

std::vector<CSimController::FaultSlot> ParseFaultTable(const std::string& text)
{
    if (text.empty())
        return DefaultFaultTable();
    std::istringstream in(text);
    std::string item;
    std::getline(in, item, ';');
    char* end = nullptr;
    unsigned long slots = std::strtoul(item.c_str(), &end, 10);
    if (item.empty() || *end != '\0' || slots > 0xFFFF)
        return DefaultFaultTable();
    std::vector<CSimController::FaultSlot> table(slots);
    while (std::getline(in, item, ';')) {
        std::size_t slot = 0;
        CSimController::FaultSlot fault;
        if (ParseEntry(item, slot, fault) && slot < table.size())
            table[slot] = fault;
    }
    return table;
}

std::vector<CSimController::FaultSlot>& CSimController::FaultSlots()
{
    if (!faultSlots_) {
        faultSlots_ = ParseFaultTable(settings_.Text("faults", {}));
    }
    return *faultSlots_;
}

void RegisterFaultHandlers(CSimController& sim)
{
    // Slot count.
    sim.On(wire::kTableMsg, wire::table::kFaultSub, wire::table::kFaultCountOp, [](CSimController& s, const Request& r) -> std::optional<Bytes> {
        return ReplyBuilder(r).U16(static_cast<std::uint16_t>(s.FaultSlots().size())).Build();
    });
    // Record of one slot; slots past the table read as empty ones.
    sim.On(wire::kTableMsg, wire::table::kFaultSub, wire::table::kFaultRecordOp, [](CSimController& s, const Request& r) -> std::optional<Bytes> {
        const std::uint16_t j = r.PayloadU16(0);
        const auto& slots = s.FaultSlots();
        return Record(r, j, j < slots.size() ? slots[j] : CSimController::FaultSlot{});
    });
    // Description: the number, the text and its zero byte.
    sim.On(wire::kTableMsg, wire::table::kFaultSub, wire::table::kFaultTextOp, [](CSimController& s, const Request& r) -> std::optional<Bytes> {
        const std::uint16_t j = r.PayloadU16(0);
        const auto& slots = s.FaultSlots();
        const std::string text = j < slots.size() ? slots[j].description : std::string();
        return ReplyBuilder(r).U16(j).Text(text).U8(0).Build();
    });
    // Clear: the slot becomes inactive; the reply is its record afterwards.
    sim.On(wire::kTableMsg, wire::table::kFaultSub, wire::table::kFaultClearOp, [](CSimController& s, const Request& r) -> std::optional<Bytes> {
        const std::uint16_t j = r.PayloadU16(0);
        auto& slots = s.FaultSlots();
        if (j < slots.size()) {
            slots[j].active = false;
            slots[j].count = 0;
            slots[j].data[0] = slots[j].data[1] = slots[j].data[2] = 0.0f;
        }
        return Record(r, j, j < slots.size() ? slots[j] : CSimController::FaultSlot{});
    });
}

} // namespace halcyra::sim
