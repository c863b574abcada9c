#include "sim/VehicleFeature.h"

#include "link/MessageIds.h"
#include "sim/BlockFeature.h"
#include "sim/SimController.h"

#include <cstdio>

namespace halcyra::sim {

namespace {

constexpr std::size_t kTextBytes = 16;
constexpr std::uint8_t kSetupBlock = 5;

const TSimOption<VehicleList> kVehicles{
    "vehicles", "LIST", "1,Fieldora 6150R;2,Tracmor 9RT;0,;5,Fieldora 8240W;4,Harvix Artic 500;7,Sprayline 4730",
    "vehicle list TYPE,NAME;TYPE,NAME;... (names of at most 16 characters; an empty name is no vehicle)"};
const TSimOption<std::uint8_t> kKeepVehicle{"keep-vehicle", "0|1", "0",
                                            "1: select-vehicle is answered but the vehicle stays as it was",
                                            [](const std::uint8_t& keep, std::string& why) {
                                                why = "expected 0 or 1";
                                                return keep <= 1;
                                            }};

Bytes Text16(const std::string& text)
{
    Bytes bytes(kTextBytes, 0);
    std::copy_n(text.begin(), std::min(text.size(), kTextBytes), bytes.begin());
    return bytes;
}

} // namespace

bool ParseOptionValue(std::string_view text, VehicleList& value, std::string& why)
{
    value.entries.clear();
    while (!text.empty()) {
        const std::size_t end = text.find(';');
        const std::string_view entry = text.substr(0, end);
        const std::size_t comma = entry.find(',');
        VehicleEntry vehicle;
        if (comma == std::string_view::npos || !ParseOptionValue(entry.substr(0, comma), vehicle.type, why)) {
            why = "entry '" + std::string(entry) + "': expected TYPE,NAME";
            return false;
        }
        vehicle.name = std::string(entry.substr(comma + 1));
        if (vehicle.name.size() > kTextBytes) {
            why = "entry '" + std::string(entry) + "': a name has at most 16 characters";
            return false;
        }
        value.entries.push_back(vehicle);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    if (value.entries.size() > 0xFFFF) {
        why = "a list holds at most 65535 entries";
        return false;
    }
    return true;
}

std::vector<const CSimOption*> CVehicleFeature::Options() { return {&kVehicles, &kKeepVehicle}; }

CVehicleFeature::CVehicleFeature(const SimSettings& settings)
    : list_(kVehicles.From(settings)), keepVehicle_(kKeepVehicle.From(settings) == 1)
{
}

void CVehicleFeature::Register(CSimController& sim)
{
    using namespace wire::table;
    sim_ = &sim;
    restartsSeen_ = sim.Restarts();
    const auto entryReply = [this](const Request& r, std::uint16_t index) {
        ReplyBuilder reply(r);
        reply.U16(index);
        if (index < list_.entries.size()) {
            char code[kTextBytes + 1];
            std::snprintf(code, sizeof code, "VDB%04u", static_cast<unsigned>(index));
            reply.Raw(Text16(code)).Raw(Text16(list_.entries[index].name));
        } else {
            reply.Raw(Text16("")).Raw(Text16(""));
        }
        return reply.Build();
    };
    sim.On(wire::kTableMsg, kVehicleSub, kVehicleCountOp, [this](CSimController&, const Request& r) -> std::optional<Bytes> {
        return ReplyBuilder(r).U32(static_cast<std::uint32_t>(list_.entries.size())).Build();
    });
    sim.On(wire::kTableMsg, kVehicleSub, kVehicleEntryOp, [entryReply](CSimController&, const Request& r) -> std::optional<Bytes> {
        return entryReply(r, r.PayloadU16(0));
    });
    // The selection waits for the restart; an entry without a name selects nothing.
    sim.On(wire::kTableMsg, kVehicleSub, kVehicleSelectOp, [this, entryReply](CSimController&, const Request& r) -> std::optional<Bytes> {
        const std::uint16_t index = r.PayloadU16(0);
        if (index < list_.entries.size() && !list_.entries[index].name.empty() && !keepVehicle_)
            pending_ = index;
        return entryReply(r, index);
    });
}

void CVehicleFeature::ApplySelection(std::uint16_t index)
{
    CParamStore& params = sim_->Params();
    const VehicleEntry& vehicle = list_.entries[index];
    params.Set("vtt", std::to_string(vehicle.type));
    params.Set("vti", std::to_string(index));
    params.Set("vms", "\"" + vehicle.name + "\"");
    params.Set("xvp", "0");
}

void CVehicleFeature::Tick(Clock::time_point)
{
    if (!sim_)
        return;
    if (sim_->Restarts() != restartsSeen_) {
        restartsSeen_ = sim_->Restarts();
        if (pending_)
            ApplySelection(*pending_);
        pending_.reset();
    }
    // A setup block that arrived without its own "xvp" record was a vehicle
    // profile: the model now comes from a profile.
    CBlockFeature::BlockState& setup = sim_->Feature<CBlockFeature>().Block(kSetupBlock);
    if (setup.uploadsCompleted != setupUploadsSeen_) {
        setupUploadsSeen_ = setup.uploadsCompleted;
        const std::string text(setup.upload.begin(), setup.upload.end());
        if (text.rfind("xvp: ", 0) != 0 && text.find("\nxvp: ") == std::string::npos &&
            text.find("\rxvp: ") == std::string::npos)
            sim_->Params().Set("xvp", "1");
    }
}

} // namespace halcyra::sim
