#pragma once
// A simulated controller for the diagnostics tests: its setup written by the
// test, parameter answers and diagnostics payloads scripted where a test
// needs exact values, names asked and readings requested recorded, and a
// cable that can be pulled.

#include "InProcessController.h"
#include "link/MessageIds.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace halcyra::test {

inline sim::Bytes FloatBytes(float value)
{
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, 4);
    return {static_cast<std::uint8_t>(bits >> 24), static_cast<std::uint8_t>(bits >> 16),
            static_cast<std::uint8_t>(bits >> 8), static_cast<std::uint8_t>(bits)};
}

inline sim::Bytes operator+(sim::Bytes a, const sim::Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct DiagController : InProcessController {
    // setup: the controller's parameter records, replacing the default tractor's.
    explicit DiagController(const std::string& setup = {})
    {
        if (!setup.empty()) {
            sim::CParamStore store;
            std::string error;
            EXPECT_TRUE(store.LoadText(setup, error)) << error;
            controller.Params() = store;
        }
        unanswered = [this](const sim::Request& r) { return Intercept(r); };
    }

    bool Intercept(const sim::Request& r)
    {
        if (pulled)
            return true;
        if (r.messageId == wire::kInfoMsg && r.SubCode() == wire::info::kParamSub &&
            r.Operation() == wire::info::kParamGetOp) {
            const std::string name(r.body.begin() + 2, r.body.end());
            asked.push_back(name);
            if (silent.count(name))
                return true;
            if (auto answer = answers.find(name); answer != answers.end()) {
                Reply(r, 2, sim::Bytes(answer->second.begin(), answer->second.end()));
                return true;
            }
        }
        if (r.messageId == wire::kDiagnosticsMsg) {
            readings.push_back(r);
            if (payload) {
                Reply(r, 4, *payload);
                return true;
            }
        }
        return false;
    }

    void Reply(const sim::Request& r, std::size_t headerBytes, const sim::Bytes& bytes)
    {
        port.Feed(sim::CSimController::FrameReply(sim::ReplyBuilder(r, headerBytes).Raw(bytes).Build()));
    }

    std::vector<std::string> asked;           // parameter names, in the order asked
    std::set<std::string> silent;             // names never answered
    std::map<std::string, std::string> answers; // name -> the whole reply text
    std::optional<sim::Bytes> payload;        // the payload of every diagnostics reply
    std::vector<sim::Request> readings;       // diagnostics requests
    bool pulled = false;                      // nothing is answered
};

} // namespace halcyra::test
