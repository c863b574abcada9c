#include "pages/ui/ContentsPages.h"

#include "pages/ui/HCPropertySheet.h"

#include <QPushButton>

namespace halcyra {

CConfigContentsPage::CConfigContentsPage(CControllerLink& link, QWidget* parent)
    : CContentsListPage(link, QStringLiteral("Configuration"), QStringLiteral("Halcyra Configuration:"),
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

CCalContentsPage::CCalContentsPage(CControllerLink& link, QWidget* parent)
    : CContentsListPage(link, QStringLiteral("Calibration"), QStringLiteral("Halcyra Calibration:"),
                        QStringLiteral("Select a page and press Edit:"), QStringLiteral("Edit"), parent)
{
}

bool CCalContentsPage::OnInitDialog()
{
    FillList();
    return CContentsListPage::OnInitDialog();
}

void CCalContentsPage::AfterOpen()
{
    if (Sheet())
        Sheet()->SetActivePage(this);
}

CDiagContentsPage::CDiagContentsPage(CControllerLink& link, QWidget* parent)
    : CContentsListPage(link, QStringLiteral("Diagnostics"), QStringLiteral("Installation Diagnostics:"),
                        QStringLiteral("Select a page and press View:"), QStringLiteral("View"), parent)
{
}

bool CDiagContentsPage::OnInitDialog()
{
    FillList();
    OpenButton()->setText(QStringLiteral("View"));
    return CContentsListPage::OnInitDialog();
}

void CDiagContentsPage::AfterOpen()
{
    if (Sheet())
        Sheet()->SetActivePage(this);
}

} // namespace halcyra
