#include "setup/ui/SaveRestoreDlg.h"

#include "app/DataPaths.h"
#include "app/ui/FileDialogs.h"
#include "app/ui/ToolboxContext.h"
#include "link/ControllerLink.h"
#include "pages/ui/SerialGuard.h"
#include "setup/SetupFiles.h"
#include "setup/ui/BusyIndicators.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QHBoxLayout>
#include <QIcon>
#include <QToolButton>
#include <QVBoxLayout>

namespace halcyra {

namespace {

FileRequest SetupFileRequest(const CToolboxContext& context, FileDialogMode mode)
{
    FileRequest request;
    request.mode = mode;
    request.directory = QString::fromStdString(context.directories.ConfigurationDir());
    request.filter = QtFileFilter(QString::fromLatin1(kSetupFileFilter));
    request.defaultSuffix = QString::fromLatin1(kSetupFileExtension);
    return request;
}

std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

} // namespace

CSaveRestoreDlg::CSaveRestoreDlg(CToolboxContext& context, QWidget* parent)
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

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);

    connect(save_, &QToolButton::clicked, this, &CSaveRestoreDlg::OnSaveToFile);
    connect(restore_, &QToolButton::clicked, this, &CSaveRestoreDlg::OnRestoreFromFile);
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

void CSaveRestoreDlg::OnSaveToFile()
{
    RunGuarded(Context().notifier, [this] { SaveSetupToFile(kSetupBlock); });
}

void CSaveRestoreDlg::OnRestoreFromFile()
{
    RunGuarded(Context().notifier, [this] { RestoreSetupFromFile(); });
}

bool CSaveRestoreDlg::SaveSetupToFile(std::uint8_t block) { return SaveSetupToFile(Context(), this, block); }

bool CSaveRestoreDlg::SaveSetupToFile(CToolboxContext& context, QWidget* parent, std::uint8_t block)
{
    const QString path = context.ChooseFile(parent, SetupFileRequest(context, FileDialogMode::Save));
    if (path.isEmpty())
        return false;
    CTransferProgress progress(parent, parent ? parent->windowTitle() : QString(),
                               QStringLiteral("Reading from the controller: %1 of %2 chunks"));
    return SaveBlockToFile(context.link, LocalPath(path), block, false, progress.Callback());
}

bool CSaveRestoreDlg::RestoreSetupFromFile()
{
    const QString path = Context().ChooseFile(this, SetupFileRequest(Context(), FileDialogMode::Open));
    if (path.isEmpty())
        return false;
    CTransferProgress progress(this, windowTitle(), QStringLiteral("Writing to the controller: %1 of %2 chunks"));
    CWaitCursor waitCursor;
    RestoreOptions options;
    options.progress = progress.Callback();
    options.busy = waitCursor.Callback();
    options.restartPause = restartPause_;
    return RestoreBlockFromFile(Context().link, LocalPath(path), options);
}

} // namespace halcyra
