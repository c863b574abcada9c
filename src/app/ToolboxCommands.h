#pragma once
// The rules behind the main dialog's commands, without widgets: the port
// test, the start-up port and warnings, the port choice, the setup sheet
// loop, the advanced single-parameter editor and the about box texts.

#include <functional>
#include <optional>
#include <string>

namespace halcyra {

class CControllerLink;
class CSerialException;
class INotifier;

inline constexpr const char* kPortNotOpenText =
    "Error:  Serial port is not open. Please select an available serial port and try again";
inline constexpr const char* kPortOpenFailedText = "Error: Serial port could not be opened. Please close any other "
                                                   "applications using the serial port and try again";
inline constexpr const char* kInverterWarningText =
    "Disconnect laptop AC power inverters when connected to the serial port of Halcyra.\n"
    "Failure to do so will result in severe performance degradation.";
inline constexpr const char* kInverterWarningCaption = "Disconnect AC Inverters";
inline constexpr const char* kEditSetupFailedText = "Edit Setup CheckHalcyraComms() returned false";
inline constexpr const char* kAdvancedErrorValue = "ERROR";

// The port test of the controller commands: shows the "Serial port is not
// open" box and answers false when the link is closed.
bool PortTest(CControllerLink& link);

// Start-up: opens the link on device (its own "Failed to open up" box
// first), then, when it is not open, " <device> could not be opened." with
// the request to select another port. A port that cannot be opened is not
// an error here: the user can pick another. True when the link is open.
bool OpenStartupPort(CControllerLink& link, const std::string& device);
void ShowInverterWarning(INotifier& notifier);

// Select COM port: closes the link and opens device. An empty device (no
// port chosen) changes nothing. When the open fails the link stays closed,
// the current port stays the previous one, and the "could not be opened"
// box follows the port's own. True when the link is open on device.
bool OpenSelectedPort(CControllerLink& link, const std::string& device);

// The setup sheet's result codes: the tab to reopen at, or -1 to stop.
int ContentsStartTab(int sheetResult);
// Runs the setup sheet (runSheet gets the start tab, returns the result)
// until a result asks for no reopening.
void RunContentsLoop(const std::function<int(int startTab)>& runSheet);

// After an open the system refused for lack of permission: says what the
// user can do about it (the error's own text). Other failures show nothing.
void ExplainPortRefusal(INotifier& notifier, const CSerialException& failure);

// Advanced configuration. Names of 3 to 40 characters are valid; others
// show "Error" / "Invalid Request" and give no value (the field stays).
bool AdvancedNameValid(const std::string& name);
// Reads the parameter as a float: the value printed "%f", or "ERROR".
std::optional<std::string> AdvancedGet(CControllerLink& link, const std::string& name);
// Writes the leading number of valueText (0 when there is none): the number
// printed "%f" when the controller took it, or "ERROR".
std::optional<std::string> AdvancedSet(CControllerLink& link, const std::string& name, const std::string& valueText);
// The leading numeric part of text as a float; 0 when there is none.
float LeadingNumber(const std::string& text);

// About box: "Version 2.86 (R)  - Jul  2 2009".
std::string AboutVersionLine();

} // namespace halcyra
