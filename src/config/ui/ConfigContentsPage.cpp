#include "config/ui/ConfigContentsPage.h"

namespace halcyra {

CConfigContentsPage::CConfigContentsPage(CUiContext& context, QWidget* parent)
    : CContentsListPage(context, QStringLiteral("Configuration"), QStringLiteral("Halcyra Configuration:"),
                        QStringLiteral("Select a page and press Edit:"), QStringLiteral("Edit"), parent)
{
}

bool CConfigContentsPage::OnInitDialog()
{
    FillList();
    return CContentsListPage::OnInitDialog();
}

bool CConfigContentsPage::OnSetActive()
{
    FillList();
    return CContentsListPage::OnSetActive();
}

std::vector<std::string> CConfigContentsPage::SheetPageNames() const { return ConfigurationPageTitles(Link()); }

} // namespace halcyra
