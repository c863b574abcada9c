// get and set of named controller parameters.

#include "cli/Commands.h"
#include "params/Param.h"

#include <cmath>
#include <cstdlib>
#include <optional>
#include <ostream>

namespace halcyra::cli {

namespace {

// Holds a value exactly as the controller wrote it.
class CReplyTextParam final : public CParam {
public:
    explicit CReplyTextParam(std::string_view name, std::string value = {}) : CParam(name), value_(std::move(value)) {}
    std::string ToText() const override { return value_; }
    bool FromText(std::string_view text) override
    {
        value_ = std::string(text);
        return true;
    }
    const std::string& Value() const { return value_; }

private:
    std::string value_;
};

bool IsParamName(const std::string& name) { return name.size() <= kMaxNameCompare && NameTokenLength(name) == name.size(); }

// Why a transaction failed: silence, or replies that arrived damaged.
std::string NoAnswerText(CommandContext& c, const CControllerMsg& msg)
{
    if (msg.RejectedFrames() > 0)
        return "the controller answered, but its " +
               (msg.RejectedFrames() == 1 ? std::string("reply was") : std::to_string(msg.RejectedFrames()) + " replies were") +
               " damaged on the line";
    return "no answer from the controller on " + c.link.CurrentPort();
}

// Gets a parameter's reply text; otherwise why not, in failure.
std::optional<std::string> GetReply(CommandContext& c, const std::string& name, std::string& failure)
{
    CParamTextMsg msg(CParamTextMsg::Get, name);
    if (!c.link.Transact(msg)) {
        failure = NoAnswerText(c, msg);
        return std::nullopt;
    }
    CReplyTextParam param(name);
    if (!param.ParseReply(msg.Text())) {
        const std::size_t n = NameTokenLength(msg.Text());
        const bool otherName = n != 0 && msg.Text().compare(0, n, name) != 0;
        failure = std::string(otherName ? "the controller answered with another name: \"" : "the controller answered \"") +
                  msg.Text() + "\"";
        return std::nullopt;
    }
    return msg.Text();
}

std::string NotANameText(const std::string& name)
{
    return "'" + name + "' is not a parameter name (3 to 40 letters or digits)";
}

std::optional<double> AsNumber(const std::string& text)
{
    const char* start = text.c_str();
    char* end = nullptr;
    const double v = std::strtod(start, &end);
    if (end == start)
        return std::nullopt;
    while (*end == ' ')
        ++end;
    if (*end != '\0' || !std::isfinite(v))
        return std::nullopt;
    return v;
}

// Whether the controller holds the value sent: quoted strings compare as the
// text between the quotes, numbers as numbers (the controller keeps floats
// and prints them with six decimals), anything else as it was written.
bool SameValue(const std::string& sent, const std::string& held)
{
    if (!sent.empty() && sent.front() == '"') {
        CStringParam a("val"), b("val");
        return a.FromText(sent) && b.FromText(held) && a.value == b.value;
    }
    const auto x = AsNumber(sent);
    const auto y = AsNumber(held);
    if (x && y)
        return std::fabs(*x - *y) <= 1e-6 + 1e-6 * std::fmax(std::fabs(*x), std::fabs(*y));
    return sent == held;
}

} // namespace

int CmdGet(CommandContext& c)
{
    bool allOk = true;
    Json read = Json::array();
    for (const std::string& name : c.args.operands) {
        std::string failure;
        std::optional<std::string> reply;
        if (!IsParamName(name))
            failure = NotANameText(name);
        else
            reply = GetReply(c, name, failure);
        if (!reply) {
            allOk = false;
            c.err << "halcyra: " << (IsParamName(name) ? "get " + name + " failed: " : "") << failure << "\n";
            if (c.json)
                read.push_back(NamedFailure(name, failure));
        } else if (c.json) {
            read.push_back(NamedValue(name, reply->substr(name.size() + 2)));
        } else {
            c.out << *reply << "\n" << std::flush;
        }
    }
    if (c.json)
        (*c.json)["parameters"] = std::move(read);
    return allOk ? kExitOk : kExitFailed;
}

int CmdSet(CommandContext& c)
{
    const bool verify = !c.args.Has("--no-verify");
    const std::string& name = c.args.operands[0];
    const std::string& value = c.args.operands[1];
    if (auto problem = CheckSetText(name, value)) {
        c.err << "halcyra: " << *problem << "; nothing was sent\n";
        return kExitUsage;
    }
    if (!IsParamName(name)) {
        c.err << "halcyra: " << NotANameText(name) << "\n";
        return kExitUsage;
    }
    CReplyTextParam param(name, value);
    if (name.size() + 2 + value.size() > CParamTextMsg::kMaxText) {
        param.Set(c.link); // refuses before sending; its box says why
        return kExitFailed;
    }
    CParamTextMsg msg(CParamTextMsg::Set, name + ": " + value);
    if (!c.link.Transact(msg)) {
        c.err << "halcyra: set " << name << " failed: " << NoAnswerText(c, msg) << "\n";
        return kExitFailed;
    }
    if (!verify)
        return kExitOk;
    // The controller answers a set with any text, even for a name it does not
    // know or a value it did not take: only reading the value back tells.
    std::string failure;
    const auto reply = GetReply(c, name, failure);
    if (!reply) {
        c.err << "halcyra: set " << name << ": reading the value back failed: " << failure << "\n";
        return kExitFailed;
    }
    c.out << *reply << "\n" << std::flush;
    const std::string held = reply->substr(name.size() + 2);
    if (!SameValue(value, held)) {
        c.err << "halcyra: set " << name << " failed: the controller holds " << held << ", not " << value << "\n";
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace halcyra::cli
