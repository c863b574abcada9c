#include "pages/ui/ContentsListPage.h"

#include "link/ControllerLink.h"
#include "pages/ui/SerialGuard.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace halcyra {

CContentsListPage::CContentsListPage(CControllerLink& link, const QString& title, const QString& heading,
                                     const QString& prompt, const QString& buttonText, QWidget* parent)
    : CHCPropertyPage(link, title, heading, parent)
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
    openButton_ = new QPushButton(buttonText, this);
    openButton_->setObjectName(QStringLiteral("openButton"));
    openButton_->setAutoDefault(false);
    row->addWidget(openButton_);
    Body()->addLayout(row);
    connect(openButton_, &QPushButton::clicked, this, &CContentsListPage::OnOpen);
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
        Link().Notifier().Notify(kNoPagesText, kAppTitle, MsgButtons::Ok, MsgIcon::None);
    else
        RunGuarded(Link().Notifier(), [&] { OpenSheetAt(index); });
    AfterOpen();
}

} // namespace halcyra
