#include "pages/ui/FieldBinder.h"

#include "link/Notifier.h"

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

} // namespace

CFieldBinder::CFieldBinder(QWidget* owner, const CUnitsParam* units) : QObject(owner), owner_(owner), units_(units) {}

void CFieldBinder::UserChanged(const std::function<void()>& store)
{
    // Values going into the controls are not the user's doing.
    if (showing_)
        return;
    store();
    Refresh();
    emit edited();
}

QWidget* CFieldBinder::MakeControl(const FieldSpec& field, Bound& bound)
{
    const QString id = Q(field.id);
    switch (field.kind) {
    case FieldKind::Edit:
    case FieldKind::ReadOnlyText: {
        auto* edit = new QLineEdit(owner_);
        edit->setReadOnly(field.kind == FieldKind::ReadOnlyText);
        edit->setMinimumWidth(field.kind == FieldKind::ReadOnlyText ? 200 : 80);
        connect(edit, &QLineEdit::textEdited, this, &CFieldBinder::edited);
        return edit;
    }
    case FieldKind::SpinEdit: {
        auto* spin = new QDoubleSpinBox(owner_);
        spin->setKeyboardTracking(false);
        connect(spin, &QDoubleSpinBox::valueChanged, this,
                [this, &field](double v) { UserChanged([&] { field.value.SetNumber(v); }); });
        return spin;
    }
    case FieldKind::ComboByPosition:
    case FieldKind::ComboByData: {
        auto* combo = new QComboBox(owner_);
        for (const FieldChoice& choice : field.choices)
            combo->addItem(Q(choice.text), choice.data);
        connect(combo, &QComboBox::currentIndexChanged, this,
                [this, &field](int index) { UserChanged([&] { StoreFieldChoice(field, index); }); });
        return combo;
    }
    case FieldKind::CheckBox: {
        auto* check = new QCheckBox(Q(field.label), owner_);
        connect(check, &QCheckBox::toggled, this,
                [this, &field](bool on) { UserChanged([&] { StoreFieldChecked(field, on); }); });
        return check;
    }
    case FieldKind::RadioGroup: {
        auto* box = new QWidget(owner_);
        auto* column = new QVBoxLayout(box);
        column->setContentsMargins(0, 0, 0, 0);
        auto* group = new QButtonGroup(box);
        for (std::size_t i = 0; i < field.choices.size(); ++i) {
            auto* radio = new QRadioButton(Q(field.choices[i].text), box);
            radio->setObjectName(id + QString::number(i));
            group->addButton(radio, static_cast<int>(i));
            column->addWidget(radio);
            bound.buttons.push_back(radio);
        }
        connect(group, &QButtonGroup::idToggled, this, [this, &field](int index, bool on) {
            if (on)
                UserChanged([&] { StoreFieldChoice(field, index); });
        });
        return box;
    }
    case FieldKind::Slider: {
        auto* slider = new QSlider(Qt::Horizontal, owner_);
        slider->setMinimumWidth(160);
        connect(slider, &QSlider::valueChanged, this, [this, &field](int position) {
            UserChanged([&] {
                const double step = FieldStep(field, units_) > 0 ? FieldStep(field, units_) : 1;
                const double minimum = field.range ? field.range->minimum : 0;
                field.value.SetNumber(minimum + position * step);
            });
        });
        return slider;
    }
    }
    return nullptr;
}

QFormLayout* CFieldBinder::Build(PageFields fields)
{
    fields_ = std::move(fields);
    bound_.assign(fields_.size(), Bound{});
    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    form->setHorizontalSpacing(8);
    form->setVerticalSpacing(6);
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        const FieldSpec& field = fields_[i];
        Bound& bound = bound_[i];
        bound.control = MakeControl(field, bound);
        bound.control->setObjectName(Q(field.id));
        QWidget* cell = bound.control;
        if (field.units != UnitSource::None) {
            cell = new QWidget(owner_);
            auto* row = new QHBoxLayout(cell);
            row->setContentsMargins(0, 0, 0, 0);
            row->addWidget(bound.control, 1);
            bound.unit = new QLabel(cell);
            bound.unit->setObjectName(Q(field.id) + QStringLiteral("Unit"));
            bound.unit->setMinimumWidth(24);
            row->addWidget(bound.unit);
        }
        bound.cell = cell;
        if (field.kind == FieldKind::CheckBox || field.label.empty()) {
            form->addRow(cell);
        } else {
            bound.label = new QLabel(Q(field.label), owner_);
            bound.label->setBuddy(bound.control);
            form->addRow(bound.label, cell);
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
    case FieldKind::ComboByData:
        static_cast<QComboBox*>(bound.control)->setCurrentIndex(FieldChoiceIndex(field));
        break;
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
    }
}

void CFieldBinder::ToControls()
{
    showing_ = true;
    for (std::size_t i = 0; i < fields_.size(); ++i)
        Show(fields_[i], bound_[i]);
    showing_ = false;
    Refresh();
}

void CFieldBinder::Refresh()
{
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        const bool enabled = FieldEnabled(fields_[i]);
        bound_[i].control->setEnabled(enabled);
        if (bound_[i].label)
            bound_[i].label->setEnabled(enabled);
        if (fields_[i].visible) {
            // Hidden widgets take no room in the form.
            const bool visible = FieldVisible(fields_[i]);
            for (QWidget* part : {static_cast<QWidget*>(bound_[i].cell), static_cast<QWidget*>(bound_[i].label),
                                  static_cast<QWidget*>(bound_[i].note)})
                if (part)
                    part->setVisible(visible);
        }
        if (bound_[i].unit)
            bound_[i].unit->setText(Q(FieldUnitText(fields_[i], units_)));
    }
}

bool CFieldBinder::FromControls(INotifier& notifier)
{
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        const FieldSpec& field = fields_[i];
        if (field.kind != FieldKind::Edit || field.value.IsReadOnly() || !FieldEnabled(field) || !FieldVisible(field))
            continue;
        auto* edit = static_cast<QLineEdit*>(bound_[i].control);
        if (auto error = StoreFieldText(field, edit->text().toStdString(), units_)) {
            notifier.Notify(*error, kAppTitle, MsgButtons::Ok, MsgIcon::Exclamation);
            edit->setFocus();
            edit->selectAll();
            return false;
        }
    }
    return true;
}

QWidget* CFieldBinder::Control(const std::string& id) const
{
    for (std::size_t i = 0; i < fields_.size(); ++i)
        if (fields_[i].id == id)
            return bound_[i].control;
    return nullptr;
}

} // namespace halcyra
