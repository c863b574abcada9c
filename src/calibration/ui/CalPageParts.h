#pragma once
// Controls the calibration pages share.

#include <QAbstractSpinBox>
#include <QString>

#include <functional>
#include <string>

class QFormLayout;
class QGridLayout;
class QLabel;
class QLineEdit;
class QSlider;
class QVBoxLayout;
class QWidget;

namespace halcyra {

enum class CalPage;

QString TitleOf(CalPage page);
QString HeadingOf(CalPage page);

// A label for instructions and status texts: wrapped, wide enough for the
// longest instruction in a few lines, and as tall as lines rows so the page
// does not jump as texts change.
QLabel* MakeInstructionLabel(QWidget* parent, const char* name, int lines);

// The form of fields a page's body ended with (DescribeFields), kept at its
// controls' own widths however wide the sheet's tabs make the page.
QFormLayout* NarrowFieldForm(QVBoxLayout* body);

inline QString Q(const std::string& text) { return QString::fromStdString(text); }

// The widget keeps its room while hidden, so the page does not jump.
void KeepRoomWhenHidden(QWidget* widget);

// A read-only field for a value the page shows.
QLineEdit* MakeValueField(QWidget* parent, const char* name, int characters = 10);

// A row of "Low", a horizontal slider and "High"; the slider is returned.
QSlider* AddLowHighSlider(QVBoxLayout* body, QWidget* parent, const char* name);

// A row of a grid with a left and a right column: label, then the two controls.
void AddSidesRow(QGridLayout* grid, int row, QWidget* parent, const QString& label, QWidget* left, QWidget* right);

// An edit with up and down arrows whose steps are the owner's to take: the
// arrows report presses and the text is the owner's value.
class CStepArrowsEdit final : public QAbstractSpinBox {
    Q_OBJECT

public:
    explicit CStepArrowsEdit(QWidget* parent = nullptr);
    void stepBy(int steps) override;
    QLineEdit* Edit() const { return lineEdit(); }

    std::function<void(int stepsUp)> onStep;
    std::function<void()> onFocus;

protected:
    StepEnabled stepEnabled() const override { return StepUpEnabled | StepDownEnabled; }
    void focusInEvent(QFocusEvent* event) override;
};

} // namespace halcyra
