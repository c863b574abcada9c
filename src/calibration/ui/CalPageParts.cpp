#include "calibration/ui/CalPageParts.h"

#include "calibration/CalibrationPages.h"

#include <QFontMetrics>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QVBoxLayout>

namespace halcyra {

QString TitleOf(CalPage page) { return QString::fromLatin1(CalPageInfoOf(page).title); }

QString HeadingOf(CalPage page) { return QString::fromLatin1(CalPageInfoOf(page).heading); }

void KeepRoomWhenHidden(QWidget* widget)
{
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

QLineEdit* MakeValueField(QWidget* parent, const char* name, int characters)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setReadOnly(true);
    field->setMinimumWidth(field->fontMetrics().averageCharWidth() * characters);
    return field;
}

QSlider* AddLowHighSlider(QVBoxLayout* body, QWidget* parent, const char* name)
{
    auto* row = new QHBoxLayout;
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setObjectName(QString::fromLatin1(name));
    slider->setMinimumWidth(slider->fontMetrics().averageCharWidth() * 36);
    slider->setTickPosition(QSlider::TicksBelow);
    row->addWidget(new QLabel(QStringLiteral("Low"), parent));
    row->addWidget(slider, 1);
    row->addWidget(new QLabel(QStringLiteral("High"), parent));
    body->addLayout(row);
    return slider;
}

void AddSidesRow(QGridLayout* grid, int row, QWidget* parent, const QString& label, QWidget* left, QWidget* right)
{
    auto* text = new QLabel(label, parent);
    text->setBuddy(left);
    grid->addWidget(text, row, 0, Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(left, row, 1);
    grid->addWidget(right, row, 2);
}

QLabel* MakeInstructionLabel(QWidget* parent, const char* name, int lines)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const QFontMetrics metrics(label->font());
    label->setMinimumWidth(metrics.averageCharWidth() * 56);
    label->setMinimumHeight(metrics.lineSpacing() * lines);
    return label;
}

} // namespace halcyra

namespace halcyra {

QFormLayout* NarrowFieldForm(QVBoxLayout* body)
{
    QLayoutItem* last = body->count() > 0 ? body->itemAt(body->count() - 1) : nullptr;
    auto* form = last ? qobject_cast<QFormLayout*>(last->layout()) : nullptr;
    if (form)
        form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    return form;
}

} // namespace halcyra

namespace halcyra {

CStepArrowsEdit::CStepArrowsEdit(QWidget* parent) : QAbstractSpinBox(parent)
{
    setKeyboardTracking(true);
    setAccelerated(false);
}

void CStepArrowsEdit::stepBy(int steps)
{
    if (onStep)
        onStep(steps);
}

void CStepArrowsEdit::focusInEvent(QFocusEvent* event)
{
    QAbstractSpinBox::focusInEvent(event);
    if (onFocus)
        onFocus();
}

} // namespace halcyra
