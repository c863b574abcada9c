#include "pages/ui/ContentsListPage.h"

#include "pages/SerialGuard.h"
#include "pages/ui/UiContext.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace halcyra {

CContentsListPage::CContentsListPage(CUiContext& context, const QString& title, const QString& heading,
                                     const QString& prompt, const QString& buttonText, QWidget* parent)
    : CHCPropertyPage(context, title, heading, parent)
{
    auto* label = new QLabel(prompt, this);
    label->setObjectName(QStringLiteral("prompt"));
    Body()->addWidget(label);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("pageList"));
    list_->setMinimumSize(220, 150);
    Body()->addWidget(list_, 1);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    openButton_ = AddButton(buttonText, "openButton", [this] { OnOpen(); });
    row->addWidget(openButton_);
    Body()->addLayout(row);
    connect(list_, &QListWidget::itemDoubleClicked, this, &CContentsListPage::OnOpen);
}

void CContentsListPage::FillList()
{
    list_->clear();
    for (const std::string& name : SheetPageNames())
        list_->addItem(QString::fromStdString(name));
}

void CContentsListPage::OnOpen()
{
    const int index = list_->currentRow() < 0 ? 0 : list_->currentRow();
    if (index >= static_cast<int>(SheetPageNames().size()))
        Context().notifier.Notify(kNoPagesText, kAppTitle, MsgButtons::Ok, MsgIcon::None);
    else
        RunGuarded(Context().notifier, [&] { OpenSheetAt(index); });
    // Whatever happened in the sheet, even a port failure.
    AfterOpen();
}

} // namespace halcyra
