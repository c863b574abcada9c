#pragma once
// Message boxes on a terminal: "Caption: Text" on standard error; questions
// are answered on standard input, or by a preset answer.

#include "link/Notifier.h"

#include <iosfwd>
#include <optional>

namespace halcyra::cli {

class CTerminalNotifier final : public INotifier {
public:
    CTerminalNotifier(std::ostream& err, std::istream& in) : err_(err), in_(in) {}
    MsgAnswer Notify(const std::string& text, const std::string& caption, MsgButtons buttons, MsgIcon icon) override;
    // Answers every question affirmatively without asking (--yes).
    void AssumeYes(bool yes) { assumeYes_ = yes; }
    int Shown() const { return shown_; }

private:
    std::ostream& err_;
    std::istream& in_;
    bool assumeYes_ = false;
    int shown_ = 0;
};

} // namespace halcyra::cli
