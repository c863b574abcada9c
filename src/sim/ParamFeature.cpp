#include "sim/ParamFeature.h"

#include "link/MessageIds.h"
#include "sim/SimController.h"

#include <cctype>

namespace halcyra::sim {

namespace {

const TSimOption<ParamNames> kUnknownParams{
    "unknown-params", "NAMES", "",
    "parameters this firmware does not know, comma-separated (their gets and sets are refused)"};
const TSimOption<std::string> kRefusalText{
    "refusal-text", "TEXT", "",
    "what a get or set of an unknown name is answered with, in place of \"NAME? unknown parameter\" "
    "(a firmware that answers \"ERR: unknown parameter\", say)",
    [](const std::string& text, std::string& why) {
        why = "a refusal text has at most 227 characters";
        return text.size() <= 227;
    }};

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

} // namespace

std::string CParamFeature::Refuse(const std::string& name, const std::string& reason) const
{
    return refusalText_.empty() ? Refusal(name, reason) : refusalText_;
}

bool ParseOptionValue(std::string_view text, ParamNames& value, std::string& why)
{
    value.names.clear();
    while (!text.empty()) {
        const std::size_t comma = text.find(',');
        const std::string_view name = text.substr(0, comma);
        bool ok = name.size() >= 3 && name.size() <= 40;
        for (char c : name)
            ok = ok && std::isalnum(static_cast<unsigned char>(c));
        if (!ok) {
            why = "expected parameter names of 3 to 40 letters or digits, comma-separated";
            return false;
        }
        value.names.emplace(name);
        text.remove_prefix(comma == std::string_view::npos ? text.size() : comma + 1);
    }
    return true;
}

std::vector<const CSimOption*> CParamFeature::Options() { return {&kUnknownParams, &kRefusalText}; }

CParamFeature::CParamFeature(const SimSettings& settings)
    : unknown_(kUnknownParams.From(settings).names), refusalText_(kRefusalText.From(settings))
{
}

std::string CParamFeature::GetReply(CSimController& sim, const std::string& name)
{
    if (!Knows(name))
        return Refuse(name, "unknown parameter");
    for (const GetAnswer& answer : answers_)
        if (std::optional<std::string> value = answer(sim, name))
            return name + ": " + *value;
    auto value = sim.Params().Get(name);
    return value ? name + ": " + *value : Refuse(name, "unknown parameter");
}

std::string CParamFeature::SetReply(CSimController& sim, const std::string& text)
{
    const std::size_t sep = text.find(": ");
    if (sep == std::string::npos)
        return "? malformed set request";
    const std::string name = text.substr(0, sep);
    const std::string value = text.substr(sep + 2);
    if (!Knows(name))
        return Refuse(name, "unknown parameter");
    CParamStore& params = sim.Params();
    switch (params.Set(name, value)) {
    case CParamStore::SetResult::Stored:
        return text;
    case CParamStore::SetResult::UnknownName:
        return Refuse(name, "unknown parameter");
    case CParamStore::SetResult::WrongType:
        break;
    }
    return Refusal(name, std::string("expects ") + TypeName(*params.Type(name)));
}

void CParamFeature::Register(CSimController& sim)
{
    sim.On(wire::kInfoMsg, wire::info::kParamSub, wire::info::kParamGetOp, [this](CSimController& s, const Request& r) -> std::optional<Bytes> {
        return ReplyBuilder(r).Text(GetReply(s, PayloadText(r))).Build();
    });
    // A set stores a value of the parameter's type and echoes the request;
    // anything else is refused and the old value kept.
    sim.On(wire::kInfoMsg, wire::info::kParamSub, wire::info::kParamSetOp, [this](CSimController& s, const Request& r) -> std::optional<Bytes> {
        return ReplyBuilder(r).Text(SetReply(s, PayloadText(r))).Build();
    });
}

} // namespace halcyra::sim
