// Controller identity: firmware and unit information, compatibility queries.

#include "link/MessageIds.h"
#include "sim/SimController.h"

#include <cstdlib>
#include <sstream>

namespace halcyra::sim {

void RegisterInfoHandlers(CSimController& sim)
{
    // Firmware information: 120 bytes, version x 100 and date first.
    sim.On(wire::kInfoMsg, wire::info::kFirmwareSub, wire::info::kQueryOp, [](CSimController& s, const Request& r) -> std::optional<Bytes> {
        int year = 2009, month = 7, day = 2;
        std::istringstream date(s.Settings().Text("firmware-date", "2009-7-2"));
        char dash = 0;
        date >> year >> dash >> month >> dash >> day;
        ReplyBuilder reply(r);
        reply.U16(static_cast<std::uint16_t>(s.Settings().Number("firmware-version", 286)))
            .U16(static_cast<std::uint16_t>(year - 1900))
            .U8(static_cast<std::uint8_t>(month))
            .U8(static_cast<std::uint8_t>(day))
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
    sim.On(wire::kInfoMsg, wire::info::kUnitSub, wire::info::kQueryOp, [](CSimController& s, const Request& r) -> std::optional<Bytes> {
        Bytes serial(16, 0);
        const std::string text = s.Settings().Text("serial", "HC2-0042137");
        for (std::size_t i = 0; i < text.size() && i < serial.size(); ++i)
            serial[i] = static_cast<std::uint8_t>(text[i]);
        Bytes flags(64, 0);
        std::istringstream list(s.Settings().Text("options", "1,6,8,10"));
        for (std::string item; std::getline(list, item, ',');) {
            long index = std::strtol(item.c_str(), nullptr, 10);
            if (!item.empty() && index >= 0 && index < 64)
                flags[static_cast<std::size_t>(index)] = 1;
        }
        return ReplyBuilder(r).Raw(serial).Raw(flags).Build();
    });
    // Compatibility queries A, B and C: the controller answers 1 when it
    // works with this program.
    const char* const options[] = {"compat-a", "compat-b", "compat-c"};
    for (int i = 0; i < 3; ++i) {
        const std::string name = options[i];
        const int subCode = wire::info::kCompatibilitySubs[i];
        sim.On(wire::kInfoMsg, subCode, wire::info::kCompatibilityOp, [name](CSimController& s, const Request& r) {
            return ReplyBuilder(r).U8(static_cast<std::uint8_t>(s.Settings().Number(name, 1))).Build();
        });
    }
}

} // namespace halcyra::sim
