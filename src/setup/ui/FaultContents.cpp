#include "setup/ui/FaultContents.h"

#include "pages/DataDirectories.h"
#include "pages/SerialGuard.h"
#include "pages/ui/UiContext.h"
#include "setup/ui/FaultDetailsDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace halcyra {

CFaultContents::CFaultContents(CUiContext& context, QWidget* parent)
    : CHCPropertyPage(context, QStringLiteral("Faults"), QStringLiteral("System Fault Information"), parent)
{
    auto* hint = new QLabel(QStringLiteral("Select a fault and press View:"), this);
    hint->setObjectName(QStringLiteral("prompt"));
    Body()->addWidget(hint);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("faultList"));
    list_->setMinimumSize(220, 150);
    Body()->addWidget(list_, 1);

    auto* row = new QHBoxLayout;
    row->setSpacing(6);
    Body()->addLayout(row);
    auto add = [this, row](const QString& text, const char* name, void (CFaultContents::*handler)()) {
        QPushButton* button = AddButton(text, name, [this, handler] { (this->*handler)(); });
        row->addWidget(button);
        return button;
    };
    view_ = add(QStringLiteral("View..."), "view", &CFaultContents::OnView);
    refresh_ = add(QStringLiteral("Refresh"), "refresh", &CFaultContents::OnRefresh);
    save_ = add(QStringLiteral("Save To Disk..."), "saveToDisk", &CFaultContents::OnSaveToDisk);
    clear_ = add(QStringLiteral("Clear"), "clear", &CFaultContents::OnClear);
    row->addStretch(1);
    // Nothing to act on until the list has been read.
    for (QPushButton* button : {view_, save_, clear_})
        button->setEnabled(false);

    connect(list_, &QListWidget::itemDoubleClicked, this,
            [this] { RunGuarded(Context().notifier, [this] { OnView(); }); });
}

bool CFaultContents::OnInitDialog()
{
    CHCPropertyPage::OnInitDialog();
    OnRefresh();
    return true;
}

void CFaultContents::ShowRefreshing()
{
    for (QPushButton* button : {view_, save_, clear_})
        button->setEnabled(false);
    list_->clear();
    list_->addItem(QString::fromLatin1(kFaultsRefreshingText));
    // The refresh blocks until it is done, so the text is painted now.
    list_->doItemsLayout();
    repaint();
}

void CFaultContents::ShowFaults()
{
    list_->clear();
    for (const FaultListEntry& entry : faults_.Entries()) {
        auto* item = new QListWidgetItem(QString::fromStdString(entry.text), list_);
        item->setData(Qt::UserRole, static_cast<uint>(entry.faultNumber));
    }
    const bool enabled = faults_.ActionsEnabled();
    view_->setEnabled(enabled);
    save_->setEnabled(enabled);
    clear_->setEnabled(enabled);
}

void CFaultContents::OnRefresh()
{
    ShowRefreshing();
    try {
        CBusyReports busy(*Context().busy);
        faults_.Refresh(Link(), busy.Callback());
    } catch (...) {
        ShowFaults(); // what was read before the port failed
        throw;
    }
    ShowFaults();
}

std::uint32_t CFaultContents::SelectedFault() const
{
    const QList<QListWidgetItem*> selected = list_->selectedItems();
    return selected.isEmpty() ? 0 : selected.first()->data(Qt::UserRole).toUInt();
}

void CFaultContents::OnView()
{
    const std::uint32_t number = SelectedFault();
    if (number == 0)
        return;
    CFaultInfo info;
    info.Fetch(Link(), number);
    CFaultDetailsDlg details(QString::fromStdString(info.Text()), this);
    Context().RunModal(details);
}

void CFaultContents::OnClear()
{
    const std::uint32_t number = SelectedFault();
    if (number == 0)
        return;
    ShowRefreshing();
    try {
        CBusyReports busy(*Context().busy);
        // The clear refreshes the list, so a cleared fault drops out of it.
        faults_.Clear(Link(), number, busy.Callback());
    } catch (...) {
        ShowFaults();
        throw;
    }
    ShowFaults();
}

void CFaultContents::OnSaveToDisk()
{
    FileRequest request;
    request.mode = FileDialogMode::Save;
    request.filter = kFaultReportFilter;
    request.defaultSuffix = kFaultReportExtension;
    request.directory = Context().directories.ConfigurationDir();
    const std::optional<std::string> path = Context().files->ChooseFile(request);
    if (!path)
        return;
    CBusyReports busy(*Context().busy);
    SaveFaultReport(Link(), *path, faults_.Entries(), {}, busy.Callback());
}

} // namespace halcyra
