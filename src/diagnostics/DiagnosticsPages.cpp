#include "diagnostics/DiagnosticsPages.h"

#include "link/ControllerLink.h"
#include "link/Format.h"
#include "link/MessageIds.h"
#include "link/Notifier.h"
#include "params/Param.h"

#include <algorithm>

namespace halcyra {

namespace {

namespace item = wire::diagnostics;

constexpr DiagSource kRawFloat{DiagQuantity::Raw, DiagType::Float};
constexpr DiagSource kRawByte{DiagQuantity::Raw, DiagType::Byte};
constexpr DiagSource kScaledFloat{DiagQuantity::Scaled, DiagType::Float};
constexpr DiagSource kStateByte{DiagQuantity::State, DiagType::Byte};
constexpr DiagSource FloatParam(const char* name, DiagQuantity into) { return {into, DiagType::Float, name}; }
constexpr DiagSource ByteParam(const char* name, DiagQuantity into) { return {into, DiagType::Byte, name}; }

constexpr DiagLine Raw(const char* unit = "") { return {"Raw:", DiagQuantity::Raw, false, unit}; }
constexpr DiagLine Scaled(const char* unit) { return {"Scaled:", DiagQuantity::Scaled, false, unit}; }
constexpr DiagLine State() { return {"State:", DiagQuantity::State, true}; }
// A page whose only reading is its state shows that byte as the raw value.
constexpr DiagLine StateAsRaw() { return {"Raw:", DiagQuantity::State, false}; }

constexpr std::nullopt_t kOther = std::nullopt;
const std::vector<DiagState> kGearLever{{3, "Reverse"}, {kOther, "Neutral"}, {1, "Forward"}};
const std::vector<DiagState> kCanDirection{{3, "Reverse"}, {kOther, "Stopped"}, {1, "Forward"}};
const std::vector<DiagState> kOverride{{kOther, "Unknown"}, {0, "Not Active"}, {1, "Active"}};
const std::vector<DiagState> kNeutral{{0, "In Neutral"}, {kOther, "Not In Neutral"}};
const std::vector<DiagState> kBalance{{0, "Out Of Balance"}, {kOther, "OK"}};
const std::vector<DiagState> kModuleFault{{0, "OK"}, {kOther, "Fault Detected"}};
const std::vector<DiagState> kSwitch{{kOther, "Not Active"}, {1, "Active"}};
const std::vector<DiagState> kDirection{{kOther, "Unknown"}, {3, "Reverse"}, {2, "Stopped"}, {1, "Forward"}};
const std::vector<DiagState> kNoState{};

// clang-format off
const std::vector<DiagPageRow> kRows = {
    {DiagPage::EngineSpeed, "CDiagEngineSpeedPage", "Engine speed", "Engine Speed", "Engine speed sensor:",
     item::kEngineSpeedItem, {kRawFloat, kScaledFloat}, {Raw("Hz"), Scaled("RPM")}, kNoState},
    {DiagPage::GearLeverAnalog, "CDiagGearLeverIndicationAnalogPage", "Gear Lever (analog)",
     "Gear lever indication (analog)", "Gear lever indication (analog):",
     item::kAnalogGearLeverItem, {kRawFloat, kStateByte}, {State(), Raw("volts")}, kGearLever},
    {DiagPage::GearLeverDigital, "CDiagGearLeverIndicationDigitalPage", "Gear Lever (digital)",
     "Gear lever indication (digital)", "Gear lever indication (digital):",
     item::kDirectionLeverItem, {kRawFloat, kStateByte}, {State(), Raw()}, kGearLever},
    {DiagPage::LeftPumpPressure, "CDiagLeftPumpPressureTransducerPage", "Left Pump Pressure", "Left Pump Pressure",
     "Left Pump PressureTransducer:",
     item::kLeftPumpPressureItem, {kRawFloat, kScaledFloat}, {Raw("volts"), Scaled("psi")}, kNoState},
    {DiagPage::RightPumpPressure, "CDiagRightPumpPressureTransducerPage", "Right Pump Pressure", "Right Pump Pressure",
     "Right Pump PressureTransducer:",
     item::kRightPumpPressureItem, {kRawFloat, kScaledFloat}, {Raw("volts"), Scaled("psi")}, kNoState},
    {DiagPage::ManualOverride, "CDiagManualOverridePressureTransducerPage", "Manual Override", "Manual Override",
     "Manual Override Indication:",
     item::kManualOverrideItem, {kRawFloat, kStateByte}, {State(), Raw()}, kOverride},
    {DiagPage::SteeringAngle, "CDiagSteeringAnglePage", "Steering Angle", "Steering Angle", "Steering Angle Sensor:",
     item::kSteeringAngleItem, {kRawFloat, kScaledFloat}, {Raw("volts"), Scaled("deg")}, kNoState},
    {DiagPage::SteeringAngleCan, "CDiagSteeringAngleCANPage", "Steering Angle (CAN)", "Steering Angle",
     "Steering Angle Sensor:",
     item::kSteeringAngleItem, {kRawFloat, kScaledFloat}, {Raw("1/m"), Scaled("deg")}, kNoState},
    {DiagPage::WheelTransmissionSpeed, "CDiagWheelTransmissionSpeedPage", "Wheel/transmission speed",
     "Wheel/Transmission speed", "Wheel/Transmission speed sensor:",
     item::kWheelSpeedItem, {kRawFloat, kScaledFloat}, {Raw("Hz"), Scaled("m/s")}, kNoState},
    {DiagPage::NeutralSenseDigital, "CDiagNeutralSenseDigitalPage", "Neutral Sense (digital)",
     "Neutral Sense (digital)", "Neutral Sense (digital):",
     item::kNeutralSenseItem, {kStateByte}, {State(), StateAsRaw()}, kNeutral},
    {DiagPage::OutputBalanceVoltage, "CDiagOutputBalanceVoltagePage", "Output Balance Voltage", "Output Balance",
     "Output Balance:",
     item::kOutputBalanceItem, {kRawFloat, kStateByte}, {State(), Raw()}, kBalance},
    {DiagPage::SteeringModuleFault, "CDiagSteeringModuleFaultPage", "Steering Module Fault", "Steering Module Fault",
     "Steering Module Fault Sense:",
     item::kSteeringModuleFaultItem, {kRawByte, kStateByte}, {State(), Raw()}, kModuleFault},
    {DiagPage::VehicleDirectionCan, "CDiagVehicleDirectionIndicationCANPage", "Vehicle Direction (CAN)",
     "Vehicle direction indication (CAN)", "Vehicle direction indication (CAN):",
     item::kDirectionLeverItem, {kRawFloat, kStateByte}, {State()}, kCanDirection},
    {DiagPage::OperatorPresentSwitch, "CDiagOperatorPresentSwitchPage", "Operator Present Switch",
     "OPS Switch (digital)", "Operator Present Switch (digital):", std::nullopt,
     {FloatParam("RODiagOpsSwitchRaw", DiagQuantity::Raw), ByteParam("RODiagOpsSwitchScaled", DiagQuantity::State)},
     {State(), Raw()}, kSwitch},
    {DiagPage::RemoteEngageSwitch, "CDiagRemoteEngageSwitchPage", "Remote Engage Switch",
     "Remote Engage Switch (digital)", "Remote Engage Switch (digital):", std::nullopt,
     {ByteParam("RODiagRemoteEngageSwitchScaled", DiagQuantity::State),
      FloatParam("RODiagRemoteEngageSwitchRaw", DiagQuantity::Raw)},
     {State(), Raw()}, kSwitch},
    {DiagPage::VehicleDirection, "CDiagVehicleDirectionIndicationPage", "Vehicle Direction",
     "Vehicle direction indication", "Vehicle direction indication:", std::nullopt,
     {ByteParam("ROVehDirection", DiagQuantity::State)}, {State()}, kDirection},
};
// clang-format on

const DiagState* FindState(const DiagPageRow& row, std::uint32_t value)
{
    const auto named = std::find_if(row.states.begin(), row.states.end(),
                                    [value](const DiagState& s) { return s.value && *s.value == value; });
    if (named != row.states.end())
        return &*named;
    const auto other = std::find_if(row.states.begin(), row.states.end(), [](const DiagState& s) { return !s.value; });
    return other != row.states.end() ? &*other : nullptr;
}

// A whole-number parameter read for the selection; nothing when the read failed.
std::optional<std::uint32_t> ReadWhole(CControllerLink& link, const std::string& name)
{
    CUIntParam param(name);
    if (!param.Get(link))
        return std::nullopt;
    return param.value;
}

constexpr std::uint32_t kMaxInputs = 20;

bool InRange(std::uint32_t count) { return count >= 1 && count <= kMaxInputs; }

} // namespace

const std::vector<DiagPageRow>& DiagPageRows() { return kRows; }

const DiagPageRow& DiagRow(DiagPage page) { return kRows[static_cast<std::size_t>(page)]; }

std::optional<DiagPage> DiagPageByTitle(std::string_view title)
{
    for (const DiagPageRow& row : kRows)
        if (title == row.title)
            return row.page;
    return std::nullopt;
}

std::string DiagStateText(const DiagPageRow& row, std::uint32_t value)
{
    const DiagState* state = FindState(row, value);
    return state ? state->text : std::string();
}

int DiagStateLevel(const DiagPageRow& row, std::uint32_t value)
{
    const DiagState* state = FindState(row, value);
    return state ? static_cast<int>(state - row.states.data()) : 0;
}

std::optional<DiagPage> DiagPageForInput(std::uint32_t functionCode)
{
    switch (functionCode) {
    case 5:
    case 28:
    case 34:
    case 37:
        return DiagPage::SteeringAngle;
    case 6:
        return DiagPage::WheelTransmissionSpeed;
    case 8:
        return DiagPage::EngineSpeed;
    case 9:
    case 23:
    case 29:
    case 30:
        return DiagPage::ManualOverride;
    case 11:
        return DiagPage::RightPumpPressure;
    case 12:
        return DiagPage::LeftPumpPressure;
    case 13:
    case 19:
        return DiagPage::GearLeverDigital;
    case 15:
    case 20:
        return DiagPage::GearLeverAnalog;
    case 16:
    case 25:
        return DiagPage::SteeringModuleFault;
    case 17:
        return DiagPage::OutputBalanceVoltage;
    case 18:
        return DiagPage::RemoteEngageSwitch;
    case 21:
    case 22:
        return DiagPage::NeutralSenseDigital;
    case 24:
        return DiagPage::OperatorPresentSwitch;
    default:
        return std::nullopt;
    }
}

std::optional<DiagPage> DiagPageForCanSignal(std::uint32_t signalCode)
{
    switch (signalCode) {
    case 1:
        return DiagPage::RemoteEngageSwitch;
    case 2:
        return DiagPage::OperatorPresentSwitch;
    case 3:
        return DiagPage::VehicleDirectionCan;
    case 6:
        return DiagPage::GearLeverDigital;
    case 7:
        return DiagPage::SteeringAngleCan;
    case 8:
        return DiagPage::ManualOverride;
    default:
        return std::nullopt;
    }
}

std::vector<DiagPage> SelectDiagnosticsPages(CControllerLink& link)
{
    std::vector<DiagPage> pages;
    const auto add = [&pages](std::optional<DiagPage> page) {
        if (page && std::find(pages.begin(), pages.end(), *page) == pages.end())
            pages.push_back(*page);
    };
    const auto remove = [&pages](DiagPage page) { std::erase(pages, page); };

    // A silent controller would otherwise show a box for every input.
    CControllerLink::CQuietErrors quiet(link);
    const auto select = [&] {
        const std::uint32_t inputs = ReadWhole(link, "einum").value_or(10);
        if (!InRange(inputs))
            return;
        for (std::uint32_t i = 1; i <= inputs; ++i) {
            std::optional<std::uint32_t> function = ReadWhole(link, Format("ei%u", i));
            // Some controllers keep their tenth input as ei0.
            if (!function && i == 10)
                function = ReadWhole(link, "ei0");
            if (function)
                add(DiagPageForInput(*function));
        }
        const std::uint32_t signals = ReadWhole(link, "csnum").value_or(0);
        if (!InRange(signals))
            return;
        for (std::uint32_t i = 1; i <= signals; ++i)
            if (std::optional<std::uint32_t> signal = ReadWhole(link, Format("cs%u", i)))
                add(DiagPageForCanSignal(*signal));
        CByteParam lso("lso");
        CByteParam vde("vde");
        lso.Get(link);
        vde.Get(link);
        if (lso.value == 1) {
            remove(DiagPage::WheelTransmissionSpeed);
            remove(DiagPage::NeutralSenseDigital);
            add(DiagPage::VehicleDirection);
        }
        if (vde.value == 1) {
            remove(DiagPage::GearLeverDigital);
            remove(DiagPage::GearLeverAnalog);
            add(DiagPage::VehicleDirection);
        }
    };
    select();
    if (quiet.Count() > 0)
        link.Notifier().Notify(kTransactionErrorText, kTransactionErrorCaption, MsgButtons::Ok, MsgIcon::None);
    return pages;
}

std::vector<std::string> DiagnosticsPageTitles(CControllerLink& link)
{
    std::vector<std::string> titles;
    for (DiagPage page : SelectDiagnosticsPages(link))
        titles.push_back(DiagRow(page).title);
    return titles;
}

} // namespace halcyra
