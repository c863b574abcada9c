#include "sim/InfoFeature.h"

#include "link/MessageIds.h"
#include "sim/SimController.h"

namespace halcyra::sim {

namespace {

constexpr std::size_t kSerialBytes = 16;

const TSimOption<std::uint16_t> kFirmwareVersion{"firmware-version", "N", "286",
                                                 "application firmware version times 100"};
const TSimOption<SimDate> kFirmwareDate{"firmware-date", "Y-M-D", "2009-7-2", "application firmware date"};
const TSimOption<std::string> kSerial{"serial", "TEXT", "HC2-0042137", "serial number, at most 16 characters",
                                      [](const std::string& text, std::string& why) {
                                          why = "a serial number has at most 16 characters";
                                          return text.size() <= kSerialBytes;
                                      }};
const TSimOption<OptionIndexes> kInstalled{"options", "LIST", "1,6,8,10",
                                           "installed option indexes 0..63, comma-separated"};
const TSimOption<std::uint8_t> kCompatibility[] = {
    {"compat-a", "BYTE", "1", "answer to compatibility query A (1 is compatible)"},
    {"compat-b", "BYTE", "1", "answer to compatibility query B (1 is compatible)"},
    {"compat-c", "BYTE", "1", "answer to compatibility query C (1 is compatible)"},
};

} // namespace

std::vector<const CSimOption*> CInfoFeature::Options()
{
    return {&kFirmwareVersion, &kFirmwareDate, &kSerial, &kInstalled,
            &kCompatibility[0], &kCompatibility[1], &kCompatibility[2]};
}

CInfoFeature::CInfoFeature(const SimSettings& settings)
    : firmwareVersion_(kFirmwareVersion.From(settings)),
      firmwareDate_(kFirmwareDate.From(settings)),
      serial_(kSerial.From(settings)),
      installed_(kInstalled.From(settings)),
      compatibility_{kCompatibility[0].From(settings), kCompatibility[1].From(settings),
                     kCompatibility[2].From(settings)}
{
}

void CInfoFeature::Register(CSimController& sim)
{
    // Firmware information: 120 bytes, version x 100 and date first.
    sim.On(wire::kInfoMsg, wire::info::kFirmwareSub, wire::info::kQueryOp, [this](CSimController&, const Request& r) -> std::optional<Bytes> {
        ReplyBuilder reply(r);
        reply.U16(firmwareVersion_)
            .U16(static_cast<std::uint16_t>(firmwareDate_.year - 1900))
            .U8(static_cast<std::uint8_t>(firmwareDate_.month))
            .U8(static_cast<std::uint8_t>(firmwareDate_.day))
            .U8(0)
            .U8(0);
        for (int i = 0; i < 3; ++i)
            reply.U32(0);
        Bytes text(8, 0);
        const std::string build = "HC2 APP";
        std::copy(build.begin(), build.end(), text.begin());
        reply.Raw(text);
        for (int i = 0; i < 13; ++i)
            reply.U32(0);
        reply.U16(0).U16(0);
        for (int i = 0; i < 9; ++i)
            reply.U32(0);
        return reply.Build();
    });
    // Unit information: 16-byte serial number, then 64 option flags.
    sim.On(wire::kInfoMsg, wire::info::kUnitSub, wire::info::kQueryOp, [this](CSimController&, const Request& r) -> std::optional<Bytes> {
        Bytes serial(kSerialBytes, 0);
        std::copy(serial_.begin(), serial_.end(), serial.begin());
        Bytes flags(installed_.size(), 0);
        for (std::size_t i = 0; i < installed_.size(); ++i)
            flags[i] = installed_.test(i) ? 1 : 0;
        return ReplyBuilder(r).Raw(serial).Raw(flags).Build();
    });
    // Compatibility queries A, B and C.
    for (std::size_t i = 0; i < compatibility_.size(); ++i) {
        sim.On(wire::kInfoMsg, wire::info::kCompatibilitySubs[i], wire::info::kCompatibilityOp, [this, i](CSimController&, const Request& r) -> std::optional<Bytes> {
            return ReplyBuilder(r).U8(compatibility_[i]).Build();
        });
    }
}

} // namespace halcyra::sim
