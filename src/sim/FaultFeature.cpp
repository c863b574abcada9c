#include "sim/FaultFeature.h"

#include "link/MessageIds.h"
#include "sim/SimController.h"

#include <limits>

namespace halcyra::sim {

namespace {

// A description longer than this would not fit a reply frame.
constexpr std::size_t kMaxDescription = 200;

const TSimOption<FaultTable> kFaults{
    "faults", "TABLE",
    "5;1,3,4.75,0.12,-1.5,Steering angle sensor signal out of range;3,1,10.9,0,0,Supply voltage low",
    "fault table SLOTS[;SLOT,COUNT,DATA1,DATA2,DATA3,DESCRIPTION]..., one entry per active slot"};

bool ParseEntry(std::string_view entry, std::size_t slots, std::size_t& slot, FaultSlot& fault, std::string& why)
{
    std::string_view fields[5];
    for (std::string_view& field : fields) {
        const std::size_t comma = entry.find(',');
        if (comma == std::string_view::npos) {
            why = "expected SLOT,COUNT,DATA1,DATA2,DATA3,DESCRIPTION";
            return false;
        }
        field = entry.substr(0, comma);
        entry.remove_prefix(comma + 1);
    }
    std::uint16_t number = 0;
    if (!ParseOptionValue(fields[0], number, why) || number >= slots) {
        why = "slot " + std::string(fields[0]) + " is not one of the table's " + std::to_string(slots) + " slots";
        return false;
    }
    slot = number;
    if (!ParseOptionValue(fields[1], fault.count, why)) {
        why = "count: " + why;
        return false;
    }
    constexpr double kFloatMax = std::numeric_limits<float>::max();
    for (int i = 0; i < 3; ++i) {
        double value = 0;
        if (!ParseDecimal(fields[2 + i], -kFloatMax, kFloatMax, value, why)) {
            why = "fault data " + std::string(fields[2 + i]) + " is not a number";
            return false;
        }
        fault.data[i] = static_cast<float>(value);
    }
    if (entry.size() > kMaxDescription) {
        why = "a description has at most " + std::to_string(kMaxDescription) + " characters";
        return false;
    }
    fault.description = std::string(entry);
    fault.active = true;
    return true;
}

Bytes Record(const Request& r, std::uint16_t number, const FaultSlot& f)
{
    ReplyBuilder reply(r);
    reply.U16(number).U32(f.active ? 1 : 0).U32(0).U32(0).U16(f.count).U16(0);
    for (float d : f.data)
        reply.F32(d);
    return reply.U16(0).U16(0).Build();
}

} // namespace

bool ParseOptionValue(std::string_view text, FaultTable& table, std::string& why)
{
    std::size_t end = text.find(';');
    std::uint16_t slots = 0;
    if (!ParseOptionValue(text.substr(0, end), slots, why)) {
        why = "slot count: " + why;
        return false;
    }
    table.assign(slots, FaultSlot{});
    std::vector<bool> given(slots, false);
    while (end != std::string_view::npos) {
        text.remove_prefix(end + 1);
        end = text.find(';');
        const std::string_view entry = text.substr(0, end);
        std::size_t slot = 0;
        FaultSlot fault;
        if (!ParseEntry(entry, slots, slot, fault, why)) {
            why = "entry '" + std::string(entry) + "': " + why;
            return false;
        }
        if (given[slot]) {
            why = "slot " + std::to_string(slot) + " is given twice";
            return false;
        }
        given[slot] = true;
        table[slot] = fault;
    }
    return true;
}

std::vector<const CSimOption*> CFaultFeature::Options() { return {&kFaults}; }

CFaultFeature::CFaultFeature(const SimSettings& settings) : slots_(kFaults.From(settings)) {}

void CFaultFeature::Register(CSimController& sim)
{
    using namespace wire::table;
    // Slot count.
    sim.On(wire::kTableMsg, kFaultSub, kFaultCountOp, [this](CSimController&, const Request& r) -> std::optional<Bytes> {
        return ReplyBuilder(r).U16(static_cast<std::uint16_t>(slots_.size())).Build();
    });
    // Record of one slot; slots past the table read as empty ones.
    sim.On(wire::kTableMsg, kFaultSub, kFaultRecordOp, [this](CSimController&, const Request& r) -> std::optional<Bytes> {
        const std::uint16_t j = r.PayloadU16(0);
        return Record(r, j, j < slots_.size() ? slots_[j] : FaultSlot{});
    });
    // Description: the number, the text and its zero byte.
    sim.On(wire::kTableMsg, kFaultSub, kFaultTextOp, [this](CSimController&, const Request& r) -> std::optional<Bytes> {
        const std::uint16_t j = r.PayloadU16(0);
        const std::string text = j < slots_.size() ? slots_[j].description : std::string();
        return ReplyBuilder(r).U16(j).Text(text).U8(0).Build();
    });
    // Clear: the slot becomes inactive; the reply is its record afterwards.
    sim.On(wire::kTableMsg, kFaultSub, kFaultClearOp, [this](CSimController&, const Request& r) -> std::optional<Bytes> {
        const std::uint16_t j = r.PayloadU16(0);
        if (j < slots_.size()) {
            slots_[j].active = false;
            slots_[j].count = 0;
            slots_[j].data[0] = slots_[j].data[1] = slots_[j].data[2] = 0.0f;
        }
        return Record(r, j, j < slots_.size() ? slots_[j] : FaultSlot{});
    });
}

} // namespace halcyra::sim
