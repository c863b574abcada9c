// Named parameters: get answers "name: value", set stores the value.

#include "link/MessageIds.h"
#include "sim/SimController.h"

#include <cctype>

namespace halcyra::sim {

namespace {

std::string PayloadText(const Request& r)
{
    Bytes p = r.Payload();
    std::string text(p.begin(), p.end());
    if (auto nul = text.find('\0'); nul != std::string::npos)
        text.resize(nul);
    return text;
}

} // namespace

void RegisterParamHandlers(CSimController& sim)
{
    sim.On(wire::kInfoMsg, wire::info::kParamSub, wire::info::kParamGetOp, [](CSimController& s, const Request& r) -> std::optional<Bytes> {
        std::string name = PayloadText(r);
        auto value = s.Params().Get(name);
        // An unknown name gets an answer that is not "name: value".
        std::string text = value ? name + ": " + *value : name + "? unknown parameter";
        return ReplyBuilder(r).Text(text).Build();
    });
    sim.On(wire::kInfoMsg, wire::info::kParamSub, wire::info::kParamSetOp, [](CSimController& s, const Request& r) -> std::optional<Bytes> {
        std::string text = PayloadText(r);
        std::size_t sep = text.find(": ");
        if (sep == std::string::npos)
            return ReplyBuilder(r).Text("ERR: bad set request").Build();
        s.Params().Set(text.substr(0, sep), text.substr(sep + 2));
        return ReplyBuilder(r).Text(text).Build();
    });
}

} // namespace halcyra::sim
