#pragma once
// "File Download Progress": the internal data log's download, chunk by
// chunk, in a window that blocks the rest of the program and takes Cancel.

#include "logging/LogDownload.h"
#include "pages/ui/HCDialog.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace halcyra {

class CFileTransferProgressDlg : public CHCDialog {
    Q_OBJECT

public:
    explicit CFileTransferProgressDlg(CUiContext& context, QWidget* parent = nullptr);

    // Downloads the data log into path while this window shows how far it
    // got. Cancel, Escape or the close box stop it before the next chunk,
    // and path stays as it was. The window is put away at the end.
    LogDownloadResult Download(const std::string& path);

    void ShowProgress(std::uint32_t done, std::uint32_t total);
    bool CancelRequested() const { return cancelled_; }
    QProgressBar* Bar() const { return bar_; }
    QPushButton* CancelButton() const { return cancel_; }

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Lets the window paint and take Cancel; nothing else runs meanwhile.
    void TakeInput();

    QLabel* label_ = nullptr;
    QProgressBar* bar_ = nullptr;
    QPushButton* cancel_ = nullptr;
    bool cancelled_ = false;
};

} // namespace halcyra
