#pragma once
// What the user sees while a blocking controller exchange runs on the
// user-interface thread: the wait cursor, and a progress window for block
// transfers.

#include "setup/BlockTransfer.h"

#include <QElapsedTimer>
#include <QString>

#include <functional>
#include <memory>

class QProgressDialog;
class QWidget;

namespace halcyra {

// The wait cursor for operations that report when they wait: Set(true)
// shows it, Set(false) takes it away. Whatever is still shown when this
// goes out of scope (an exception cut the wait short) is taken away then.
class CWaitCursor {
public:
    CWaitCursor() = default;
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

    void Set(bool busy);
    std::function<void(bool)> Callback();

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
    BlockProgress Callback();

    // The window, once the transfer has begun.
    QProgressDialog* Window() const;

    static constexpr qint64 kShowAfterMs = 400;
    static constexpr qint64 kEstimateAfterMs = 50;

private:
    QWidget* parent_;
    QString title_;
    QString label_;
    std::unique_ptr<QProgressDialog> window_;
    QElapsedTimer started_;
};

} // namespace halcyra
