#pragma once
// What the user sees while a blocking controller exchange runs on the
// user-interface thread: the wait cursor, and a progress window for block
// transfers.

#include "link/Notifier.h"
#include "pages/BusyIndicator.h"

#include <QElapsedTimer>
#include <QString>

#include <functional>
#include <memory>

class QProgressDialog;
class QWidget;

namespace halcyra {

// The wait cursor: SetBusy(true) shows it, SetBusy(false) takes it away.
// Whatever is still shown when this goes (an exception cut a wait short) is
// taken away then.
class CWaitCursor final : public IBusyIndicator {
public:
    CWaitCursor() = default;
    ~CWaitCursor() override;
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

    void SetBusy(bool busy) override;

private:
    int shown_ = 0;
};

// Progress of one block transfer as "<done> of <N> chunks". The window
// appears once the transfer has taken more than a moment, blocks the rest
// of the program while it is up, has no cancel button and cannot be closed:
// a transfer runs to its end or to its failure. It goes away when the last
// chunk is done or when this object is destroyed.
class CTransferProgress {
public:
    // label holds %1 for the chunks done and %2 for the chunk count.
    CTransferProgress(QWidget* parent, QString title, QString label);
    ~CTransferProgress();
    CTransferProgress(const CTransferProgress&) = delete;
    CTransferProgress& operator=(const CTransferProgress&) = delete;

    // For the transfer's progress callback.
    void Update(std::uint32_t done, std::uint32_t total);
    ProgressCallback Callback();

    // The window, once the transfer has begun.
    QProgressDialog* Window() const;

    static constexpr qint64 kShowAfterMs = 400;
    static constexpr qint64 kEstimateAfterMs = 50;

    // Puts every progress window away: a box is about to be shown, and it
    // belongs in front of the window the transfer was started from.
    static void PutAllAway();

private:
    void PutAway();

    QWidget* parent_;
    QString title_;
    QString label_;
    std::unique_ptr<QProgressDialog> window_;
    QElapsedTimer started_;
};

// A progress window of its own kind (one that takes Cancel) is put away
// before a box too, for as long as this lives.
class CPutAwayBeforeBoxes {
public:
    explicit CPutAwayBeforeBoxes(QWidget& window);
    ~CPutAwayBeforeBoxes();
    CPutAwayBeforeBoxes(const CPutAwayBeforeBoxes&) = delete;
    CPutAwayBeforeBoxes& operator=(const CPutAwayBeforeBoxes&) = delete;

private:
    QWidget& window_;
};

// Puts transfer progress away before each box, then shows the box.
class CBoxesBeforeProgress final : public INotifier {
public:
    explicit CBoxesBeforeProgress(INotifier& boxes) : boxes_(boxes) {}
    MsgAnswer Notify(const std::string& text, const std::string& caption, MsgButtons buttons, MsgIcon icon) override
    {
        CTransferProgress::PutAllAway();
        return boxes_.Notify(text, caption, buttons, icon);
    }

private:
    INotifier& boxes_;
};

} // namespace halcyra
