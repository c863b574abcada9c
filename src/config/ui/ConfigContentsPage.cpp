#include "config/ui/ConfigContentsPage.h"

#include "config/ui/ConfigSheet.h"
#include "pages/ui/UiContext.h"

namespace halcyra {

CConfigContentsPage::CConfigContentsPage(CUiContext& context, QWidget* parent)
    : CContentsListPage(context, QStringLiteral("Configuration"), QStringLiteral("Halcyra Configuration:"),
                        QStringLiteral("Select a page and press Edit:"), QStringLiteral("Edit"), parent),
      sheet_(new CConfigSheet(context, this))
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

std::vector<std::string> CConfigContentsPage::SheetPageNames() const { return sheet_->PageNames(); }

void CConfigContentsPage::OpenSheetAt(int index)
{
    sheet_->SetActivePage(index);
    Context().RunModal(*sheet_);
}

} // namespace halcyra
