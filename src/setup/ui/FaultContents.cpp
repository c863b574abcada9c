#include "setup/ui/FaultContents.h"

#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace halcyra {

CFaultContents::CFaultContents(CControllerLink& link, QWidget* parent)
    : CHCPropertyPage(link, QStringLiteral("Faults"), QStringLiteral("System Fault Information"), parent)
{
    auto* hint = new QLabel(QStringLiteral("Select a fault and press View:"), this);
    hint->setObjectName(QStringLiteral("prompt"));
    Body()->addWidget(hint);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("faultList"));
    list_->setMinimumSize(220, 150);
    Body()->addWidget(list_, 1);
    // The View..., Refresh, Save To Disk... and Clear buttons go below the list.
}

} // namespace halcyra
