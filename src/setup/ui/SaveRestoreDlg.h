#pragma once
// "Save / Restore Setup": copies the controller's setup into a setup file,
// or writes a setup file back into the controller.

#include "pages/ui/HCDialog.h"

#include <chrono>
#include <cstdint>

class QPushButton;
class QToolButton;

namespace halcyra {

class CSaveRestoreDlg : public CHCDialog {
    Q_OBJECT

public:
    explicit CSaveRestoreDlg(CUiContext& context, QWidget* parent = nullptr);

    // Asks for a setup file name and downloads the block into it, with a
    // progress window. False when cancelled or failed (with its messages).
    bool SaveSetupToFile(std::uint8_t block);
    // The same for dialogs that save a block without this one on screen.
    static bool SaveSetupToFile(CUiContext& context, QWidget* parent, std::uint8_t block);
    // Asks for a setup file and restores the controller's setup from it.
    bool RestoreSetupFromFile();

    // "Save to File": the setup block. "Restore from File".
    void OnSaveToFile();
    void OnRestoreFromFile();
    // "Compare With Controller...": asks for a setup file, compares it with
    // the controller and shows the records that differ.
    void OnCompareWithController();

    // How long a restored controller is given to restart before it is polled.
    void SetRestartPause(std::chrono::milliseconds pause) { restartPause_ = pause; }

    QToolButton* SaveButton() const { return save_; }
    QToolButton* RestoreButton() const { return restore_; }
    QPushButton* CompareButton() const { return compare_; }

private:
    QToolButton* MakePictureButton(const QString& picture, const QString& label, const char* name);

    QToolButton* save_ = nullptr;
    QToolButton* restore_ = nullptr;
    QPushButton* compare_ = nullptr;
    std::chrono::milliseconds restartPause_;
};

} // namespace halcyra
