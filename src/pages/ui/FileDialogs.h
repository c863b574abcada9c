#pragma once
// The platform's file-open and file-save dialogs behind the program's file
// chooser.

#include "pages/FileChooser.h"

#include <QString>

class QWidget;

namespace halcyra {

// The platform's file dialog: no name given at first, overwrite prompt on
// saving, existing files only on opening. Nothing when the user cancelled.
std::optional<std::string> RunFileDialog(QWidget* parent, const FileRequest& request);

// Turns a filter written as "Text Files (*.TXT)|*.txt|All Files (*.*)|*.*||"
// into Qt's "Text Files (*.TXT *.txt);;All Files (*)". Each entry offers the
// patterns of its description and of its pattern field, so that on a system
// whose names are case-sensitive both spellings are listed; "*.*" becomes "*".
QString QtFileFilter(const QString& filter);

// Asks with the platform's dialog, owned by the active window.
class CFileDialogChooser final : public IFileChooser {
public:
    std::optional<std::string> ChooseFile(const FileRequest& request) override;
};

} // namespace halcyra
