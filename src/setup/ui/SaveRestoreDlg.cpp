#include "setup/ui/SaveRestoreDlg.h"

#include "pages/DataDirectories.h"
#include "pages/ui/UiContext.h"
#include "setup/SetupCompare.h"
#include "setup/SetupFiles.h"
#include "setup/ui/SetupCompareDlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace halcyra {

namespace {

FileRequest SetupFileRequest(const CPageContext& context, FileDialogMode mode)
{
    FileRequest request;
    request.mode = mode;
    request.directory = context.directories.ConfigurationDir();
    request.filter = kSetupFileFilter;
    request.defaultSuffix = kSetupFileExtension;
    return request;
}

} // namespace

CSaveRestoreDlg::CSaveRestoreDlg(CUiContext& context, QWidget* parent)
    : CHCDialog(context, parent), restartPause_(RestoreOptions{}.restartPause)
{
    setWindowTitle(QStringLiteral("Save / Restore Setup"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 12);
    layout->setSpacing(12);

    auto* pictures = new QHBoxLayout;
    pictures->setSpacing(16);
    save_ = MakePictureButton(QStringLiteral(":/res/SAVE_TO_FILE"), QStringLiteral("Save to File"), "saveToFile");
    restore_ = MakePictureButton(QStringLiteral(":/res/RESTORE_FROM_FILE"), QStringLiteral("Restore from File"),
                                 "restoreFromFile");
    pictures->addWidget(save_);
    pictures->addWidget(restore_);
    layout->addLayout(pictures);

    compare_ = new QPushButton(QStringLiteral("Compare With Controller..."), this);
    compare_->setObjectName(QStringLiteral("compareWithController"));
    layout->addWidget(compare_, 0, Qt::AlignHCenter);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);

    OnClicked(save_, [this] { OnSaveToFile(); });
    OnClicked(restore_, [this] { OnRestoreFromFile(); });
    OnClicked(compare_, [this] { OnCompareWithController(); });
}

QToolButton* CSaveRestoreDlg::MakePictureButton(const QString& picture, const QString& label, const char* name)
{
    auto* button = new QToolButton(this);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(QIcon(picture));
    button->setIconSize(QSize(64, 64));
    button->setText(label);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setMinimumWidth(120);
    return button;
}

void CSaveRestoreDlg::OnSaveToFile() { SaveSetupToFile(kSetupBlock); }

void CSaveRestoreDlg::OnRestoreFromFile() { RestoreSetupFromFile(); }

bool CSaveRestoreDlg::SaveSetupToFile(std::uint8_t block) { return SaveSetupToFile(Context(), this, block); }

bool CSaveRestoreDlg::SaveSetupToFile(CUiContext& context, QWidget* parent, std::uint8_t block)
{
    const std::optional<std::string> path = context.files->ChooseFile(SetupFileRequest(context, FileDialogMode::Save));
    if (!path)
        return false;
    CTransferProgress progress(parent, parent ? parent->windowTitle() : QString(),
                               QStringLiteral("Reading from the controller: %1 of %2 chunks"));
    return SaveBlockToFile(context.link, *path, block, false, progress.Callback());
}

bool CSaveRestoreDlg::RestoreSetupFromFile()
{
    const std::optional<std::string> path =
        Context().files->ChooseFile(SetupFileRequest(Context(), FileDialogMode::Open));
    if (!path)
        return false;
    CTransferProgress progress(this, windowTitle(), QStringLiteral("Writing to the controller: %1 of %2 chunks"));
    CBusyReports busy(*Context().busy);
    RestoreOptions options;
    options.progress = progress.Callback();
    options.busy = busy.Callback();
    options.restartPause = restartPause_;
    options.backup.configurationDir = Context().directories.ConfigurationDir();
    return RestoreBlockFromFile(Context().link, *path, options);
}

} // namespace halcyra

namespace halcyra {

void CSaveRestoreDlg::OnCompareWithController()
{
    const std::optional<std::string> path =
        Context().files->ChooseFile(SetupFileRequest(Context(), FileDialogMode::Open));
    if (!path)
        return;
    SetupComparison comparison;
    std::string error;
    CompareResult result = CompareResult::FileError;
    {
        CTransferProgress progress(this, windowTitle(), QStringLiteral("Comparing with the controller: %1 of %2 records"));
        CBusyReports busy(*Context().busy);
        busy.Callback()(true); // the wait cursor until the comparison ends
        result = CompareSetupWithController(Context().link, *path, comparison, error, progress.Callback());
    }
    if (result != CompareResult::Compared) {
        Context().notifier.Notify(error, "Compare Error", MsgButtons::Ok, MsgIcon::Stop);
        return;
    }
    CSetupCompareDlg dialog(Context(), std::move(comparison), this);
    Context().RunModal(dialog);
}

} // namespace halcyra
