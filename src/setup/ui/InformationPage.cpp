#include "setup/ui/InformationPage.h"

#include "pages/ui/FieldBinder.h"

#include <QLineEdit>
#include <QVBoxLayout>

namespace halcyra {

CInformationPage::CInformationPage(CUiContext& context, QWidget* parent)
    : CHCPropertyPage(context, QStringLiteral("Information"), QStringLiteral("Halcyra Information:"), parent),
      model_(Params())
{
    PageFields fields;
    for (const CInformationModel::Line& line : model_.Lines())
        fields.push_back(field::ReadOnly(line.label, line.label, CFieldValue::ComputedText([text = line.text] { return *text; })));
    DescribeFields(std::move(fields));
    Body()->addStretch(1);
}

bool CInformationPage::OnSetActive()
{
    model_.Refresh(Link());
    return CHCPropertyPage::OnSetActive();
}

QString CInformationPage::Text(const QString& label) const
{
    auto* text = qobject_cast<QLineEdit*>(Fields()->Control(label.toStdString()));
    return text ? text->text() : QString();
}

} // namespace halcyra
