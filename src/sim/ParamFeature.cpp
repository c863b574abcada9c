#include "sim/ParamFeature.h"

#include "link/MessageIds.h"
#include "sim/SimController.h"

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

// Refusals are never of the form "name: value", so a client that reads the
// reply as a parameter cannot mistake one for a value. They show at most the
// 40 characters of a name that count, so they always fit a reply frame.
std::string Refusal(const std::string& name, const std::string& reason)
{
    return name.substr(0, 40) + "? " + reason;
}

std::string SetReply(CParamStore& params, const std::string& text)
{
    const std::size_t sep = text.find(": ");
    if (sep == std::string::npos)
        return "? malformed set request";
    const std::string name = text.substr(0, sep);
    const std::string value = text.substr(sep + 2);
    switch (params.Set(name, value)) {
    case CParamStore::SetResult::Stored:
        return text;
    case CParamStore::SetResult::UnknownName:
        return Refusal(name, "unknown parameter");
    case CParamStore::SetResult::WrongType:
        break;
    }
    return Refusal(name, std::string("expects ") + TypeName(*params.Type(name)));
}

} // namespace

void CParamFeature::Register(CSimController& sim)
{
    sim.On(wire::kInfoMsg, wire::info::kParamSub, wire::info::kParamGetOp, [](CSimController& s, const Request& r) -> std::optional<Bytes> {
        std::string name = PayloadText(r);
        auto value = s.LiveParam(name);
        if (!value)
            value = s.Params().Get(name);
        std::string text = value ? name + ": " + *value : Refusal(name, "unknown parameter");
        return ReplyBuilder(r).Text(text).Build();
    });
    // A set stores a value of the parameter's type and echoes the request;
    // anything else is refused and the old value kept.
    sim.On(wire::kInfoMsg, wire::info::kParamSub, wire::info::kParamSetOp, [](CSimController& s, const Request& r) -> std::optional<Bytes> {
        return ReplyBuilder(r).Text(SetReply(s.Params(), PayloadText(r))).Build();
    });
}

} // namespace halcyra::sim
