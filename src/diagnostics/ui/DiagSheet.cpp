#include "diagnostics/ui/DiagSheet.h"

#include "diagnostics/ui/DiagPages.h"
#include "link/Files.h"
#include "link/Notifier.h"
#include "pages/DataDirectories.h"
#include "pages/ui/UiContext.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <filesystem>

namespace halcyra {

namespace {

constexpr const char* kSheetTitle = "Installation Diagnostics";

QString FileName(const std::string& path)
{
    return QString::fromStdString(EscapedName(Utf8FromPath(PathFromUtf8(path).filename())));
}

QString Rows(int rows) { return rows == 1 ? QStringLiteral("1 row") : QStringLiteral("%1 rows").arg(rows); }

} // namespace

CDiagSheet::CDiagSheet(CUiContext& context, QWidget* parent)
    : CHCPropertySheet(QString::fromLatin1(kSheetTitle), parent), context_(context)
{
    // A controller with many inputs has more tabs than a window is wide.
    Tabs()->setUsesScrollButtons(true);
    for (const DiagPageRow& row : DiagPageRows()) {
        CHCDiagnosticsPropertyPage* page = MakeDiagPage(row.page, context, this);
        page->hide(); // until it is on a tab
        pages_[static_cast<std::size_t>(row.page)] = page;
        connect(page, &CHCDiagnosticsPropertyPage::polled, this,
                [this, page](bool read) { OnPagePolled(page, read); });
    }
    RemoveAllPages();
    for (DiagPage page : SelectDiagnosticsPages(context.link))
        AddPage(Page(page));

    // "Record..." and what the recording has done, left of OK and Cancel.
    auto* sheetLayout = qobject_cast<QVBoxLayout*>(layout());
    sheetLayout->removeWidget(Buttons());
    auto* buttonRow = new QHBoxLayout;
    record_ = new QPushButton(QString::fromLatin1(kRecordText), this);
    record_->setObjectName(QStringLiteral("record"));
    record_->setAutoDefault(false);
    record_->setEnabled(GetPageCount() > 0);
    recordStatus_ = new QLabel(this);
    recordStatus_->setObjectName(QStringLiteral("recordingStatus"));
    recordStatus_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    // Room for the count of a long recording and a short file name, whatever the font.
    recordStatus_->setMinimumWidth(recordStatus_->fontMetrics().horizontalAdvance(
        QStringLiteral("Saved 100000 rows to recording.csv")));
    buttonRow->addWidget(record_);
    buttonRow->addWidget(recordStatus_, 1);
    buttonRow->addWidget(Buttons());
    sheetLayout->addLayout(buttonRow);
    connect(record_, &QPushButton::clicked, this, &CDiagSheet::OnRecord);
    connect(Tabs(), &QTabWidget::currentChanged, this, &CDiagSheet::OnPageChanged);
}

// A sheet that goes without being ended keeps what it recorded.
CDiagSheet::~CDiagSheet() = default;

void CDiagSheet::OnInitDialog()
{
    setWindowTitle(QString::fromLatin1(kSheetTitle));
    recordStatus_->clear();
}

void CDiagSheet::OnRecord()
{
    if (IsRecording()) {
        StopRecording();
        return;
    }
    FileRequest request;
    request.mode = FileDialogMode::Save;
    request.directory = context_.directories.ConfigurationDir();
    request.filter = kCsvFileFilter;
    request.defaultSuffix = "csv";
    if (const std::optional<std::string> path = context_.files->ChooseFile(request))
        StartRecording(*path);
}

bool CDiagSheet::StartRecording(const std::string& path)
{
    auto* page = qobject_cast<CHCDiagnosticsPropertyPage*>(GetActivePage());
    if (!page || IsRecording())
        return false;
    if (!recording_.Open(path, page->Values())) {
        context_.notifier.Notify("Error: " + EscapedName(path) +
                                     " could not be created, so nothing is being recorded. Choose another file.",
                                 kRecordErrorCaption, MsgButtons::Ok, MsgIcon::Stop);
        return false;
    }
    recordedPage_ = page;
    ShowRecordingState();
    return true;
}

void CDiagSheet::StopRecording()
{
    if (!IsRecording())
        return;
    const std::string path = recording_.Path();
    const int rows = recording_.Rows();
    const bool saved = recording_.Finish();
    recordedPage_ = nullptr;
    ShowRecordingState();
    if (!saved) {
        recordStatus_->clear();
        context_.notifier.Notify("Error: The recording could not be saved as " + EscapedName(path) +
                                     "; that file was left as it was.",
                                 kRecordErrorCaption, MsgButtons::Ok, MsgIcon::Stop);
        return;
    }
    const std::string& savedPath = recording_.SavedPath();
    ShowStatus(QStringLiteral("Saved %1 to %2").arg(Rows(rows), FileName(savedPath)), savedPath);
    if (savedPath != path)
        context_.notifier.Notify(EscapedName(path) + " could not be replaced (is it open in another program?), so the "
                                                     "recording was saved as " + EscapedName(savedPath) + ".",
                                 kRecordErrorCaption, MsgButtons::Ok, MsgIcon::Information);
}

void CDiagSheet::done(int result)
{
    StopRecording();
    CHCPropertySheet::done(result);
}

void CDiagSheet::OnPagePolled(CHCDiagnosticsPropertyPage* page, bool read)
{
    if (page != recordedPage_ || !IsRecording())
        return;
    if (recording_.Add(page->Values(), read, std::chrono::system_clock::now())) {
        ShowRecordingState();
        return;
    }
    const std::string path = recording_.Path();
    recordedPage_ = nullptr;
    ShowRecordingState();
    recordStatus_->clear();
    context_.notifier.Notify("Error: " + EscapedName(path) +
                                 " could not be written, so the recording has stopped; that file was left as it was.",
                             kRecordErrorCaption, MsgButtons::Ok, MsgIcon::Stop);
}

void CDiagSheet::OnPageChanged()
{
    // A recording is of one page.
    if (recordedPage_ && GetActivePage() != recordedPage_)
        StopRecording();
}

void CDiagSheet::ShowRecordingState()
{
    record_->setText(QString::fromLatin1(IsRecording() ? kStopRecordingText : kRecordText));
    if (IsRecording())
        ShowStatus(QStringLiteral("Recording: %1").arg(Rows(recording_.Rows())), recording_.Path());
}

void CDiagSheet::ShowStatus(const QString& text, const std::string& path)
{
    // A long file name is cut short in the middle; the tip names it whole.
    recordStatus_->setText(recordStatus_->fontMetrics().elidedText(text, Qt::ElideMiddle, recordStatus_->width()));
    recordStatus_->setToolTip(QString::fromStdString(EscapedName(path)));
}

} // namespace halcyra
