#pragma once
// Message boxes of the desktop program, and a stand-in that writes them to
// standard error when no one is there to press a button (rendering,
// start-up measurement).

#include "link/Notifier.h"

#include <QMessageBox>

#include <iosfwd>

namespace halcyra {

QMessageBox::Icon ToQtIcon(MsgIcon icon);

class CMessageBoxNotifier final : public INotifier {
public:
    MsgAnswer Notify(const std::string& text, const std::string& caption, MsgButtons buttons, MsgIcon icon) override;
};

// "Caption: Text" on the stream; every question gets its affirmative answer.
class CStreamNotifier final : public INotifier {
public:
    explicit CStreamNotifier(std::ostream& out) : out_(out) {}
    MsgAnswer Notify(const std::string& text, const std::string& caption, MsgButtons buttons, MsgIcon icon) override;

private:
    std::ostream& out_;
};

} // namespace halcyra
