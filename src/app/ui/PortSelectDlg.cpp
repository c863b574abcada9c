#include "app/ui/PortSelectDlg.h"

#include "app/ui/ToolboxContext.h"
#include "link/ControllerLink.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace halcyra {

CPortSelectDlg::CPortSelectDlg(CToolboxContext& context, QWidget* parent)
    : CHCDialog(context, parent), toolbox_(context)
{
    setWindowTitle(QStringLiteral("Select COM Port"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->addWidget(new QLabel(QStringLiteral("Available COM Ports:"), this));
    list_ = new QComboBox(this);
    list_->setObjectName(QStringLiteral("portList"));
    list_->setMinimumWidth(260);
    list_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    layout->addWidget(list_);
    layout->addStretch(1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CPortSelectDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CPortSelectDlg::reject);
    layout->addWidget(buttons);
}

bool CPortSelectDlg::OnInitDialog()
{
    CHCDialog::OnInitDialog();
    list_->clear();
    for (const SerialPortInfo& port : toolbox_.Ports()) {
        QString text = QString::fromStdString(port.device);
        if (!port.description.empty())
            text += QStringLiteral("  (%1)").arg(QString::fromStdString(port.description));
        list_->addItem(text, QString::fromStdString(port.device));
    }
    // The current port when it is listed; nothing otherwise, so OK changes nothing.
    list_->setCurrentIndex(list_->findData(QString::fromStdString(Context().link.CurrentPort())));
    return true;
}

void CPortSelectDlg::accept()
{
    selected_ = list_->currentIndex() < 0 ? std::string() : list_->currentData().toString().toStdString();
    CHCDialog::accept();
}

void CPortSelectDlg::reject()
{
    selected_.clear();
    CHCDialog::reject();
}

} // namespace halcyra
