#include "diagnostics/ui/DiagContentsPage.h"

#include "pages/ui/HCPropertySheet.h"

#include <QPushButton>

namespace halcyra {

CDiagContentsPage::CDiagContentsPage(CUiContext& context, QWidget* parent)
    : CContentsListPage(context, QStringLiteral("Diagnostics"), QStringLiteral("Installation Diagnostics:"),
                        QStringLiteral("Select a page and press View:"), QStringLiteral("View"), parent)
{
}

bool CDiagContentsPage::OnInitDialog()
{
    FillList();
    OpenButton()->setText(QStringLiteral("View"));
    return CContentsListPage::OnInitDialog();
}

std::vector<std::string> CDiagContentsPage::SheetPageNames() const { return DiagnosticsPageTitles(Link()); }

void CDiagContentsPage::AfterOpen()
{
    if (Sheet())
        Sheet()->SetActivePage(this);
}

} // namespace halcyra
