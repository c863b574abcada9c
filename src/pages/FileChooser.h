#pragma once
// Asking the user for a file, without saying how: the desktop program shows
// its file dialog, tests answer from a script, the command line takes paths
// as arguments.

#include <optional>
#include <string>

namespace halcyra {

enum class FileDialogMode {
    Save, // save as: any name, asks before overwriting
    Open, // open: the file must exist
};

struct FileRequest {
    FileDialogMode mode = FileDialogMode::Open;
    std::string directory;     // where the dialog opens
    std::string filter;        // "Text Files (*.TXT)|*.txt|All Files (*.*)|*.*||"
    std::string defaultSuffix; // added to a name typed without one
};

class IFileChooser {
public:
    virtual ~IFileChooser() = default;
    // The chosen path, or nothing when the user cancelled.
    virtual std::optional<std::string> ChooseFile(const FileRequest& request) = 0;
};

// Where no one can choose: every request is cancelled.
class CNoFileChooser final : public IFileChooser {
public:
    std::optional<std::string> ChooseFile(const FileRequest&) override { return std::nullopt; }
};

} // namespace halcyra
