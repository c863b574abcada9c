#pragma once
// The diagnostics sheet's pages as data. Each page is one row: its texts,
// where its values come from (an item of the diagnostics message, or named
// parameters), how the reply lays them out, the lines it shows and the
// names of its states. Which rows the sheet holds follows the controller's
// input configuration.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace halcyra {

class CControllerLink;

// Ends the setup sheet so that it reopens at the diagnostics tab.
inline constexpr int kDiagContentsResult = 345;

enum class DiagPage {
    EngineSpeed,
    GearLeverAnalog,
    GearLeverDigital,
    LeftPumpPressure,
    RightPumpPressure,
    ManualOverride,
    SteeringAngle,
    SteeringAngleCan,
    WheelTransmissionSpeed,
    NeutralSenseDigital,
    OutputBalanceVoltage,
    SteeringModuleFault,
    VehicleDirectionCan,
    OperatorPresentSwitch,
    RemoteEngageSwitch,
    VehicleDirection,
};
inline constexpr int kDiagPageCount = 16;

// What a page reads: a raw reading, the controller's scaled value of it,
// and a state it decodes into a text.
enum class DiagQuantity { Raw, Scaled, State };
enum class DiagType { Float, Byte };

// One value of the reply's payload, in the order it arrives; or, on the
// pages that read parameters, one parameter.
struct DiagSource {
    DiagQuantity into;
    DiagType type;
    const char* param = nullptr;
};

// One line the page shows, "Raw:" and its value, say.
struct DiagLine {
    const char* label;
    DiagQuantity quantity;
    bool asText = false; // the state's text, not its number
    const char* unit = "";
};

// A state's text for one value; no value stands for every value the other
// entries do not name. The entries are in the order a trend stacks them,
// lowest first.
struct DiagState {
    std::optional<std::uint32_t> value;
    const char* text;
};

struct DiagPageRow {
    DiagPage page;
    const char* pageClass;
    const char* title;   // the tab and the contents list
    const char* caption; // the page's own window caption
    const char* heading;
    std::optional<std::uint8_t> item; // the diagnostics message's item; none: the page reads parameters
    std::vector<DiagSource> sources;
    std::vector<DiagLine> lines;
    std::vector<DiagState> states; // empty on pages without a state
};

// Every page, in the order of DiagPage.
const std::vector<DiagPageRow>& DiagPageRows();
const DiagPageRow& DiagRow(DiagPage page);
std::optional<DiagPage> DiagPageByTitle(std::string_view title);

// The text of a state value on a page.
std::string DiagStateText(const DiagPageRow& row, std::uint32_t value);
// Where the value's text stands in the page's states, lowest first.
int DiagStateLevel(const DiagPageRow& row, std::uint32_t value);

// The page an input's function code or a CAN signal's code calls for.
std::optional<DiagPage> DiagPageForInput(std::uint32_t functionCode);
std::optional<DiagPage> DiagPageForCanSignal(std::uint32_t signalCode);

// The pages the diagnostics sheet holds for the connected controller, in
// order: inputs first, then CAN signals, then the vehicle direction page.
// Reads the input configuration; a controller that does not answer gets one
// error box for the whole selection.
std::vector<DiagPage> SelectDiagnosticsPages(CControllerLink& link);
// Their titles.
std::vector<std::string> DiagnosticsPageTitles(CControllerLink& link);

} // namespace halcyra
