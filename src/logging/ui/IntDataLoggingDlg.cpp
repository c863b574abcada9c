#include "logging/ui/IntDataLoggingDlg.h"

#include "logging/LogDownload.h"
#include "logging/ui/FileTransferProgressDlg.h"
#include "pages/DataDirectories.h"
#include "pages/ui/UiContext.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <limits>

namespace halcyra {

CIntDataLoggingDlg::CIntDataLoggingDlg(CUiContext& context, QWidget* parent)
    : CHCDialog(context, parent), logging_(context)
{
    setWindowTitle(QStringLiteral("Internal Data Logging"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 10, 12, 12);
    layout->setSpacing(10);

    auto* group = new QGroupBox(QStringLiteral("Data logging progress:"), this);
    auto* inside = new QVBoxLayout(group);
    inside->setSpacing(8);
    bar_ = new QProgressBar(group);
    bar_->setObjectName(QStringLiteral("progress1030"));
    bar_->setMinimumWidth(280);
    bar_->setRange(0, 1);
    bar_->setValue(0);
    bar_->setFormat(QStringLiteral("Waiting for the controller"));
    inside->addWidget(bar_);
    unreadable_ = new QLabel(QString::fromLatin1(kLogStatusUnreadableText), group);
    unreadable_->setObjectName(QStringLiteral("statusUnreadable"));
    unreadable_->setWordWrap(true);
    unreadable_->setVisible(false);
    inside->addWidget(unreadable_);
    auto* commands = new QHBoxLayout;
    start_ = new QPushButton(QStringLiteral("Start"), group);
    start_->setObjectName(QStringLiteral("start"));
    stop_ = new QPushButton(QStringLiteral("Stop"), group);
    stop_->setObjectName(QStringLiteral("stop"));
    stop_->setEnabled(false);
    clear_ = new QPushButton(QStringLiteral("Clear"), group);
    clear_->setObjectName(QStringLiteral("clear"));
    commands->addWidget(start_);
    commands->addWidget(stop_);
    commands->addWidget(clear_);
    inside->addLayout(commands);
    layout->addWidget(group);

    download_ = new QPushButton(QStringLiteral("Download Data"), this);
    download_->setObjectName(QStringLiteral("download"));
    layout->addWidget(download_, 0, Qt::AlignHCenter);

    // No button ends the window on Enter.
    for (QPushButton* button : {start_, stop_, clear_, download_})
        button->setAutoDefault(false);
    OnClicked(start_, [this] { OnStart(); });
    OnClicked(stop_, [this] { OnStop(); });
    OnClicked(clear_, [this] { OnClear(); });
    OnClicked(download_, [this] { OnDownloadData(); });
}

bool CIntDataLoggingDlg::OnInitDialog()
{
    CHCDialog::OnInitDialog();
    logging_.StartPolling([this] { ShowStatus(); });
    return true;
}

void CIntDataLoggingDlg::done(int result)
{
    logging_.StopPolling();
    CHCDialog::done(result);
}

void CIntDataLoggingDlg::ShowStatus()
{
    const CInternalLogging::Buttons& allowed = logging_.Allowed();
    start_->setEnabled(allowed.start);
    stop_->setEnabled(allowed.stop);
    download_->setEnabled(allowed.download);
    unreadable_->setVisible(logging_.StatusUnreadable());
    const std::optional<LogStatus>& status = logging_.Status();
    if (!status)
        return;
    // The bar counts in ints: a log memory past their range is shown scaled.
    constexpr std::uint32_t kMaxBar = std::numeric_limits<int>::max();
    const std::uint32_t scale = status->Total() / kMaxBar + 1;
    bar_->setRange(0, static_cast<int>(status->Total() / scale));
    bar_->setValue(static_cast<int>(status->Used() / scale));
    bar_->setFormat(QStringLiteral("%1 of %2 bytes").arg(status->Used()).arg(status->Total()));
}

void CIntDataLoggingDlg::OnStart() { logging_.Start(); }
void CIntDataLoggingDlg::OnStop() { logging_.Stop(); }
void CIntDataLoggingDlg::OnClear() { logging_.Clear(); }

void CIntDataLoggingDlg::OnDownloadData()
{
    // The status poll waits while the file is chosen and the log comes in.
    CTickGate::CHold hold(Context().ticks);
    const std::optional<std::string> path = Context().files->ChooseFile(LogFileRequest(Context().directories));
    if (!path)
        return;
    CFileTransferProgressDlg progress(Context(), this);
    if (progress.Download(*path).outcome == LogDownloadOutcome::Saved)
        done(0);
}

} // namespace halcyra
