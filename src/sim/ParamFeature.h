#pragma once
// Named parameters (message 64, sub-code 0x14): gets and sets on the
// controller's parameter store. Names the firmware does not know are
// refused whatever the store holds, and other features may answer the gets
// of some names themselves.

#include "sim/SimFeature.h"

#include <functional>
#include <optional>
#include <set>
#include <string>

namespace halcyra::sim {

// The "unknown-params" option: comma-separated parameter names.
struct ParamNames {
    std::set<std::string> names;
};
bool ParseOptionValue(std::string_view text, ParamNames& value, std::string& why);

class CParamFeature final : public CSimFeature {
public:
    // A value text to answer a get of name with, or nothing to let the store answer.
    using GetAnswer = std::function<std::optional<std::string>(CSimController&, const std::string& name)>;

    static std::vector<const CSimOption*> Options();
    explicit CParamFeature(const SimSettings& settings);
    void Register(CSimController& sim) override;

    void AnswerGets(GetAnswer answer) { answers_.push_back(std::move(answer)); }
    // False for names this firmware does not know.
    bool Knows(const std::string& name) const { return unknown_.count(name) == 0; }

private:
    std::string GetReply(CSimController& sim, const std::string& name);
    std::string SetReply(CSimController& sim, const std::string& text);
    // The answer to a request the firmware refuses.
    std::string Refuse(const std::string& name, const std::string& reason) const;

    std::set<std::string> unknown_;
    std::string refusalText_;
    std::vector<GetAnswer> answers_;
};

} // namespace halcyra::sim
