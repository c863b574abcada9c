#include "diagnostics/ui/DiagContentsPage.h"

#include "diagnostics/ui/DiagSheet.h"
#include "pages/ui/UiContext.h"

#include <QPushButton>

namespace halcyra {

CDiagContentsPage::CDiagContentsPage(CUiContext& context, QWidget* parent)
    : CContentsListPage(context, QStringLiteral("Diagnostics"), QStringLiteral("Installation Diagnostics:"),
                        QStringLiteral("Select a page and press View:"), QStringLiteral("View"), parent)
{
}

bool CDiagContentsPage::OnInitDialog()
{
    // Made here rather than with the page: choosing the pages talks to the
    // controller, and a constructor is no place for a port failure.
    if (!sheet_)
        sheet_ = new CDiagSheet(Context(), this);
    FillList();
    OpenButton()->setText(QStringLiteral("View"));
    return CContentsListPage::OnInitDialog();
}

std::vector<std::string> CDiagContentsPage::SheetPageNames() const
{
    return sheet_ ? sheet_->PageNames() : std::vector<std::string>{};
}

void CDiagContentsPage::OpenSheetAt(int index)
{
    sheet_->SetActivePage(index);
    Context().RunModal(*sheet_);
}

void CDiagContentsPage::AfterOpen()
{
    if (Sheet())
        Sheet()->SetActivePage(this);
}

} // namespace halcyra
