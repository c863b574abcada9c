#pragma once
// Controls the calibration pages share.

#include <QString>

#include <string>

class QFormLayout;
class QLabel;
class QVBoxLayout;
class QWidget;

namespace halcyra {

// A label for instructions and status texts: wrapped, wide enough for the
// longest instruction in a few lines, and as tall as lines rows so the page
// does not jump as texts change.
QLabel* MakeInstructionLabel(QWidget* parent, const char* name, int lines);

// The form of fields a page's body ended with (DescribeFields), kept at its
// controls' own widths however wide the sheet's tabs make the page.
QFormLayout* NarrowFieldForm(QVBoxLayout* body);

inline QString Q(const std::string& text) { return QString::fromStdString(text); }

} // namespace halcyra
