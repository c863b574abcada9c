// get and set of named controller parameters.

#include "cli/Commands.h"
#include "params/Param.h"

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

} // namespace

int CmdGet(CommandContext& c)
{
    if (c.args.empty()) {
        c.err << "usage: halcyra get NAME...\n";
        return kExitUsage;
    }
    bool allOk = true;
    for (const std::string& name : c.args) {
        if (!IsParamName(name)) {
            c.err << "halcyra: '" << name << "' is not a parameter name (3 to 40 letters or digits)\n";
            allOk = false;
            continue;
        }
        CParamTextMsg msg(CParamTextMsg::Get, name);
        if (!c.link.Transact(msg)) {
            // The rest would only time out the same way.
            c.err << "halcyra: no answer from the controller on " << c.link.CurrentPort() << "\n";
            return kExitFailed;
        }
        CReplyTextParam param(name);
        if (param.ParseReply(msg.Text())) {
            c.out << msg.Text() << "\n" << std::flush;
        } else {
            c.err << "halcyra: get " << name << " failed: the controller answered \"" << msg.Text() << "\"\n";
            allOk = false;
        }
    }
    return allOk ? kExitOk : kExitFailed;
}

int CmdSet(CommandContext& c)
{
    if (c.args.size() != 2) {
        c.err << "usage: halcyra set NAME VALUE\n";
        return kExitUsage;
    }
    const std::string& name = c.args[0];
    if (!IsParamName(name)) {
        c.err << "halcyra: '" << name << "' is not a parameter name (3 to 40 letters or digits)\n";
        return kExitUsage;
    }
    CReplyTextParam param(name, c.args[1]);
    if (param.Set(c.link))
        return kExitOk;
    if (name.size() + 2 + c.args[1].size() > CParamTextMsg::kMaxText)
        return kExitFailed; // refused before sending; its box said why
    c.err << "halcyra: no answer from the controller on " << c.link.CurrentPort() << "\n";
    return kExitFailed;
}

} // namespace halcyra::cli
