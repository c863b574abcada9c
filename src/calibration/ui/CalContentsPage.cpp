#include "calibration/ui/CalContentsPage.h"

#include "pages/ui/HCPropertySheet.h"

namespace halcyra {

CCalContentsPage::CCalContentsPage(CUiContext& context, QWidget* parent)
    : CContentsListPage(context, QStringLiteral("Calibration"), QStringLiteral("Halcyra Calibration:"),
                        QStringLiteral("Select a page and press Edit:"), QStringLiteral("Edit"), parent)
{
}

bool CCalContentsPage::OnInitDialog()
{
    FillList();
    return CContentsListPage::OnInitDialog();
}

std::vector<std::string> CCalContentsPage::SheetPageNames() const { return CalibrationPageTitles(Link()); }

void CCalContentsPage::AfterOpen()
{
    if (Sheet())
        Sheet()->SetActivePage(this);
}

} // namespace halcyra
