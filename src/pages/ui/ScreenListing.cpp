#include "pages/ui/ScreenListing.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

#include <algorithm>
#include <vector>

namespace halcyra {

namespace {

QString Quoted(QString text)
{
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    text.replace(QLatin1Char('\r'), QString());
    text.replace(QLatin1Char('\t'), QLatin1String("\\t"));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// The label a form or a buddy gives a control.
QString LabelOf(const QWidget& control)
{
    for (const QLabel* label : control.window()->findChildren<QLabel*>())
        if (label->buddy() == &control)
            return label->text();
    return {};
}

struct Line {
    QString kind, label, value;
};

bool Describe(const QWidget& w, Line& line)
{
    // A widget the listing does not know may describe itself: its "listing"
    // property holds kind, label and value.
    if (const QStringList self = w.property("listing").toStringList(); self.size() == 3) {
        line = {self[0], self[1], self[2]};
        return true;
    }
    if (auto* tabs = qobject_cast<const QTabBar*>(&w)) {
        QStringList names;
        for (int i = 0; i < tabs->count(); ++i)
            names << tabs->tabText(i);
        line = {QStringLiteral("tabs"), names.join(QLatin1String(" | ")), tabs->tabText(tabs->currentIndex())};
        return true;
    }
    if (auto* menu = qobject_cast<const QMenuBar*>(&w)) {
        QStringList names;
        for (const QAction* a : menu->actions())
            names << a->text().remove(QLatin1Char('&'));
        line = {QStringLiteral("menu"), names.join(QLatin1String(" | ")), {}};
        return true;
    }
    if (auto* radio = qobject_cast<const QRadioButton*>(&w)) {
        line = {QStringLiteral("radio"), radio->text(), radio->isChecked() ? QStringLiteral("on") : QStringLiteral("off")};
        return true;
    }
    if (auto* check = qobject_cast<const QCheckBox*>(&w)) {
        line = {QStringLiteral("check"), check->text(), check->isChecked() ? QStringLiteral("on") : QStringLiteral("off")};
        return true;
    }
    if (auto* button = qobject_cast<const QAbstractButton*>(&w)) {
        // Buttons that belong to a tab bar or a scroll area are part of those.
        if (qobject_cast<const QTabBar*>(w.parentWidget()))
            return false;
        line = {QStringLiteral("button"), button->text(), {}};
        return true;
    }
    if (auto* combo = qobject_cast<const QComboBox*>(&w)) {
        line = {QStringLiteral("combo"), LabelOf(w), combo->currentText()};
        return true;
    }
    if (auto* spin = qobject_cast<const QAbstractSpinBox*>(&w)) {
        line = {QStringLiteral("spin"), LabelOf(w), spin->text()};
        return true;
    }
    if (auto* edit = qobject_cast<const QLineEdit*>(&w)) {
        if (qobject_cast<const QAbstractSpinBox*>(w.parentWidget()) || qobject_cast<const QComboBox*>(w.parentWidget()))
            return false;
        line = {edit->isReadOnly() ? QStringLiteral("text") : QStringLiteral("edit"), LabelOf(w), edit->text()};
        return true;
    }
    if (auto* text = qobject_cast<const QPlainTextEdit*>(&w)) {
        line = {QStringLiteral("textbox"), LabelOf(w), text->toPlainText()};
        return true;
    }
    if (auto* list = qobject_cast<const QListWidget*>(&w)) {
        QStringList items;
        for (int i = 0; i < list->count(); ++i)
            items << list->item(i)->text();
        line = {QStringLiteral("list"), LabelOf(w), items.join(QLatin1String(" | "))};
        return true;
    }
    if (auto* slider = qobject_cast<const QAbstractSlider*>(&w)) {
        line = {QStringLiteral("slider"), LabelOf(w), QString::number(slider->value())};
        return true;
    }
    if (auto* bar = qobject_cast<const QProgressBar*>(&w)) {
        line = {QStringLiteral("progress"), LabelOf(w), QString::number(bar->value())};
        return true;
    }
    if (auto* label = qobject_cast<const QLabel*>(&w)) {
        // A control's own label is listed with the control.
        if (label->text().isEmpty() || label->buddy())
            return false;
        line = {QStringLiteral("label"), label->text(), {}};
        return true;
    }
    if (auto* group = qobject_cast<const QGroupBox*>(&w)) {
        line = {QStringLiteral("group"), group->title(), {}};
        return true;
    }
    return false;
}

void Walk(const QWidget& w, QStringList& lines)
{
    // Top to bottom, then left to right, as the eye reads the window; the
    // centres keep the texts and controls of one row together.
    std::vector<QWidget*> children;
    for (QObject* child : w.children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget && !widget->isWindow() && widget->isVisibleTo(w.window()))
            children.push_back(widget);
    }
    std::stable_sort(children.begin(), children.end(), [](const QWidget* a, const QWidget* b) {
        const int ca = a->geometry().center().y();
        const int cb = b->geometry().center().y();
        return ca != cb ? ca < cb : a->x() < b->x();
    });
    for (QWidget* widget : children) {
        Line line;
        if (Describe(*widget, line)) {
            QString text = line.kind + QLatin1Char('\t') + Quoted(line.label);
            text += QLatin1Char('\t') + Quoted(line.value);
            text += widget->isEnabled() ? QStringLiteral("\tenabled") : QStringLiteral("\tdisabled");
            lines << text;
        }
        // A tab widget's hidden pages are not on the screen.
        Walk(*widget, lines);
    }
}

} // namespace

QString ListControls(const QWidget& screen)
{
    QStringList lines;
    lines << QStringLiteral("window\t") + Quoted(screen.windowTitle());
    Walk(screen, lines);
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace halcyra
