#include "pages/ui/BusyIndicators.h"

#include "pages/ui/ResponsiveWait.h"

#include <QApplication>
#include <QCloseEvent>
#include <QProgressDialog>
#include <QWidget>

#include <limits>
#include <set>

namespace halcyra {

CWaitCursor::~CWaitCursor()
{
    while (shown_ > 0)
        SetBusy(false);
}

void CWaitCursor::SetBusy(bool busy)
{
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ++shown_;
    } else if (shown_ > 0) {
        QApplication::restoreOverrideCursor();
        --shown_;
    }
}

namespace {

// A progress window that neither Escape nor the close box ends: the
// transfer behind it cannot be stopped halfway.
class CUnclosableProgress final : public QProgressDialog {
public:
    using QProgressDialog::QProgressDialog;
    void reject() override {}

protected:
    void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

// The transfers under way; one thread only.
std::set<CTransferProgress*>& Live()
{
    static std::set<CTransferProgress*> live;
    return live;
}

// Other progress windows that go away before a box.
std::set<QWidget*>& OtherWindows()
{
    static std::set<QWidget*> windows;
    return windows;
}

} // namespace

CPutAwayBeforeBoxes::CPutAwayBeforeBoxes(QWidget& window) : window_(window) { OtherWindows().insert(&window_); }

CPutAwayBeforeBoxes::~CPutAwayBeforeBoxes() { OtherWindows().erase(&window_); }

CTransferProgress::CTransferProgress(QWidget* parent, QString title, QString label)
    : parent_(parent), title_(std::move(title)), label_(std::move(label))
{
    Live().insert(this);
}

CTransferProgress::~CTransferProgress() { Live().erase(this); }

void CTransferProgress::PutAllAway()
{
    for (CTransferProgress* progress : Live())
        progress->PutAway();
    for (QWidget* window : OtherWindows())
        window->hide();
}

void CTransferProgress::PutAway()
{
    if (window_ && window_->isVisible()) {
        window_->reset();
        window_->hide();
    }
}

QProgressDialog* CTransferProgress::Window() const { return window_.get(); }

ProgressCallback CTransferProgress::Callback()
{
    return [this](std::uint32_t done, std::uint32_t total) { Update(done, total); };
}

void CTransferProgress::Update(std::uint32_t done, std::uint32_t total)
{
    if (!window_) {
        window_ = std::make_unique<CUnclosableProgress>(parent_);
        window_->setObjectName(QStringLiteral("transferProgress"));
        window_->setWindowTitle(title_);
        window_->setWindowModality(Qt::ApplicationModal);
        window_->setCancelButton(nullptr);
        window_->setAutoReset(false);
        window_->setAutoClose(false);
        // The window is shown from here only. Left to its own timer it would
        // pop up a few seconds on, perhaps in front of a message box that it
        // then blocks. reset() stops the timer the window started when
        // it was made, and the long duration keeps setValue from starting
        // it again.
        window_->setMinimumDuration(std::numeric_limits<int>::max());
        window_->reset();
        window_->setMinimumWidth(280);
    }
    if (done == 0) {
        // A transfer begins. Chunk counts stop at 0xFFFF, well inside an int.
        window_->reset();
        window_->hide();
        window_->setRange(0, static_cast<int>(total));
        started_.start();
    }
    window_->setLabelText(label_.arg(done).arg(total));
    window_->setValue(static_cast<int>(done));
    if (done >= total) {
        // The messages that follow belong to the dialog underneath.
        PutAway();
        return;
    }
    if (!window_->isVisible()) {
        // Shown once the transfer has taken, or is going to take, more than a moment.
        const qint64 elapsed = started_.elapsed();
        const qint64 remaining = done == 0 ? 0 : elapsed * (total - done) / done;
        if (elapsed < kShowAfterMs && (elapsed < kEstimateAfterMs || remaining < kShowAfterMs))
            return;
        window_->show();
    }
    // Paint it; input waits until the transfer ends.
    KeepPainting();
}

} // namespace halcyra
