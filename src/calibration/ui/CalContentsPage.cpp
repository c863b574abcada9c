#include "calibration/ui/CalContentsPage.h"

#include "calibration/ui/CalSheet.h"
#include "pages/ui/UiContext.h"

namespace halcyra {

CCalContentsPage::CCalContentsPage(CUiContext& context, QWidget* parent)
    : CContentsListPage(context, QStringLiteral("Calibration"), QStringLiteral("Halcyra Calibration:"),
                        QStringLiteral("Select a page and press Edit:"), QStringLiteral("Edit"), parent),
      sheet_(new CCalSheet(context, this))
{
}

bool CCalContentsPage::OnInitDialog()
{
    FillList();
    return CContentsListPage::OnInitDialog();
}

std::vector<std::string> CCalContentsPage::SheetPageNames() const { return sheet_->PageNames(); }

void CCalContentsPage::OpenSheetAt(int index)
{
    sheet_->SetActivePage(index);
    Context().RunModal(*sheet_);
}

void CCalContentsPage::AfterOpen()
{
    if (Sheet())
        Sheet()->SetActivePage(this);
}

} // namespace halcyra
