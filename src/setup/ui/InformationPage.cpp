#include "setup/ui/InformationPage.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace halcyra {

CInformationPage::CInformationPage(CControllerLink& link, QWidget* parent)
    : CHCPropertyPage(link, QStringLiteral("Information"), QStringLiteral("Halcyra Information:"), parent),
      model_(Params())
{
    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    form->setHorizontalSpacing(8);
    form->setVerticalSpacing(6);
    for (const CInformationModel::Line& line : model_.Lines()) {
        auto* text = new QLineEdit(this);
        text->setReadOnly(true);
        text->setObjectName(QString::fromLatin1(line.label));
        text->setMinimumWidth(200);
        texts_.push_back(text);
        form->addRow(new QLabel(QString::fromLatin1(line.label), this), text);
    }
    Body()->addLayout(form);
    Body()->addStretch(1);
}

bool CInformationPage::OnSetActive()
{
    model_.Refresh(Link());
    return CHCPropertyPage::OnSetActive();
}

void CInformationPage::UpdateControls()
{
    const std::vector<CInformationModel::Line> lines = model_.Lines();
    for (std::size_t i = 0; i < lines.size() && i < texts_.size(); ++i) {
        texts_[i]->setText(QString::fromStdString(*lines[i].text));
        texts_[i]->setCursorPosition(0);
    }
}

QString CInformationPage::Text(const QString& label) const
{
    const std::vector<CInformationModel::Line> lines = model_.Lines();
    for (std::size_t i = 0; i < lines.size() && i < texts_.size(); ++i)
        if (label == QString::fromLatin1(lines[i].label))
            return texts_[i]->text();
    return {};
}

} // namespace halcyra
