#include "diagnostics/ui/DiagSheet.h"

#include "diagnostics/ui/DiagPages.h"
#include "pages/ui/UiContext.h"

#include <QTabWidget>

namespace halcyra {

namespace {
constexpr const char* kSheetTitle = "Installation Diagnostics";
}

CDiagSheet::CDiagSheet(CUiContext& context, QWidget* parent)
    : CHCPropertySheet(QString::fromLatin1(kSheetTitle), parent)
{
    // A controller with many inputs has more tabs than a window is wide.
    Tabs()->setUsesScrollButtons(true);
    for (const DiagPageRow& row : DiagPageRows()) {
        CHCDiagnosticsPropertyPage* page = MakeDiagPage(row.page, context, this);
        page->hide(); // until it is on a tab
        pages_[static_cast<std::size_t>(row.page)] = page;
    }
    RemoveAllPages();
    for (DiagPage page : SelectDiagnosticsPages(context.link))
        AddPage(Page(page));
}

void CDiagSheet::OnInitDialog() { setWindowTitle(QString::fromLatin1(kSheetTitle)); }

} // namespace halcyra
