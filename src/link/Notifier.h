#pragma once
// The one way message boxes reach the user. The desktop app shows a dialog,
// the command line prints and reads, tests script the answers and record texts.

#include <string>

namespace halcyra {

enum class MsgButtons { Ok, OkCancel, YesNo };
enum class MsgIcon { None, Information, Exclamation, Stop, Question };
// Values match the platform's button codes, which pages store and compare.
enum class MsgAnswer { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

// Caption used by boxes that have no caption of their own.
inline constexpr const char* kAppTitle = "Halcyra Toolbox";

class INotifier {
public:
    virtual ~INotifier() = default;
    virtual MsgAnswer Notify(const std::string& text, const std::string& caption,
                             MsgButtons buttons, MsgIcon icon) = 0;
};

// Answers every box with its affirmative choice and shows nothing.
class CSilentNotifier final : public INotifier {
public:
    MsgAnswer Notify(const std::string&, const std::string&, MsgButtons buttons, MsgIcon) override
    {
        switch (buttons) {
        case MsgButtons::OkCancel:
            return MsgAnswer::Ok;
        case MsgButtons::YesNo:
            return MsgAnswer::Yes;
        case MsgButtons::Ok:
            break;
        }
        return MsgAnswer::Ok;
    }
};

} // namespace halcyra
