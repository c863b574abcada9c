#include "pages/PageFields.h"

#include "link/Format.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

namespace halcyra {

// ---------------------------------------------------------------- values

CFieldValue CFieldValue::Text(std::string& text)
{
    return ComputedText([&text] { return text; }, [&text](const std::string& t) { text = t; });
}

CFieldValue CFieldValue::Text(CStringParam& param)
{
    return ComputedText([&param] { return param.value; }, [&param](const std::string& t) { param.value = t; })
        .From(param);
}

CFieldValue CFieldValue::Number(CFloatParam& param)
{
    return Computed([&param] { return static_cast<double>(param.value); },
                    [&param](double v) { param.value = static_cast<float>(v); })
        .From(param);
}

CFieldValue CFieldValue::Number(CUIntParam& param)
{
    return Computed([&param] { return static_cast<double>(param.value); },
                    [&param](double v) { param.value = v <= 0 ? 0u : static_cast<std::uint32_t>(std::lround(v)); })
        .From(param);
}

CFieldValue CFieldValue::Number(CShortParam& param)
{
    return Computed([&param] { return static_cast<double>(param.value); },
                    [&param](double v) { param.value = static_cast<std::int16_t>(std::lround(v)); })
        .From(param);
}

CFieldValue CFieldValue::Number(float& variable)
{
    return Computed([&variable] { return static_cast<double>(variable); },
                    [&variable](double v) { variable = static_cast<float>(v); });
}

CFieldValue CFieldValue::Number(int& variable)
{
    return Computed([&variable] { return static_cast<double>(variable); },
                    [&variable](double v) { variable = static_cast<int>(std::lround(v)); });
}

CFieldValue CFieldValue::Computed(std::function<double()> get, std::function<void(double)> set)
{
    CFieldValue value;
    value.getNumber_ = std::move(get);
    value.setNumber_ = std::move(set);
    return value;
}

CFieldValue CFieldValue::ComputedText(std::function<std::string()> get, std::function<void(const std::string&)> set)
{
    CFieldValue value;
    value.getText_ = std::move(get);
    value.setText_ = std::move(set);
    return value;
}

CFieldValue& CFieldValue::From(const CParam& param)
{
    sources_.push_back(&param);
    return *this;
}

void CFieldValue::SetNumber(double value) const
{
    if (setNumber_)
        setNumber_(value);
}

void CFieldValue::SetText(const std::string& text) const
{
    if (setText_)
        setText_(text);
}

// ---------------------------------------------------------------- descriptions

FieldSpec& FieldSpec::Range(double minimum, double maximum)
{
    range = FieldRange{minimum, maximum};
    return *this;
}

FieldSpec& FieldSpec::LengthRanges(const LengthRangeTable& table)
{
    lengthRanges = &table;
    units = UnitSource::DisplayUnits;
    return *this;
}

FieldSpec& FieldSpec::Step(double s)
{
    step = s;
    return *this;
}

FieldSpec& FieldSpec::Unit(std::string text)
{
    units = UnitSource::Fixed;
    unitText = std::move(text);
    return *this;
}

FieldSpec& FieldSpec::InDisplayUnits()
{
    units = UnitSource::DisplayUnits;
    return *this;
}

FieldSpec& FieldSpec::Format(std::string printfFormat)
{
    format = std::move(printfFormat);
    return *this;
}

FieldSpec& FieldSpec::FormatPerUnit(const std::array<std::string, 4>& formats)
{
    unitFormats = formats;
    return *this;
}

FieldSpec& FieldSpec::EnabledWhen(std::function<bool()> rule)
{
    enabled = std::move(rule);
    return *this;
}

FieldSpec& FieldSpec::VisibleWhen(std::function<bool()> rule)
{
    visible = std::move(rule);
    return *this;
}

FieldSpec& FieldSpec::Note(std::string text)
{
    note = std::move(text);
    return *this;
}

FieldSpec& FieldSpec::ChoicesFrom(std::function<std::vector<FieldChoice>()> entries)
{
    choicesNow = std::move(entries);
    return *this;
}

FieldSpec& FieldSpec::Ends(std::string low, std::string high)
{
    lowEndText = std::move(low);
    highEndText = std::move(high);
    return *this;
}

FieldSpec& FieldSpec::StepFromValue()
{
    snapSteps = false;
    return *this;
}

FieldSpec& FieldSpec::StoreWhileTyping()
{
    storeWhileTyping = true;
    return *this;
}

namespace field {

namespace {

FieldSpec Make(FieldKind kind, std::string id, std::string label, CFieldValue value)
{
    FieldSpec f;
    f.kind = kind;
    f.id = std::move(id);
    f.label = std::move(label);
    f.value = std::move(value);
    return f;
}

} // namespace

FieldSpec ReadOnly(std::string id, std::string label, CFieldValue value)
{
    return Make(FieldKind::ReadOnlyText, std::move(id), std::move(label), std::move(value));
}

FieldSpec Edit(std::string id, std::string label, CFieldValue value)
{
    return Make(FieldKind::Edit, std::move(id), std::move(label), std::move(value));
}

FieldSpec Spin(std::string id, std::string label, CFieldValue value, double step)
{
    return Make(FieldKind::SpinEdit, std::move(id), std::move(label), std::move(value)).Step(step);
}

FieldSpec Combo(std::string id, std::string label, CFieldValue value, std::vector<FieldChoice> choices)
{
    FieldSpec f = Make(FieldKind::ComboByPosition, std::move(id), std::move(label), std::move(value));
    f.choices = std::move(choices);
    return f;
}

FieldSpec ComboData(std::string id, std::string label, CFieldValue value, std::vector<FieldChoice> choices)
{
    FieldSpec f = Make(FieldKind::ComboByData, std::move(id), std::move(label), std::move(value));
    f.choices = std::move(choices);
    return f;
}

FieldSpec Check(std::string id, std::string text, CFieldValue value, int uncheckedValue, int checkedValue)
{
    FieldSpec f = Make(FieldKind::CheckBox, std::move(id), std::move(text), std::move(value));
    f.uncheckedValue = uncheckedValue;
    f.checkedValue = checkedValue;
    return f;
}

FieldSpec Radios(std::string id, std::string label, CFieldValue value, std::vector<FieldChoice> choices)
{
    FieldSpec f = Make(FieldKind::RadioGroup, std::move(id), std::move(label), std::move(value));
    f.choices = std::move(choices);
    return f;
}

FieldSpec Slider(std::string id, std::string label, CFieldValue value, double minimum, double maximum, double step)
{
    return Make(FieldKind::Slider, std::move(id), std::move(label), std::move(value)).Range(minimum, maximum).Step(step);
}

FieldSpec Label(std::string id, std::string text)
{
    return Make(FieldKind::StaticText, std::move(id), std::move(text), CFieldValue());
}

FieldSpec Label(std::string id, CFieldValue text)
{
    return Make(FieldKind::StaticText, std::move(id), std::string(), std::move(text));
}

FieldSpec EditSpin(std::string id, std::string label, CFieldValue value, double step)
{
    return Make(FieldKind::EditSpin, std::move(id), std::move(label), std::move(value)).Step(step);
}

} // namespace field

// ---------------------------------------------------------------- rules

namespace {

// A page's format must hold exactly one floating-point conversion; anything
// else would make printf read the wrong argument, so it falls back to %g.
bool IsNumberFormat(const std::string& format)
{
    int conversions = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%')
            continue;
        if (i + 1 < format.size() && format[i + 1] == '%') {
            ++i;
            continue;
        }
        ++i;
        while (i < format.size() && std::string_view("-+ #0").find(format[i]) != std::string_view::npos)
            ++i;
        while (i < format.size() && std::isdigit(static_cast<unsigned char>(format[i])))
            ++i;
        if (i < format.size() && format[i] == '.') {
            ++i;
            while (i < format.size() && std::isdigit(static_cast<unsigned char>(format[i])))
                ++i;
        }
        if (i >= format.size() || std::string_view("feEgG").find(format[i]) == std::string_view::npos)
            return false;
        ++conversions;
    }
    return conversions == 1;
}

std::string FormatNumber(const std::string& format, double value)
{
    return halcyra::Format(IsNumberFormat(format) ? format.c_str() : "%g", value);
}

} // namespace

std::string FieldText(const FieldSpec& field)
{
    if (field.kind == FieldKind::StaticText && !field.value.IsBound())
        return field.label;
    if (field.value.IsText())
        return field.value.GetText();
    if (!field.value.IsBound())
        return {};
    return FormatNumber(field.format, field.value.GetNumber());
}

std::string FieldText(const FieldSpec& field, const CUnitsParam* units)
{
    if (!field.unitFormats || !units || !units->HasFactor() || field.value.IsText() || !field.value.IsBound())
        return FieldText(field);
    return FormatNumber((*field.unitFormats)[units->UnitIndex()], field.value.GetNumber());
}

std::string FieldUnitText(const FieldSpec& field, const CUnitsParam* units)
{
    switch (field.units) {
    case UnitSource::None:
        return {};
    case UnitSource::Fixed:
        return field.unitText;
    case UnitSource::DisplayUnits:
        return units && units->HasFactor() ? units->UnitName() : std::string();
    }
    return {};
}

std::optional<FieldRange> FieldRangeNow(const FieldSpec& field, const CUnitsParam* units)
{
    if (field.lengthRanges && units && units->HasFactor() && units->UnitIndex() < field.lengthRanges->size()) {
        const LengthRange& r = (*field.lengthRanges)[units->UnitIndex()];
        return FieldRange{r.minimum, r.maximum};
    }
    return field.range;
}

double FieldStep(const FieldSpec& field, const CUnitsParam* units)
{
    if (field.lengthRanges && units && units->HasFactor() && units->UnitIndex() < field.lengthRanges->size())
        return (*field.lengthRanges)[units->UnitIndex()].step;
    return field.step;
}

bool FieldEnabled(const FieldSpec& field) { return !field.enabled || field.enabled(); }

bool FieldVisible(const FieldSpec& field) { return !field.visible || field.visible(); }

bool FieldValueRead(const FieldSpec& field)
{
    const std::vector<const CParam*>& sources = field.value.Sources();
    return std::all_of(sources.begin(), sources.end(), [](const CParam* p) { return p->IsRetrieved(); });
}

bool FieldChoiceEnabled(const FieldChoice& choice) { return !choice.enabled || choice.enabled(); }

std::vector<FieldChoice> FieldChoices(const FieldSpec& field)
{
    return field.choicesNow ? field.choicesNow() : field.choices;
}

int FieldChoiceIndex(const FieldSpec& field)
{
    const long value = std::lround(field.value.GetNumber());
    const std::vector<FieldChoice> choices = FieldChoices(field);
    const int count = static_cast<int>(choices.size());
    if (field.kind == FieldKind::ComboByPosition)
        return value >= 0 && value < count ? static_cast<int>(value) : -1;
    for (int i = 0; i < count; ++i)
        if (choices[static_cast<std::size_t>(i)].data == value)
            return i;
    return -1;
}

void StoreFieldChoice(const FieldSpec& field, int index)
{
    const std::vector<FieldChoice> choices = FieldChoices(field);
    if (index < 0 || index >= static_cast<int>(choices.size()))
        return;
    if (field.kind == FieldKind::ComboByPosition)
        field.value.SetNumber(index);
    else
        field.value.SetNumber(choices[static_cast<std::size_t>(index)].data);
}

void StoreFieldChecked(const FieldSpec& field, bool checked)
{
    field.value.SetNumber(checked ? field.checkedValue : field.uncheckedValue);
}

std::string RangeMessage(const FieldRange& range)
{
    return "Please enter a number between " + FormatNumber("%g", range.minimum) + " and " +
           FormatNumber("%g", range.maximum) + ".";
}

std::optional<std::string> StoreFieldText(const FieldSpec& field, const std::string& text, const CUnitsParam* units)
{
    if (field.value.IsText()) {
        field.value.SetText(text);
        return std::nullopt;
    }
    // The field's own range comes first when the display unit's row follows it.
    std::optional<FieldRange> first = field.lengthRanges ? field.range : std::nullopt;
    const std::optional<FieldRange> range = FieldRangeNow(field, units);
    if (!first)
        first = range;
    const char* begin = text.c_str();
    char* end = nullptr;
    const double number = std::strtod(begin, &end);
    bool parsed = end != begin && std::isfinite(number);
    while (parsed && *end != '\0' && std::isspace(static_cast<unsigned char>(*end)))
        ++end;
    if (!parsed || *end != '\0')
        return first ? RangeMessage(*first) : std::string("Please enter a number.");
    // Range ends often come from float tables: 0.1f lies just above 0.1.
    const auto slack = [](double bound) { return 1e-6 * std::max(1.0, std::fabs(bound)); };
    const auto outside = [&](const FieldRange& r) {
        return number < r.minimum - slack(r.minimum) || number > r.maximum + slack(r.maximum);
    };
    for (const std::optional<FieldRange>& r : {first, range})
        if (r && outside(*r))
            return RangeMessage(*r);
    field.value.SetNumber(number);
    return std::nullopt;
}

double SteppedFieldValue(const FieldSpec& field, const CUnitsParam* units, double value, int steps)
{
    const double step = FieldStep(field, units);
    if (!(step > 0))
        return value;
    const auto snapped = [step, snap = field.snapSteps](double x) {
        if (!snap)
            return x;
        const double half = (x < 0 ? -step : step) / 2;
        return step * std::trunc((x + half) / step);
    };
    double result = snapped(value + steps * step);
    if (const std::optional<FieldRange> range = FieldRangeNow(field, units)) {
        if (snapped(range->maximum) <= result)
            result = snapped(range->maximum);
        if (result <= snapped(range->minimum))
            result = snapped(range->minimum);
    }
    return result;
}

} // namespace halcyra
