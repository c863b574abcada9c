#include "logging/ui/FileTransferProgressDlg.h"

#include "link/ControllerLink.h"
#include "pages/ui/BusyIndicators.h"
#include "pages/ui/ResponsiveWait.h"
#include "pages/ui/UiContext.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>
#include <limits>

namespace halcyra {

namespace {

// While the download waits for a chunk the window keeps painting and takes
// Cancel at once. The link's usual observer would put up the wait cursor,
// which hides that Cancel can be pressed.
class CInputDuringWaits final : public ITransactionWaitObserver {
public:
    CInputDuringWaits(CControllerLink& link, std::function<void()> takeInput)
        : link_(link), previous_(link.WaitObserver()), takeInput_(std::move(takeInput))
    {
        link_.SetWaitObserver(this);
    }
    ~CInputDuringWaits() override { link_.SetWaitObserver(previous_); }
    CInputDuringWaits(const CInputDuringWaits&) = delete;
    CInputDuringWaits& operator=(const CInputDuringWaits&) = delete;

    void WaitBegins() override {}
    void StillWaiting() override { takeInput_(); }
    void WaitEnds() override {}

private:
    CControllerLink& link_;
    ITransactionWaitObserver* previous_;
    std::function<void()> takeInput_;
};

} // namespace

CFileTransferProgressDlg::CFileTransferProgressDlg(CUiContext& context, QWidget* parent) : CHCDialog(context, parent)
{
    setWindowTitle(QStringLiteral("File Download Progress"));
    setWindowModality(Qt::ApplicationModal);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 12, 14, 12);
    layout->setSpacing(8);
    label_ = new QLabel(QStringLiteral("Reading the data log from the controller"), this);
    label_->setObjectName(QStringLiteral("progressText"));
    layout->addWidget(label_);
    bar_ = new QProgressBar(this);
    bar_->setObjectName(QStringLiteral("progress1030"));
    bar_->setMinimumWidth(300);
    bar_->setRange(0, 1);
    bar_->setValue(0);
    layout->addWidget(bar_);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_->setObjectName(QStringLiteral("cancel"));
    // Enter must not end a download by accident.
    cancel_->setAutoDefault(false);
    row->addWidget(cancel_);
    layout->addLayout(row);
    connect(cancel_, &QPushButton::clicked, this, &CFileTransferProgressDlg::reject);
}

void CFileTransferProgressDlg::reject()
{
    if (cancelled_)
        return;
    cancelled_ = true;
    cancel_->setEnabled(false);
    label_->setText(QStringLiteral("Cancelling after the chunk under way..."));
}

void CFileTransferProgressDlg::closeEvent(QCloseEvent* event)
{
    // The window stays until the download has stopped.
    event->ignore();
    reject();
}

void CFileTransferProgressDlg::ShowProgress(std::uint32_t done, std::uint32_t total)
{
    // Chunk counts stop at 0xFFFF, well inside an int.
    bar_->setRange(0, static_cast<int>(std::max<std::uint32_t>(total, 1)));
    bar_->setValue(static_cast<int>(std::min(done, total)));
    if (!cancelled_)
        label_->setText(QStringLiteral("Reading the data log from the controller: %1 of %2 chunks").arg(done).arg(total));
}

void CFileTransferProgressDlg::TakeInput()
{
    // Shown application-modal, the window alone takes input; timers wait, so
    // no tick runs in the middle of the download.
    if (isVisible())
        QCoreApplication::processEvents(QEventLoop::X11ExcludeTimers);
    else
        KeepPainting();
}

LogDownloadResult CFileTransferProgressDlg::Download(const std::string& path)
{
    cancelled_ = false;
    cancel_->setEnabled(true);
    CPutAwayBeforeBoxes putAway(*this);
    CInputDuringWaits waits(Context().link, [this] { TakeInput(); });
    LogDownloadOptions options;
    options.progress = [this](std::uint32_t done, std::uint32_t total) {
        ShowProgress(done, total);
        if (done == 0 && total > 0 && !isVisible()) {
            adjustSize();
            show();
        }
        TakeInput();
    };
    options.cancelled = [this] {
        TakeInput();
        return cancelled_;
    };
    LogDownloadResult result = DownloadDataLog(Context().link, path, options);
    hide();
    return result;
}

} // namespace halcyra
