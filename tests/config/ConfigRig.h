#pragma once
// A simulated controller in the test's own thread, for the configuration
// pages' rules: options as on the command line, an instant restart, and a
// record of the requests it was sent.

#include "InProcessController.h"
#include "link/MessageIds.h"
#include "pages/PageLogic.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace halcyra::test {

struct SentRequest {
    std::uint8_t messageId, subCode, operation;
    std::string text; // the payload as text (a parameter's name, or "name: value")
};

inline sim::SimSettings RigSettings(std::initializer_list<std::pair<const char*, const char*>> options)
{
    sim::SimSettings settings;
    settings.restartTime = std::chrono::milliseconds(0);
    for (const auto& [name, value] : options)
        settings.extra[name] = value;
    return settings;
}

struct ConfigRig : InProcessController {
    explicit ConfigRig(std::initializer_list<std::pair<const char*, const char*>> options = {})
        : InProcessController(RigSettings(options))
    {
        unanswered = [this](const sim::Request& r) {
            const sim::Bytes payload = r.Payload();
            std::string text(payload.begin(), payload.end());
            if (auto nul = text.find('\0'); nul != std::string::npos)
                text.resize(nul);
            sent.push_back({r.messageId, r.SubCode(), r.Operation(), text});
            return false;
        };
    }
    // Sets a parameter the controller holds, in its text form.
    void Set(const std::string& name, const std::string& value)
    {
        ASSERT_EQ(sim::CParamStore::SetResult::Stored, controller.Params().Set(name, value)) << name << " " << value;
    }
    std::string Param(const std::string& name) { return controller.Params().Get(name).value_or("<none>"); }
    // The parameter sets sent, "name: value" each, in order.
    std::vector<std::string> Sets() const
    {
        std::vector<std::string> texts;
        for (const SentRequest& r : sent)
            if (r.messageId == wire::kInfoMsg && r.subCode == wire::info::kParamSub &&
                r.operation == wire::info::kParamSetOp)
                texts.push_back(r.text);
        return texts;
    }
    int Gets(const std::string& name) const
    {
        int n = 0;
        for (const SentRequest& r : sent)
            n += r.messageId == wire::kInfoMsg && r.subCode == wire::info::kParamSub &&
                 r.operation == wire::info::kParamGetOp && r.text == name;
        return n;
    }

    std::vector<SentRequest> sent;
};

} // namespace halcyra::test
