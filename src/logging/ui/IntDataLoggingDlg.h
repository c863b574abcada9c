#pragma once
// "Internal Data Logging": follows the controller's own logging every
// 500 ms (the fill bar, which buttons apply), starts, stops and clears it,
// and downloads the log with a copy of the advanced setup beside it.

#include "logging/InternalLogging.h"
#include "pages/ui/HCDialog.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace halcyra {

class CIntDataLoggingDlg : public CHCDialog {
    Q_OBJECT

public:
    explicit CIntDataLoggingDlg(CUiContext& context, QWidget* parent = nullptr);

    void OnStart();
    void OnStop();
    void OnClear();
    // Asks for a ".DBG" file and downloads the log into it; the window
    // closes once the log is saved.
    void OnDownloadData();

    CInternalLogging& Logging() { return logging_; }
    QProgressBar* FillBar() const { return bar_; }
    QPushButton* StartButton() const { return start_; }
    QPushButton* StopButton() const { return stop_; }
    QPushButton* ClearButton() const { return clear_; }
    QPushButton* DownloadButton() const { return download_; }
    // Says, while the status poll fails, that the status cannot be read.
    QLabel* StatusUnreadableText() const { return unreadable_; }

public slots:
    void done(int result) override;

protected:
    // The page base step, then the status poll.
    bool OnInitDialog() override;

private:
    void ShowStatus();

    CInternalLogging logging_;
    QProgressBar* bar_ = nullptr;
    QLabel* unreadable_ = nullptr;
    QPushButton* start_ = nullptr;
    QPushButton* stop_ = nullptr;
    QPushButton* clear_ = nullptr;
    QPushButton* download_ = nullptr;
};

} // namespace halcyra
