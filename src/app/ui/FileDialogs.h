#pragma once
// The file-open and file-save dialogs of the program. Which file the user
// picks goes through a chooser, so the program can be driven without a
// dialog on screen (tests choose the file themselves).

#include <QString>

#include <functional>

class QWidget;

namespace halcyra {

enum class FileDialogMode {
    Save, // save as: any name, asks before overwriting
    Open, // open: the file must exist
};

struct FileRequest {
    FileDialogMode mode = FileDialogMode::Open;
    QString directory;     // where the dialog opens
    QString filter;        // in Qt's form, see QtFileFilter
    QString defaultSuffix; // added to a name typed without one
};

// Returns the chosen path, or an empty text when the user cancelled.
using FileChooser = std::function<QString(QWidget* parent, const FileRequest& request)>;

// The platform's file dialog: no name given at first, overwrite prompt on
// saving, existing files only on opening.
QString RunFileDialog(QWidget* parent, const FileRequest& request);

// Turns a filter written as "Text Files (*.TXT)|*.txt|All Files (*.*)|*.*||"
// into Qt's "Text Files (*.TXT *.txt);;All Files (*)". Each entry offers the
// patterns of its description and of its pattern field, so that on a system
// whose names are case-sensitive both spellings are listed; "*.*" becomes "*".
QString QtFileFilter(const QString& filter);

} // namespace halcyra
