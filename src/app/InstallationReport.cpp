#include "app/InstallationReport.h"

#include "calibration/AutoDeadZoneCal.h"
#include "calibration/CalibrationFields.h"
#include "calibration/CalibrationPages.h"
#include "calibration/CalibrationUnits.h"
#include "calibration/ElecTrackPagesCal.h"
#include "calibration/Orientation.h"
#include "calibration/PumpCal.h"
#include "calibration/SimpleCalibrations.h"
#include "calibration/SteerSensorCal.h"
#include "calibration/TrackSteeringCal.h"
#include "config/ConfigurationPages.h"
#include "config/DisplayModel.h"
#include "config/DoroZirivModel.h"
#include "config/GpsModel.h"
#include "config/LightbarModel.h"
#include "config/OperationModel.h"
#include "config/RadioModel.h"
#include "config/SensorsModel.h"
#include "config/ValveOnSpeedModel.h"
#include "config/VehicleChange.h"
#include "link/ControllerLink.h"
#include "link/Files.h"
#include "link/Format.h"
#include "params/ParamSet.h"
#include "setup/BlockTransfer.h"
#include "setup/Faults.h"
#include "setup/InformationModel.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <functional>

namespace halcyra {

namespace {

// Asks the controller while it answers. A request that got nothing at all
// back, twice in a row, means it has stopped: nothing more is asked, so a
// controller that goes away costs two time-outs, not one per value.
class CReportReader {
public:
    explicit CReportReader(CControllerLink& link) : link_(link), quiet_(link) {}

    CControllerLink& Link() { return link_; }
    bool Stopped() const { return stopped_; }

    // Runs one request (or a page's reading of several); true when it succeeded.
    bool Ask(const std::function<bool()>& request)
    {
        if (stopped_)
            return false;
        const std::uint64_t before = link_.BytesReceived();
        const bool ok = request();
        if (ok || link_.BytesReceived() != before)
            silent_ = 0;
        else if (++silent_ >= 2)
            stopped_ = true;
        return ok;
    }
    // A reading that says nothing of its success: it counts as answered
    // when anything came back.
    bool Run(const std::function<void()>& reading)
    {
        const std::uint64_t before = link_.BytesReceived();
        return Ask([&] {
            reading();
            return link_.BytesReceived() != before;
        });
    }
    bool Get(CParam& param)
    {
        return Ask([&] { return param.Get(link_); });
    }
    bool GetAll(const CParamSet& set)
    {
        bool all = true;
        for (CParam* param : set.Members())
            all = Get(*param) && all;
        return all;
    }

private:
    CControllerLink& link_;
    CControllerLink::CQuietErrors quiet_;
    int silent_ = 0;
    bool stopped_ = false;
};

std::string WithoutColon(std::string label)
{
    while (!label.empty() && (label.back() == ':' || label.back() == ' '))
        label.pop_back();
    return label;
}

// A page's note as running text: its line ends kept, tabs and runs of
// blanks made one blank.
std::string Tidy(const std::string& text)
{
    std::string tidy;
    for (char c : text) {
        if (c == '\r')
            continue;
        if (c == '\t')
            c = ' ';
        if (c == ' ' && (tidy.empty() || tidy.back() == ' ' || tidy.back() == '\n'))
            continue;
        if (c == '\n' && !tidy.empty() && tidy.back() == ' ')
            tidy.pop_back();
        tidy += c;
    }
    while (!tidy.empty() && (tidy.back() == ' ' || tidy.back() == '\n'))
        tidy.pop_back();
    return tidy;
}

ReportRow Value(std::string label, std::string value, bool read, std::string unit = {})
{
    if (!read)
        return {WithoutColon(std::move(label)), kNotReadText, {}, false};
    return {WithoutColon(std::move(label)), std::move(value), std::move(unit), true};
}

ReportRow Note(const std::string& text) { return {{}, Tidy(text), {}, true, true}; }

std::string ChoiceText(const FieldSpec& field)
{
    const int index = FieldChoiceIndex(field);
    const std::vector<FieldChoice> choices = FieldChoices(field);
    return index >= 0 ? choices[static_cast<std::size_t>(index)].text : std::string("-");
}

std::string ValueTextOf(const FieldSpec& field, const CUnitsParam* units)
{
    switch (field.kind) {
    case FieldKind::ComboByPosition:
    case FieldKind::ComboByData:
    case FieldKind::RadioGroup:
        return ChoiceText(field);
    case FieldKind::CheckBox:
        return std::lround(field.value.GetNumber()) == field.checkedValue ? "Yes" : "No";
    case FieldKind::Slider: {
        std::string text = FieldText(field, units);
        if (field.range && !field.lowEndText.empty())
            text += Format(" (%g %s to %g %s)", field.range->minimum, field.lowEndText.c_str(), field.range->maximum,
                           field.highEndText.c_str());
        return text;
    }
    default:
        return FieldText(field, units);
    }
}

// The rows of a page's fields as the page shows them. A choice without a
// label of its own is named by the caption above it, or by the page's
// heading. Captions and fixed notes are the page's, not this vehicle's, and
// are left out; notes that follow the values stay, unless what they
// follow was not read (notes false). read: false when what the fields show
// did not come from the controller at all.
void AddFieldRows(ReportSection& section, const PageFields& fields, const CUnitsParam* units,
                  const std::string& heading, bool read = true, bool notes = true)
{
    std::string caption = heading;
    for (const FieldSpec& field : fields) {
        if (!FieldVisible(field))
            continue;
        if (field.kind == FieldKind::StaticText) {
            if (!field.value.IsBound())
                caption = field.label;
            else if (const std::string text = FieldText(field); read && notes && !text.empty())
                section.rows.push_back(Note(text));
            continue;
        }
        const std::string label = field.label.empty() ? caption : field.label;
        const bool fieldRead = read && FieldValueRead(field);
        section.rows.push_back(Value(label, ValueTextOf(field, units), fieldRead, FieldUnitText(field, units)));
    }
}

// ---------------------------------------------------------------- configuration

struct PageReading {
    CReportReader& reader;
    CPageLogic logic;

    // What the page base does when the page is shown: the display unit, then
    // the page's parameters.
    void Fetch()
    {
        reader.Get(logic.units);
        reader.GetAll(logic.params);
    }
};

ReportSection ConfigurationSection(CReportReader& reader, ConfigPage page)
{
    ReportSection section{ConfigPageTitle(page), {}, -1};
    const std::string heading = ConfigPageHeading(page);
    PageReading p{reader, {}};
    CControllerLink& link = reader.Link();
    const CUnitsParam* units = &p.logic.units;
    switch (page) {
    case ConfigPage::VehicleModel:
        break; // the report's own vehicle section
    case ConfigPage::Display: {
        CDisplayModel model(p.logic);
        p.Fetch();
        AddFieldRows(section, model.Fields(), units, heading);
        break;
    }
    case ConfigPage::GPS: {
        CGpsModel model(p.logic);
        p.Fetch();
        reader.Run([&] { model.BuildLists(link); });
        model.Rules();
        AddFieldRows(section, model.Fields(), units, heading);
        break;
    }
    case ConfigPage::Lightbar: {
        CLightbarModel model(p.logic);
        p.Fetch();
        model.Rules();
        AddFieldRows(section, model.Fields(), units, heading);
        break;
    }
    case ConfigPage::Operation: {
        COperationModel model(p.logic);
        p.Fetch();
        AddFieldRows(section, model.Fields(), units, heading);
        break;
    }
    case ConfigPage::DoroZiriv: {
        CDoroZirivModel model(p.logic);
        p.Fetch();
        model.ApplyProfileSupport();
        // The note says what the vehicle profile supports ("gss").
        AddFieldRows(section, model.Fields(), units, heading, true, model.supported.IsRetrieved());
        break;
    }
    case ConfigPage::Sensors: {
        CSensorsModel model(p.logic);
        reader.Run([&] { model.BeforeActivation(link); });
        p.Fetch();
        model.Rules();
        AddFieldRows(section, model.Fields(), units, heading);
        break;
    }
    case ConfigPage::LowSpeed: {
        CValveOnSpeedModel model;
        p.Fetch();
        const bool read = reader.Run([&] { model.Read(link, p.logic.units.UnitIndex()); });
        AddFieldRows(section, model.Fields(), units, heading, read);
        break;
    }
    case ConfigPage::Radio: {
        CRadioModel model(p.logic);
        CNoBusyIndicator notBusy;
        reader.Run([&] { model.InspectRadio(link, notBusy); });
        p.Fetch();
        AddFieldRows(section, model.Fields(), units, heading);
        if (!model.notice.empty())
            section.rows.push_back(Note(model.notice));
        break;
    }
    }
    return section;
}

// ---------------------------------------------------------------- calibration

std::string Sides(const std::string& left, const std::string& right)
{
    return std::string(kLeftSideText) + " " + left + ", " + kRightSideText + " " + right;
}

// The first lines of the controller's dead-zone calibration report (block 8),
// whose layout is the controller's own.
void AddDeadZoneReport(CReportReader& reader, ReportSection& section)
{
    constexpr std::size_t kSummaryLines = 6;
    std::string bytes;
    const bool read = reader.Ask([&] {
        CBlockTransfer transfer(reader.Link());
        return transfer.DownloadToMemory(kDeadZoneReportBlock, bytes);
    });
    if (!read) {
        section.rows.push_back(Value("Controller's calibration report", {}, false));
        return;
    }
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos)
            end = bytes.size();
        std::string line = Tidy(bytes.substr(start, end - start));
        std::erase_if(line, [](char c) { return std::iscntrl(static_cast<unsigned char>(c)) != 0; });
        if (!line.empty())
            lines.push_back(std::move(line));
        start = end + 1;
    }
    if (lines.empty()) {
        section.rows.push_back(Value("Controller's calibration report", "empty", true));
        return;
    }
    std::string summary = "Controller's calibration report:";
    for (std::size_t i = 0; i < lines.size() && i < kSummaryLines; ++i)
        summary += "\n" + lines[i];
    if (lines.size() > kSummaryLines)
        summary += Format("\n(%d more lines)", static_cast<int>(lines.size() - kSummaryLines));
    section.rows.push_back(Note(summary));
}

// One calibration page's reading: its parameters, the display unit, and the
// section its values go to.
struct CalReading {
    CReportReader& reader;
    ReportSection& section;
    std::string heading;
    CParamSet set{};
    CUnitsParam units{nullptr};

    // What the page base does when the page is shown.
    void Fetch()
    {
        reader.Get(units);
        reader.GetAll(set);
    }
    bool AllRead() const
    {
        return std::all_of(set.Members().begin(), set.Members().end(), [](const CParam* p) { return p->IsRetrieved(); });
    }
    void Add(const PageFields& fields, bool read = true) { AddFieldRows(section, fields, &units, heading, read); }
    void Add(ReportRow row) { section.rows.push_back(std::move(row)); }
};

void ReadOrientation(CalReading& r)
{
    COrientationCal orientation(r.set);
    r.Fetch();
    orientation.FromParams();
    r.Add(OrientationAngleFields(CFieldValue::Number(orientation.Yaw()), CFieldValue::Number(orientation.Pitch()),
                                 CFieldValue::Number(orientation.Roll())));
    if (r.AllRead())
        r.section.picture = orientation.Picture();
}

void ReadAntenna(CalReading& r)
{
    CAntennaHeightParam height(&r.set);
    CLengthParam distance("alx", &r.set);
    r.Fetch();
    r.Add(AntennaFields(height, distance));
}

void ReadRoll(CalReading& r)
{
    CRollCorrection roll(r.set);
    r.Fetch();
    roll.FromParams();
    r.Add(RollFields(roll));
}

void ReadTrackSpacing(CalReading& r)
{
    CLengthParam trackSpacing("trw", &r.set);
    r.Fetch();
    r.Add(TrackSpacingFields(trackSpacing));
}

// The sensor as it reads now: what the calibration made of it.
void ReadSteerSensor(CalReading& r)
{
    std::string volts, angle;
    const bool read = r.reader.Ask([&] { return ReadSensor(r.reader.Link(), volts, angle); });
    r.Add(SteerSensorFields(CFieldValue::Text(volts), CFieldValue::Text(angle)), read);
}

void ReadDeadZones(CalReading& r)
{
    CFloatParam left("dzl", &r.set), right("dzr", &r.set);
    r.Fetch();
    const auto rounded = [](CFloatParam& p) {
        return CFieldValue::Computed([&p] { return static_cast<double>(RoundedDeadZone(p.value)); }).From(p);
    };
    r.Add(DeadZoneFields(rounded(left), rounded(right)));
    AddDeadZoneReport(r.reader, r.section);
}

void ReadSavedGain(CalReading& r)
{
    CFloatParam gain("pgr", &r.set);
    r.Fetch();
    r.Add({SavedGainField(CFieldValue::Number(gain))});
}

void ReadOverrideBias(CalReading& r)
{
    CFloatParam bias("ovb", &r.set);
    r.Fetch();
    r.Add({SavedBiasField(CFieldValue::Number(bias))});
}

// A value per side, as the pump pages show them: left, then right.
void ReadSides(CalReading& r, const char* label, const char* left, const char* right)
{
    CFloatParam leftValue(left, &r.set), rightValue(right, &r.set);
    r.Fetch();
    r.Add(Value(label, Sides(ValueText(leftValue.value), ValueText(rightValue.value)), r.AllRead()));
}

// The bias of a track steering chain; the MT chain's deadband and track spacing too.
void ReadTrackSteering(CalReading& r, bool mt)
{
    CFloatParam bias("k0e", &r.set);
    CFloatParam deadband("dk0");
    CLengthParam trackSpacing("trw");
    if (mt) {
        r.set.Add(&deadband);
        r.set.Add(&trackSpacing);
    }
    r.Fetch();
    r.Add(Value(kBiasHeading, BiasText(bias.value), bias.IsRetrieved()));
    if (!mt)
        return;
    r.Add(Value(kDeadbandLabel, DeadbandText(deadband.value), deadband.IsRetrieved()));
    r.Add(Value(kTrackSpacingLabel, LengthText(trackSpacing.value, trackSpacing.Units()), trackSpacing.IsRetrieved(),
                trackSpacing.Units().UnitName()));
}

void ReadEngineSpeedScale(CalReading& r)
{
    CFloatParam scale("sfm", &r.set);
    r.Fetch();
    r.Add(Value(kEngineSpeedScaleLabel, Format("%g", static_cast<double>(scale.value)), scale.IsRetrieved()));
}

void ReadOverrideSensitivity(CalReading& r)
{
    COverrideSensitivity sensitivity(r.set);
    r.Fetch();
    sensitivity.FromParams();
    r.Add(Value(r.heading, sensitivity.ValueText(), r.AllRead()));
}

void ReadJDInterface(CalReading& r)
{
    CStringParam status("JD30TCalStatusStr");
    // As the page: a controller that does not know the name needs newer firmware.
    if (r.reader.Get(status))
        r.Add(Value(r.heading, status.value, true));
    else
        r.Add(Value(r.heading, kJDInterfaceUpgradeText, !r.reader.Stopped()));
}

void ReadAggressiveness(CalReading& r)
{
    CAggressivenessCal aggressiveness(r.set);
    r.Fetch();
    aggressiveness.FromParams();
    r.Add(Value(r.heading, aggressiveness.PercentText(), r.AllRead()));
    if (r.AllRead())
        r.Add(Note(aggressiveness.StabilityText(r.units)));
}

// What a calibration page keeps, as the page shows it.
ReportSection CalibrationSection(CReportReader& reader, CalPage page)
{
    const CalPageInfo& info = CalPageInfoOf(page);
    ReportSection section{info.title, {}, -1};
    CalReading r{reader, section, info.heading};
    switch (page) {
    case CalPage::Orientation:
    case CalPage::OrientationDirect:
        ReadOrientation(r);
        break;
    case CalPage::AntennaPosCorr:
        ReadAntenna(r);
        break;
    case CalPage::RollCorr:
        ReadRoll(r);
        break;
    case CalPage::TrackSpacing:
        ReadTrackSpacing(r);
        break;
    case CalPage::SteerSensor:
    case CalPage::ImplSteerSensor:
        ReadSteerSensor(r);
        break;
    case CalPage::AutoDeadZone:
        ReadDeadZones(r);
        break;
    case CalPage::PGain:
        ReadSavedGain(r);
        break;
    case CalPage::JDElecManualOverride:
        ReadOverrideBias(r);
        break;
    case CalPage::HydTrackedSteeringPump:
        ReadSides(r, kSavedPumpGainLabel, "igl", "igr");
        break;
    case CalPage::HydTrackedPumpKnee:
        ReadSides(r, kSavedKneeLabel, "dk1", "dk0");
        break;
    case CalPage::JDElecTrackContents:
    case CalPage::MTElecTrackContents:
        ReadTrackSteering(r, page == CalPage::MTElecTrackContents);
        break;
    case CalPage::RPMSensor:
        ReadEngineSpeedScale(r);
        break;
    case CalPage::ManOverride:
        ReadOverrideSensitivity(r);
        break;
    case CalPage::JDx30TElecTrackContents:
        ReadJDInterface(r);
        break;
    case CalPage::Aggressiveness:
        ReadAggressiveness(r);
        break;
    }
    return section;
}

// ---------------------------------------------------------------- the rest

ReportSection ControllerSection(CReportReader& reader)
{
    ReportSection section{"Controller", {}, -1};
    CParamSet set;
    CInformationModel info(set);
    // As the Information page: its parameters, then the fixed messages.
    reader.GetAll(set);
    reader.Run([&] { info.Refresh(reader.Link()); });
    info.UpdateMonitorTexts();
    for (const CInformationModel::Line& line : info.Lines())
        if (line.text != &info.vehicleModel) // the vehicle has a section of its own
            section.rows.push_back(Value(line.label, *line.text, line.read));
    return section;
}

const char* VehicleTypeName(std::uint32_t type)
{
    switch (type) {
    case 1:
    case 4:
    case 5:
    case 6:
        return "wheeled";
    case 2:
        return "tracked, hydraulic steering pumps";
    case 3:
        return "tracked, JD electric steering";
    case 7:
        return "tracked, MT electric steering";
    case 8:
        return "implement steering";
    case 0:
        return "no vehicle chosen";
    default:
        return "unknown";
    }
}

ReportSection VehicleSection(CReportReader& reader, CVehicleModelState& state)
{
    ReportSection section{"Vehicle", {}, -1};
    // As the Vehicle Model page shows the vehicle, without its list to choose from.
    state.vehicleRead = reader.Ask([&] { return state.vehicle.Read(reader.Link()); });
    CByteParam profile("xvp");
    state.profileSupported = reader.Get(profile);
    state.externalProfile = state.profileSupported && profile.value == 1;
    state.layout = {};
    state.layout.list = false;
    state.layout.extVp = state.profileSupported;
    PageFields fields;
    for (FieldSpec& field : VehicleModelFields(state, {}))
        if (field.id == "currentModel" || field.id == "extVp")
            fields.push_back(std::move(field));
    AddFieldRows(section, fields, nullptr, ConfigPageHeading(ConfigPage::VehicleModel), state.vehicleRead);
    section.rows.push_back(Value("Vehicle Type",
                                 Format("%u (%s)", static_cast<unsigned>(state.vehicle.vehicleType),
                                        VehicleTypeName(state.vehicle.vehicleType)),
                                 state.vehicleRead));
    return section;
}

void ReadFaults(CReportReader& reader, InstallationReport& report)
{
    CFaultList list;
    report.faultsRead = reader.Ask([&] { return list.Refresh(reader.Link()); });
    if (!report.faultsRead || list.ListedCount() == 0)
        return;
    for (const FaultListEntry& entry : list.Entries()) {
        ReportFault fault;
        fault.number = entry.faultNumber;
        if (!CFaultList::CanActOn(entry)) {
            // Slot 0 is listed but has no details to fetch: its list text.
            const std::size_t colon = entry.text.find(": ");
            fault.description = colon == std::string::npos ? entry.text : entry.text.substr(colon + 2);
        } else {
            CFaultInfo info;
            fault.read = reader.Ask([&] { return info.Fetch(reader.Link(), entry.faultNumber); });
            fault.description = info.description;
            fault.count = info.record.count;
        }
        report.faults.push_back(std::move(fault));
    }
}

std::string DateText(std::time_t now)
{
    std::tm local{};
    if (!LocalTimeOf(now, local))
        return {};
    char text[64];
    return std::string(text, std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local));
}

} // namespace

std::size_t InstallationReport::NotReadCount() const
{
    std::size_t count = faultsRead ? 0 : 1;
    const auto countRows = [&count](const ReportSection& section) {
        count += static_cast<std::size_t>(
            std::count_if(section.rows.begin(), section.rows.end(), [](const ReportRow& r) { return !r.read; }));
    };
    countRows(controller);
    countRows(vehicle);
    for (const ReportSection& section : configuration)
        countRows(section);
    for (const ReportSection& section : calibration)
        countRows(section);
    count += static_cast<std::size_t>(
        std::count_if(faults.begin(), faults.end(), [](const ReportFault& f) { return !f.read; }));
    return count;
}

std::optional<std::string> CheckReportName(std::string_view name)
{
    for (char c : name)
        if (std::iscntrl(static_cast<unsigned char>(c)))
            return std::string("a name cannot hold control characters");
    // Characters, not bytes: UTF-8 continuation bytes do not count.
    const auto characters = std::count_if(name.begin(), name.end(), [](char c) { return (c & 0xC0) != 0x80; });
    if (static_cast<std::size_t>(characters) > kMaxReportNameLength)
        return Format("a name can have at most %d characters", static_cast<int>(kMaxReportNameLength));
    return std::nullopt;
}

InstallationReport GatherInstallationReport(CControllerLink& link, const ReportPeople& people, std::time_t now,
                                            const ProgressCallback& progress)
{
    InstallationReport report;
    report.date = DateText(now);
    report.people = people;
    CReportReader reader(link);
    // Parts: the controller, the vehicle and the page lists, each page, the
    // faults. How many pages there are is known after the second.
    std::uint32_t done = 0;
    std::uint32_t parts = 3;
    const auto step = [&] {
        if (progress)
            progress(++done, parts);
    };
    if (progress)
        progress(0, parts);

    report.controller = ControllerSection(reader);
    ++done;

    CVehicleModelState state;
    report.vehicle = VehicleSection(reader, state);
    CUIntParam correction("gct");
    const bool rtk = reader.Get(correction) && correction.value == kRtkCorrection;
    CalibrationVehicle calibrationVehicle;
    if (state.vehicleRead)
        reader.Run([&] { calibrationVehicle = ReadCalibrationVehicle(link); });
    std::vector<ConfigPage> configPages = SelectConfigurationPages(state.vehicleRead ? state.vehicle.vehicleType : 0, rtk);
    std::erase(configPages, ConfigPage::VehicleModel);
    const std::vector<CalPage> calPages = SelectCalibrationPages(calibrationVehicle);
    parts += static_cast<std::uint32_t>(configPages.size() + calPages.size());
    step();

    for (ConfigPage page : configPages) {
        report.configuration.push_back(ConfigurationSection(reader, page));
        step();
    }
    for (CalPage page : calPages) {
        report.calibration.push_back(CalibrationSection(reader, page));
        step();
    }
    ReadFaults(reader, report);
    step();
    report.controllerStopped = reader.Stopped();
    return report;
}

std::string ControllerStoppedText()
{
    return "The controller stopped answering while the report was being read. What it did not give shows as \"" +
           std::string(kNotReadText) + "\"; check the cable and the controller's power, then make the report again.";
}

std::string InstallationReportMessage(const std::string& path, const InstallationReport& report)
{
    std::string text = "Installation report written to " + EscapedName(path);
    if (const std::size_t missing = report.NotReadCount())
        text += Format("\r\n\r\n%d value%s could not be read from the controller and show%s as \"%s\".",
                       static_cast<int>(missing), missing == 1 ? "" : "s", missing == 1 ? "s" : "", kNotReadText);
    return text;
}

ReportPaper PaperForLocale(std::string_view localeName)
{
    // The territories whose custom is Letter (CLDR's paper sizes).
    static constexpr std::array<std::string_view, 14> kLetter = {"US", "CA", "MX", "CL", "CO", "CR", "GT",
                                                                 "NI", "PA", "PH", "PR", "SV", "VE", "BZ"};
    const std::size_t underscore = localeName.find('_');
    if (underscore == std::string_view::npos)
        return ReportPaper::A4;
    std::string_view territory = localeName.substr(underscore + 1);
    territory = territory.substr(0, std::min(territory.find_first_of(".@"), territory.size()));
    return std::find(kLetter.begin(), kLetter.end(), territory) != kLetter.end() ? ReportPaper::Letter
                                                                                   : ReportPaper::A4;
}

std::string PaperLocaleName()
{
    for (const char* name : {"LC_ALL", "LC_PAPER", "LANG"})
        if (const std::optional<std::string> value = EnvironmentVariable(name))
            return *value;
    return {};
}

std::string InstallationReportText(const InstallationReport& report)
{
    std::string text = std::string(kInstallationReportTitle) + "\n";
    text += "Date: " + report.date + "\nInstaller: " + report.people.installer +
            "\nCustomer: " + report.people.customer + "\n";
    const auto section = [&text](const ReportSection& s) {
        text += "\n[" + s.title + "]\n";
        for (const ReportRow& row : s.rows) {
            if (row.note)
                text += row.value + "\n";
            else
                text += row.label + ": " + row.value + (row.unit.empty() ? "" : " " + row.unit) + "\n";
        }
        if (s.picture >= 0)
            text += Format("Orientation picture: %d\n", s.picture);
    };
    section(report.controller);
    section(report.vehicle);
    for (const ReportSection& s : report.configuration)
        section(s);
    for (const ReportSection& s : report.calibration)
        section(s);
    text += "\n[Faults]\n";
    if (!report.faultsRead)
        text += kNotReadText + std::string("\n");
    else if (report.faults.empty())
        text += std::string(kNoFaultsText) + "\n";
    for (const ReportFault& f : report.faults)
        text += Format("%03u: ", static_cast<unsigned>(f.number)) +
                (f.read ? f.description + Format(" (count %u)", static_cast<unsigned>(f.count)) : kNotReadText) +
                "\n";
    return text;
}

} // namespace halcyra
