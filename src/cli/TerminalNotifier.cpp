#include "cli/TerminalNotifier.h"

#include <iostream>
#include <string>

namespace halcyra::cli {

MsgAnswer CTerminalNotifier::Notify(const std::string& text, const std::string& caption, MsgButtons buttons, MsgIcon)
{
    ++shown_;
    const std::string shownCaption = caption.empty() || caption == " " ? kAppTitle : caption;
    // Windows line ends in box texts become plain ones on the terminal.
    std::string oneLine;
    oneLine.reserve(text.size());
    for (char ch : text)
        if (ch != '\r')
            oneLine.push_back(ch);
    lastText_ = oneLine;
    // Texts such as "Error: ..." under the caption "Error" say it once.
    if (oneLine.rfind(shownCaption + ":", 0) == 0)
        err_ << oneLine << std::endl;
    else
        err_ << shownCaption << ": " << oneLine << std::endl;
    if (buttons == MsgButtons::Ok)
        return MsgAnswer::Ok;
    const bool okCancel = buttons == MsgButtons::OkCancel;
    if (assumeYes_)
        return okCancel ? MsgAnswer::Ok : MsgAnswer::Yes;
    err_ << (okCancel ? "Continue? [o]k / [c]ancel: " : "[y]es / [n]o: ") << std::flush;
    std::string answer;
    if (!std::getline(in_, answer))
        answer.clear(); // no one to ask: the cautious answer
    const char c = answer.empty() ? '\0' : static_cast<char>(std::tolower(static_cast<unsigned char>(answer[0])));
    if (okCancel)
        return c == 'o' || c == 'y' ? MsgAnswer::Ok : MsgAnswer::Cancel;
    return c == 'y' ? MsgAnswer::Yes : MsgAnswer::No;
}

} // namespace halcyra::cli
