#include "pages/ui/FieldBinder.h"

#include "link/Notifier.h"

#include <QAbstractSpinBox>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>

#include <cmath>
#include <cstdlib>

namespace halcyra {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

int Decimals(double step)
{
    int decimals = 0;
    for (double s = step; decimals < 6 && std::fabs(s - std::round(s)) > 1e-9; s *= 10)
        ++decimals;
    return decimals;
}

// An edit with up and down arrows: the text is the user's to type (it is
// range-checked when the page is left), the arrows step the value.
class CSteppedEdit final : public QAbstractSpinBox {
public:
    CSteppedEdit(QWidget* parent, std::function<void(int)> onStep) : QAbstractSpinBox(parent), onStep_(std::move(onStep))
    {
        setMinimumWidth(80);
    }
    void SetText(const QString& text)
    {
        lineEdit()->setText(text);
        lineEdit()->setCursorPosition(0);
    }
    QLineEdit* Edit() const { return lineEdit(); }
    void stepBy(int steps) override { onStep_(steps); }

protected:
    StepEnabled stepEnabled() const override
    {
        return isReadOnly() ? StepNone : (StepUpEnabled | StepDownEnabled);
    }
    QValidator::State validate(QString&, int&) const override { return QValidator::Acceptable; }

private:
    std::function<void(int)> onStep_;
};

QString TypedText(const FieldSpec& field, QWidget* control)
{
    if (field.kind == FieldKind::EditSpin)
        return static_cast<CSteppedEdit*>(control)->text();
    return static_cast<QLineEdit*>(control)->text();
}

bool IsTyped(const FieldSpec& field) { return field.kind == FieldKind::Edit || field.kind == FieldKind::EditSpin; }

} // namespace

CFieldBinder::CFieldBinder(QWidget* owner, const CUnitsParam* units) : QObject(owner), owner_(owner), units_(units) {}

QWidget* CFieldBinder::MakeControl(const FieldSpec& field, Bound& bound)
{
    const QString id = Q(field.id);
    switch (field.kind) {
    case FieldKind::Edit:
    case FieldKind::ReadOnlyText: {
        auto* edit = new QLineEdit(owner_);
        edit->setReadOnly(field.kind == FieldKind::ReadOnlyText);
        edit->setMinimumWidth(field.kind == FieldKind::ReadOnlyText ? 200 : 80);
        connect(edit, &QLineEdit::textEdited, this, [this, &field] {
            if (field.storeWhileTyping)
                StoreQuietly(field.id);
            emit edited();
        });
        return edit;
    }
    case FieldKind::EditSpin: {
        auto* spin = new CSteppedEdit(owner_, [this, &field](int steps) {
            auto* self = static_cast<CSteppedEdit*>(Control(field.id));
            const std::string typed = self->text().toStdString();
            char* end = nullptr;
            double current = std::strtod(typed.c_str(), &end);
            if (end == typed.c_str() || !std::isfinite(current))
                current = field.value.GetNumber();
            field.value.SetNumber(SteppedFieldValue(field, units_, current, steps));
            self->SetText(Q(FieldText(field)));
            AfterUserChange();
        });
        connect(spin->Edit(), &QLineEdit::textEdited, this, [this, &field] {
            if (field.storeWhileTyping)
                StoreQuietly(field.id);
            emit edited();
        });
        return spin;
    }
    case FieldKind::SpinEdit: {
        auto* spin = new QDoubleSpinBox(owner_);
        spin->setKeyboardTracking(false);
        connect(spin, &QDoubleSpinBox::valueChanged, this, [this, &field](double v) {
            if (showing_)
                return;
            field.value.SetNumber(v);
            AfterUserChange();
        });
        return spin;
    }
    case FieldKind::ComboByPosition:
    case FieldKind::ComboByData: {
        auto* combo = new QComboBox(owner_);
        // Entries that arrive later must fit as well as the first ones.
        if (field.choicesNow)
            combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        for (const FieldChoice& choice : FieldChoices(field))
            combo->addItem(Q(choice.text), choice.data);
        connect(combo, &QComboBox::currentIndexChanged, this, [this, &field](int index) {
            if (showing_)
                return;
            StoreFieldChoice(field, index);
            AfterUserChange();
        });
        return combo;
    }
    case FieldKind::CheckBox: {
        auto* check = new QCheckBox(Q(field.label), owner_);
        connect(check, &QCheckBox::toggled, this, [this, &field](bool on) {
            if (showing_)
                return;
            StoreFieldChecked(field, on);
            AfterUserChange();
        });
        return check;
    }
    case FieldKind::RadioGroup: {
        auto* box = new QWidget(owner_);
        auto* column = new QVBoxLayout(box);
        column->setContentsMargins(0, 0, 0, 0);
        column->setSpacing(2);
        auto* group = new QButtonGroup(box);
        const std::vector<FieldChoice> choices = FieldChoices(field);
        for (std::size_t i = 0; i < choices.size(); ++i) {
            auto* radio = new QRadioButton(Q(choices[i].text), box);
            radio->setObjectName(id + QString::number(i));
            group->addButton(radio, static_cast<int>(i));
            column->addWidget(radio);
            bound.buttons.push_back(radio);
        }
        connect(group, &QButtonGroup::idToggled, this, [this, &field](int index, bool on) {
            if (showing_ || !on)
                return;
            StoreFieldChoice(field, index);
            AfterUserChange();
        });
        return box;
    }
    case FieldKind::Slider: {
        auto* slider = new QSlider(Qt::Horizontal, owner_);
        slider->setMinimumWidth(160);
        connect(slider, &QSlider::valueChanged, this, [this, &field](int position) {
            if (showing_)
                return;
            const double step = FieldStep(field, units_) > 0 ? FieldStep(field, units_) : 1;
            const double minimum = field.range ? field.range->minimum : 0;
            field.value.SetNumber(minimum + position * step);
            AfterUserChange();
        });
        return slider;
    }
    case FieldKind::StaticText: {
        auto* text = new QLabel(owner_);
        text->setWordWrap(true);
        return text;
    }
    }
    return nullptr;
}

QWidget* CFieldBinder::MakeCell(const FieldSpec& field, Bound& bound)
{
    const bool ends = !field.lowEndText.empty() || !field.highEndText.empty();
    if (field.units == UnitSource::None && !ends)
        return bound.control;
    auto* cell = new QWidget(owner_);
    auto* row = new QHBoxLayout(cell);
    row->setContentsMargins(0, 0, 0, 0);
    if (ends) {
        auto* low = new QLabel(Q(field.lowEndText), cell);
        low->setObjectName(Q(field.id) + QStringLiteral("Low"));
        row->addWidget(low);
    }
    row->addWidget(bound.control, 1);
    if (ends) {
        auto* high = new QLabel(Q(field.highEndText), cell);
        high->setObjectName(Q(field.id) + QStringLiteral("High"));
        row->addWidget(high);
    }
    if (field.units != UnitSource::None) {
        bound.unit = new QLabel(cell);
        bound.unit->setObjectName(Q(field.id) + QStringLiteral("Unit"));
        bound.unit->setMinimumWidth(24);
        row->addWidget(bound.unit);
    }
    return cell;
}

QFormLayout* CFieldBinder::Build(PageFields fields)
{
    fields_ = std::move(fields);
    bound_.assign(fields_.size(), Bound{});
    auto* form = new QFormLayout;
    form_ = form;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    form->setHorizontalSpacing(8);
    form->setVerticalSpacing(6);
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        const FieldSpec& field = fields_[i];
        Bound& bound = bound_[i];
        bound.control = MakeControl(field, bound);
        bound.control->setObjectName(Q(field.id));
        bound.cell = MakeCell(field, bound);
        if (field.kind == FieldKind::CheckBox || field.kind == FieldKind::StaticText || field.label.empty()) {
            form->addRow(bound.cell);
        } else {
            bound.label = new QLabel(Q(field.label), owner_);
            bound.label->setBuddy(bound.control);
            form->addRow(bound.label, bound.cell);
        }
        if (!field.note.empty()) {
            bound.note = new QLabel(Q(field.note), owner_);
            bound.note->setObjectName(Q(field.id) + QStringLiteral("Note"));
            bound.note->setWordWrap(true);
            form->addRow(QString(), bound.note);
        }
    }
    return form;
}

void CFieldBinder::Show(const FieldSpec& field, Bound& bound)
{
    switch (field.kind) {
    case FieldKind::Edit:
    case FieldKind::ReadOnlyText: {
        auto* edit = static_cast<QLineEdit*>(bound.control);
        edit->setText(Q(FieldText(field, units_)));
        edit->setCursorPosition(0);
        break;
    }
    case FieldKind::EditSpin:
        static_cast<CSteppedEdit*>(bound.control)->SetText(Q(FieldText(field)));
        break;
    case FieldKind::SpinEdit: {
        auto* spin = static_cast<QDoubleSpinBox*>(bound.control);
        const double step = FieldStep(field, units_);
        spin->setDecimals(Decimals(step));
        spin->setSingleStep(step);
        const std::optional<FieldRange> range = FieldRangeNow(field, units_);
        spin->setRange(range ? range->minimum : -1e9, range ? range->maximum : 1e9);
        spin->setValue(field.value.GetNumber());
        break;
    }
    case FieldKind::ComboByPosition:
    case FieldKind::ComboByData: {
        auto* combo = static_cast<QComboBox*>(bound.control);
        if (field.choicesNow) {
            const std::vector<FieldChoice> choices = field.choicesNow();
            bool same = static_cast<int>(choices.size()) == combo->count();
            for (int i = 0; same && i < combo->count(); ++i)
                same = combo->itemText(i) == Q(choices[static_cast<std::size_t>(i)].text) &&
                       combo->itemData(i).toInt() == choices[static_cast<std::size_t>(i)].data;
            if (!same) {
                combo->clear();
                for (const FieldChoice& choice : choices)
                    combo->addItem(Q(choice.text), choice.data);
            }
        }
        combo->setCurrentIndex(FieldChoiceIndex(field));
        break;
    }
    case FieldKind::CheckBox:
        static_cast<QCheckBox*>(bound.control)
            ->setChecked(std::lround(field.value.GetNumber()) == field.checkedValue);
        break;
    case FieldKind::RadioGroup: {
        const int index = FieldChoiceIndex(field);
        for (std::size_t i = 0; i < bound.buttons.size(); ++i)
            static_cast<QRadioButton*>(bound.buttons[i])->setChecked(static_cast<int>(i) == index);
        break;
    }
    case FieldKind::Slider: {
        auto* slider = static_cast<QSlider*>(bound.control);
        const double step = FieldStep(field, units_) > 0 ? FieldStep(field, units_) : 1;
        const double minimum = field.range ? field.range->minimum : 0;
        const double maximum = field.range ? field.range->maximum : 100;
        slider->setRange(0, static_cast<int>(std::lround((maximum - minimum) / step)));
        slider->setValue(static_cast<int>(std::lround((field.value.GetNumber() - minimum) / step)));
        break;
    }
    case FieldKind::StaticText:
        // Texts written for the other platform end their lines with CR LF.
        static_cast<QLabel*>(bound.control)->setText(Q(FieldText(field)).remove(QLatin1Char('\r')));
        break;
    }
}

void CFieldBinder::ToControls()
{
    if (rules_)
        rules_();
    showing_ = true;
    for (std::size_t i = 0; i < fields_.size(); ++i)
        Show(fields_[i], bound_[i]);
    showing_ = false;
    Refresh();
}

void CFieldBinder::ShowChoices()
{
    showing_ = true;
    for (std::size_t i = 0; i < fields_.size(); ++i)
        if (!IsTyped(fields_[i]))
            Show(fields_[i], bound_[i]);
    showing_ = false;
}

void CFieldBinder::AfterUserChange()
{
    if (rules_)
        rules_();
    ShowChoices();
    Refresh();
    emit edited();
}

void CFieldBinder::Refresh()
{
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        const FieldSpec& field = fields_[i];
        Bound& bound = bound_[i];
        const bool enabled = FieldEnabled(field);
        bound.control->setEnabled(enabled);
        if (bound.label)
            bound.label->setEnabled(enabled);
        if (bound.unit)
            bound.unit->setText(Q(FieldUnitText(field, units_)));
        if (!bound.buttons.empty()) {
            const std::vector<FieldChoice> choices = FieldChoices(field);
            for (std::size_t b = 0; b < bound.buttons.size() && b < choices.size(); ++b)
                bound.buttons[b]->setEnabled(FieldChoiceEnabled(choices[b]));
        }
        if (form_) {
            const bool visible = FieldVisible(field);
            form_->setRowVisible(bound.cell, visible);
            if (bound.note)
                form_->setRowVisible(bound.note, visible);
        }
    }
}

bool CFieldBinder::FromControls(INotifier& notifier)
{
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        const FieldSpec& field = fields_[i];
        if (!IsTyped(field) || field.value.IsReadOnly() || !FieldEnabled(field) || !FieldVisible(field))
            continue;
        if (auto error = StoreFieldText(field, TypedText(field, bound_[i].control).toStdString(), units_)) {
            notifier.Notify(*error, kAppTitle, MsgButtons::Ok, MsgIcon::Exclamation);
            QLineEdit* edit = field.kind == FieldKind::EditSpin ? static_cast<CSteppedEdit*>(bound_[i].control)->Edit()
                                                                : static_cast<QLineEdit*>(bound_[i].control);
            bound_[i].control->setFocus();
            edit->selectAll();
            return false;
        }
    }
    return true;
}

bool CFieldBinder::StoreQuietly(const std::string& id)
{
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        const FieldSpec& field = fields_[i];
        if (field.id != id || !IsTyped(field) || field.value.IsReadOnly())
            continue;
        if (StoreFieldText(field, TypedText(field, bound_[i].control).toStdString(), units_))
            return false;
        if (rules_)
            rules_();
        ShowChoices();
        Refresh();
        return true;
    }
    return false;
}

QWidget* CFieldBinder::Control(const std::string& id) const
{
    for (std::size_t i = 0; i < fields_.size(); ++i)
        if (fields_[i].id == id)
            return bound_[i].control;
    return nullptr;
}

} // namespace halcyra
