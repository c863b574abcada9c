#pragma once
// A notifier for tests: records every box and answers from a script.

#include "link/Notifier.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace halcyra::test {

struct ShownBox {
    std::string text;
    std::string caption;
    MsgButtons buttons;
    MsgIcon icon;
};

class CRecordingNotifier final : public INotifier {
public:
    MsgAnswer Notify(const std::string& text, const std::string& caption, MsgButtons buttons, MsgIcon icon) override
    {
        shown.push_back({text, caption, buttons, icon});
        if (onShow)
            onShow(shown.back());
        if (!answers.empty()) {
            MsgAnswer a = answers.front();
            answers.pop_front();
            return a;
        }
        return buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
    }
    std::vector<std::string> Texts() const
    {
        std::vector<std::string> t;
        for (const ShownBox& b : shown)
            t.push_back(b.text);
        return t;
    }
    std::vector<ShownBox> shown;
    std::deque<MsgAnswer> answers;
    // Looks at the program while a box is up.
    std::function<void(const ShownBox&)> onShow;
};

} // namespace halcyra::test
