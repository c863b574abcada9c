#pragma once
// Message boxes on a terminal: "Caption: Text" on standard error; questions
// are answered on standard input, or by a preset answer.

#include "link/Notifier.h"

#include <iosfwd>
#include <optional>
#include <string>

namespace halcyra::cli {

class CTerminalNotifier final : public INotifier {
public:
    CTerminalNotifier(std::ostream& err, std::istream& in) : err_(err), in_(in) {}
    MsgAnswer Notify(const std::string& text, const std::string& caption, MsgButtons buttons, MsgIcon icon) override;
    // Answers every question affirmatively without asking (--yes).
    void AssumeYes(bool yes) { assumeYes_ = yes; }
    int Shown() const { return shown_; }
    // The text of the last box shown, with plain line ends; empty before any.
    const std::string& LastText() const { return lastText_; }

private:
    std::ostream& err_;
    std::istream& in_;
    bool assumeYes_ = false;
    int shown_ = 0;
    std::string lastText_;
};

} // namespace halcyra::cli
