#include "app/ui/AdvancedConfigDlg.h"

#include "app/ToolboxCommands.h"
#include "pages/ui/UiContext.h"
#include "link/ControllerLink.h"
#include "setup/SetupFiles.h"
#include "setup/ui/SaveRestoreDlg.h"

#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace halcyra {

CAdvancedConfigDlg::CAdvancedConfigDlg(CUiContext& context, QWidget* parent) : CHCDialog(context, parent)
{
    setWindowTitle(QStringLiteral("Advanced Configuration"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 10, 12, 12);
    layout->setSpacing(8);

    auto* heading = new QLabel(QStringLiteral("Advanced Configuration:"), this);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    layout->addWidget(heading);
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    layout->addWidget(line);

    auto* warning = new QLabel(QStringLiteral("WARNING: This dialog is for use by authorised service personnel only. "
                                              "Misuse can leave the system's configuration unusable."),
                               this);
    warning->setObjectName(QStringLiteral("warning"));
    warning->setWordWrap(true);
    layout->addWidget(warning);

    auto* form = new QFormLayout;
    name_ = new QLineEdit(this);
    name_->setObjectName(QStringLiteral("name"));
    value_ = new QLineEdit(this);
    value_->setObjectName(QStringLiteral("value"));
    form->addRow(QStringLiteral("Name:"), name_);
    form->addRow(QStringLiteral("Value:"), value_);
    layout->addLayout(form);

    auto* buttons = new QHBoxLayout;
    auto* get = new QPushButton(QStringLiteral("&Get"), this);
    get->setObjectName(QStringLiteral("get"));
    get->setDefault(true);
    auto* set = new QPushButton(QStringLiteral("&Set"), this);
    set->setObjectName(QStringLiteral("set"));
    auto* file = new QPushButton(QStringLiteral("Get Advanced Setup File"), this);
    file->setObjectName(QStringLiteral("getSetupFile"));
    buttons->addWidget(get);
    buttons->addWidget(set);
    buttons->addStretch(1);
    buttons->addWidget(file);
    layout->addLayout(buttons);
    setMinimumWidth(340);

    OnClicked(get, [this] { OnGet(); });
    OnClicked(set, [this] { OnSet(); });
    OnClicked(file, [this] { OnGetAdvancedSetupFile(); });
}

void CAdvancedConfigDlg::OnGet()
{
    if (auto value = AdvancedGet(Context().link, name_->text().toStdString()))
        value_->setText(QString::fromStdString(*value));
}

void CAdvancedConfigDlg::OnSet()
{
    if (auto value = AdvancedSet(Context().link, name_->text().toStdString(), value_->text().toStdString()))
        value_->setText(QString::fromStdString(*value));
}

void CAdvancedConfigDlg::OnGetAdvancedSetupFile()
{
    // Saved like the setup file of Save / Restore Setup.
    CSaveRestoreDlg::SaveSetupToFile(Context(), this, kAdvancedSetupBlock);
}

} // namespace halcyra
