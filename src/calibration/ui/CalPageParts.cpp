#include "calibration/ui/CalPageParts.h"

#include <QFontMetrics>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace halcyra {

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
