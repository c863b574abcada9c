#pragma once
// A calibration procedure's surroundings for tests: a simulated controller
// answering in the test's own thread, and a page context whose ticks run on
// a manual clock that moves together with the simulator's time.

#include "InProcessController.h"
#include "pages/DataDirectories.h"
#include "pages/FileChooser.h"
#include "pages/PageContext.h"

#include <chrono>
#include <deque>
#include <string>
#include <vector>

namespace halcyra::test {

// Answers file requests from a list of paths; none left is a cancel.
struct ScriptedFiles final : IFileChooser {
    std::optional<std::string> ChooseFile(const FileRequest& request) override
    {
        requests.push_back(request);
        if (paths.empty())
            return std::nullopt;
        std::string path = paths.front();
        paths.pop_front();
        return path;
    }
    std::vector<FileRequest> requests;
    std::deque<std::string> paths;
};

inline sim::SimSettings Options(std::initializer_list<std::pair<const char*, std::string>> extra)
{
    sim::SimSettings settings;
    for (const auto& [name, value] : extra)
        settings.extra[name] = value;
    return settings;
}

struct CalRig {
    explicit CalRig(sim::SimSettings settings = {})
        : ipc(std::move(settings)), context(ipc.link, ipc.notifier, directories)
    {
        context.files = &files;
        // Every request passes by here, answered or not.
        ipc.unanswered = [this](const sim::Request& r) {
            sent.push_back(r);
            return silent || (withhold && withhold(r));
        };
    }

    // Moves the simulator's time and the page's ticks on together, in the
    // simulator's own steps.
    void Advance(std::chrono::milliseconds span)
    {
        using namespace std::chrono_literals;
        for (std::chrono::milliseconds done{0}; done < span; done += 50ms) {
            ipc.now += 50ms;
            context.ManualClock().Advance(50ms);
        }
    }

    std::string Param(const std::string& name) { return ipc.controller.Params().Get(name).value_or("<none>"); }
    void SetParam(const std::string& name, const std::string& value) { ipc.controller.Params().Set(name, value); }
    std::vector<std::string> Boxes() const { return ipc.notifier.Texts(); }

    // The named-parameter sets sent since the last call, as "name: value".
    std::vector<std::string> TakeSets()
    {
        std::vector<std::string> sets;
        for (const sim::Request& r : sent) {
            const sim::Bytes payload = r.Payload();
            if (r.messageId == 0x40 && r.SubCode() == 0x14 && r.Operation() == 1)
                sets.emplace_back(payload.begin(), payload.end());
        }
        sent.clear();
        return sets;
    }

    InProcessController ipc;
    CDataDirectories directories;
    ScriptedFiles files;
    CPageContext context;
    std::vector<sim::Request> sent;
    bool silent = false; // the cable is pulled
    std::function<bool(const sim::Request&)> withhold;
};

} // namespace halcyra::test
