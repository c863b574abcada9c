#pragma once
// A page describes its fields once, as data: which value each control shows,
// the kind of control, its texts, its allowed range, its units and format,
// and when it is enabled. A binder in the widget layer builds the controls
// from the description and moves values both ways; the rules for turning
// values into texts and texts back into values live here.

#include "params/Param.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace halcyra {

enum class FieldKind {
    Edit,            // a number or a text typed in
    SpinEdit,        // a number with up and down arrows, stepped
    ComboByPosition, // a list; the value is the position of the entry
    ComboByData,     // a list; the value is the entry's data
    CheckBox,        // two values, unchecked and checked
    RadioGroup,      // one button per choice; the value is the choice's data
    Slider,          // a number between the range's ends, stepped
    ReadOnlyText,    // shown, never changed by the user
    StaticText,      // a line of text across the row: a caption, a note, a message
    EditSpin,        // a number typed in, with arrows that step it and snap it to the step
};

struct FieldChoice {
    std::string text;
    int data = 0;
    std::function<bool()> enabled = {}; // a radio button of its own enabling; always enabled when empty
};

// Where a field's value lives: a number or a text, reached through a getter
// and a setter so a field can bind a parameter, a member or a computed value.
class CFieldValue {
public:
    CFieldValue() = default;

    static CFieldValue Text(std::string& text);
    static CFieldValue Text(CStringParam& param);
    static CFieldValue Number(CFloatParam& param); // lengths too: their values are in display units
    static CFieldValue Number(CUIntParam& param);
    static CFieldValue Number(CShortParam& param);
    static CFieldValue Number(float& variable);
    static CFieldValue Number(int& variable);
    static CFieldValue Computed(std::function<double()> get, std::function<void(double)> set = {});
    static CFieldValue ComputedText(std::function<std::string()> get, std::function<void(const std::string&)> set = {});
    // The value follows this parameter too: it is only as good as the
    // parameter's last get. Values bound to a parameter name it themselves.
    CFieldValue& From(const CParam& param);
    const std::vector<const CParam*>& Sources() const { return sources_; }

    bool IsText() const { return static_cast<bool>(getText_); }
    bool IsBound() const { return getText_ || getNumber_; }
    bool IsReadOnly() const { return IsText() ? !setText_ : !setNumber_; }

    double GetNumber() const { return getNumber_ ? getNumber_() : 0.0; }
    void SetNumber(double value) const;
    std::string GetText() const { return getText_ ? getText_() : std::string(); }
    void SetText(const std::string& text) const;

private:
    std::function<double()> getNumber_;
    std::function<void(double)> setNumber_;
    std::function<std::string()> getText_;
    std::function<void(const std::string&)> setText_;
    std::vector<const CParam*> sources_;
};

struct FieldRange {
    double minimum = 0;
    double maximum = 0;
};

enum class UnitSource {
    None,
    Fixed,        // unitText
    DisplayUnits, // the page's display unit name ("cm", "m", "in", "ft")
};

struct FieldSpec {
    FieldKind kind = FieldKind::ReadOnlyText;
    std::string id;    // the control's name, for tests and screen listings
    std::string label; // the text before the control (a check box carries it itself)
    CFieldValue value;
    std::vector<FieldChoice> choices; // combo entries and radio buttons
    std::function<std::vector<FieldChoice>()> choicesNow; // instead, when the entries change with the values
    int uncheckedValue = 0;
    int checkedValue = 1;
    std::optional<FieldRange> range;             // allowed values, in the units shown
    const LengthRangeTable* lengthRanges = nullptr; // range and step per display unit instead
    double step = 1;                             // spin edits and sliders
    UnitSource units = UnitSource::None;
    std::string unitText;
    std::string format = "%g"; // how a number is shown
    std::optional<std::array<std::string, 4>> unitFormats; // per display unit index instead
    std::function<bool()> enabled; // enabled when empty
    std::function<bool()> visible; // shown when empty
    std::string note;              // a line under the control
    std::string lowEndText, highEndText; // a slider's ends ("Dark", "Bright")
    bool storeWhileTyping = false;       // typed text is stored as soon as it is a valid value
    bool snapSteps = true;               // a spin step lands on a multiple of the step

    FieldSpec& Range(double minimum, double maximum);
    FieldSpec& LengthRanges(const LengthRangeTable& table);
    FieldSpec& Step(double s);
    FieldSpec& Unit(std::string text);
    FieldSpec& InDisplayUnits();
    FieldSpec& Format(std::string printfFormat);
    // A format per display unit index (cm, m, in, ft), once the units are read.
    FieldSpec& FormatPerUnit(const std::array<std::string, 4>& formats);
    FieldSpec& EnabledWhen(std::function<bool()> rule);
    FieldSpec& VisibleWhen(std::function<bool()> rule);
    FieldSpec& Note(std::string text);
    FieldSpec& ChoicesFrom(std::function<std::vector<FieldChoice>()> entries);
    FieldSpec& Ends(std::string low, std::string high);
    FieldSpec& StoreWhileTyping();
    // Spin steps move the value shown by the step, without snapping it.
    FieldSpec& StepFromValue();
};

using PageFields = std::vector<FieldSpec>;

namespace field {
FieldSpec ReadOnly(std::string id, std::string label, CFieldValue value);
FieldSpec Edit(std::string id, std::string label, CFieldValue value);
FieldSpec Spin(std::string id, std::string label, CFieldValue value, double step);
FieldSpec Combo(std::string id, std::string label, CFieldValue value, std::vector<FieldChoice> choices);
FieldSpec ComboData(std::string id, std::string label, CFieldValue value, std::vector<FieldChoice> choices);
FieldSpec Check(std::string id, std::string text, CFieldValue value, int uncheckedValue = 0, int checkedValue = 1);
FieldSpec Radios(std::string id, std::string label, CFieldValue value, std::vector<FieldChoice> choices);
FieldSpec Slider(std::string id, std::string label, CFieldValue value, double minimum, double maximum,
                 double step = 1);
// A fixed text, or one that follows a value.
FieldSpec Label(std::string id, std::string text);
FieldSpec Label(std::string id, CFieldValue text);
FieldSpec EditSpin(std::string id, std::string label, CFieldValue value, double step);
} // namespace field

// The rules the binder follows. units may be null (no display units read).
std::string FieldText(const FieldSpec& field);
std::string FieldText(const FieldSpec& field, const CUnitsParam* units);
std::string FieldUnitText(const FieldSpec& field, const CUnitsParam* units);
std::optional<FieldRange> FieldRangeNow(const FieldSpec& field, const CUnitsParam* units);
double FieldStep(const FieldSpec& field, const CUnitsParam* units);
bool FieldEnabled(const FieldSpec& field);
bool FieldVisible(const FieldSpec& field);
// Whether every parameter the value follows was got from the controller.
bool FieldValueRead(const FieldSpec& field);
bool FieldChoiceEnabled(const FieldChoice& choice);
// The entries as they are now.
std::vector<FieldChoice> FieldChoices(const FieldSpec& field);
// The entry or button the value selects; -1 when none does.
int FieldChoiceIndex(const FieldSpec& field);
// Stores the choice at index (position or data by kind).
void StoreFieldChoice(const FieldSpec& field, int index);
void StoreFieldChecked(const FieldSpec& field, bool checked);

// Stores text typed into an edit. Nothing or an error text: a number that
// does not parse or lies outside the range is refused and not stored.
// A field with both a range and length ranges must pass the range first,
// then the row of its display unit.
std::optional<std::string> StoreFieldText(const FieldSpec& field, const std::string& text, const CUnitsParam* units);
std::string RangeMessage(const FieldRange& range);

// The value after steps presses of a spin arrow (negative: down): moved by
// the step, snapped to a multiple of it (halves away from zero) and kept
// within the range, whose ends are snapped too. A field that steps from its
// value is moved by the step and kept within the range, unsnapped.
double SteppedFieldValue(const FieldSpec& field, const CUnitsParam* units, double value, int steps);

} // namespace halcyra
