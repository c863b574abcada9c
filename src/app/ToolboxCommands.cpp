#include "app/ToolboxCommands.h"

#include "link/ControllerLink.h"
#include "link/Notifier.h"
#include "link/SerialPort.h"
#include "params/Param.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace halcyra {

bool PortTest(CControllerLink& link)
{
    if (link.IsOpen())
        return true;
    link.Notifier().Notify(kPortNotOpenText, "Error", MsgButtons::Ok, MsgIcon::Stop);
    return false;
}

bool OpenStartupPort(CControllerLink& link, const std::string& device)
{
    std::optional<CSerialException> failure;
    if (!link.IsOpen()) {
        try {
            link.Open(device, true);
        } catch (const CSerialException& e) {
            failure = e; // reported below; the user can choose another port
        }
    }
    if (link.IsOpen())
        return true;
    link.Notifier().Notify(" " + device + " could not be opened.\n\nPlease select a different communication port\n",
                           "Error", MsgButtons::Ok, MsgIcon::Stop);
    if (failure)
        ExplainPortRefusal(link.Notifier(), *failure);
    return false;
}

void ExplainPortRefusal(INotifier& notifier, const CSerialException& failure)
{
    if (failure.PermissionDenied())
        notifier.Notify(std::string("Error: ") + failure.what(), "Permission Denied", MsgButtons::Ok, MsgIcon::Stop);
}

void ShowInverterWarning(INotifier& notifier)
{
    notifier.Notify(kInverterWarningText, kInverterWarningCaption, MsgButtons::Ok, MsgIcon::Exclamation);
}

bool OpenSelectedPort(CControllerLink& link, const std::string& device)
{
    if (device.empty())
        return false;
    const std::string previous = link.CurrentPort();
    if (link.IsOpen())
        link.Close();
    std::optional<CSerialException> failure;
    try {
        link.Open(device, true);
    } catch (const CSerialException& e) {
        failure = e; // the port has shown its own box; ours follows
    }
    if (link.IsOpen())
        return true;
    link.SetCurrentPort(previous);
    link.Notifier().Notify(kPortOpenFailedText, "Error", MsgButtons::Ok, MsgIcon::Stop);
    if (failure)
        ExplainPortRefusal(link.Notifier(), *failure);
    return false;
}

int ContentsStartTab(int sheetResult)
{
    switch (sheetResult) {
    case 152:
        return 0;
    case 134:
        return 1;
    case 345:
        return 2;
    default:
        return -1;
    }
}

void RunContentsLoop(const std::function<int(int startTab)>& runSheet)
{
    for (int tab = 0; tab >= 0;)
        tab = ContentsStartTab(runSheet(tab));
}

bool AdvancedNameValid(const std::string& name) { return name.size() >= 3 && name.size() <= 40; }

float LeadingNumber(const std::string& text)
{
    // Only a plain decimal number counts: "inf", "nan" and hexadecimal
    // forms are not numbers a controller parameter can take.
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    const std::size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    std::size_t digits = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
        ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
            ++i, ++digits;
    }
    if (digits == 0)
        return 0.0f;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        if (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j]))) {
            while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j])))
                ++j;
            i = j;
        }
    }
    return std::strtof(text.substr(start, i - start).c_str(), nullptr);
}

namespace {

bool CheckName(CControllerLink& link, const std::string& name)
{
    if (AdvancedNameValid(name))
        return true;
    link.Notifier().Notify("Error", "Invalid Request", MsgButtons::Ok, MsgIcon::None);
    return false;
}

} // namespace

std::optional<std::string> AdvancedGet(CControllerLink& link, const std::string& name)
{
    if (!CheckName(link, name))
        return std::nullopt;
    CFloatParam param(name);
    try {
        if (param.Get(link))
            return param.ToText();
    } catch (const CSerialException&) {
        // A closed port fails like any other get.
    }
    return kAdvancedErrorValue;
}

std::optional<std::string> AdvancedSet(CControllerLink& link, const std::string& name, const std::string& valueText)
{
    if (!CheckName(link, name))
        return std::nullopt;
    CFloatParam param(name);
    param.value = LeadingNumber(valueText);
    // A number past the float range would go out as "inf".
    if (!std::isfinite(param.value))
        return kAdvancedErrorValue;
    try {
        if (param.Set(link))
            return param.ToText();
    } catch (const CSerialException&) {
    }
    return kAdvancedErrorValue;
}

std::string AboutVersionLine()
{
    const std::string version = "Version 2.86";
    const std::string buildDate = "Jul  2 2009";
    return version + " (R) " + " - " + buildDate;
}

} // namespace halcyra
