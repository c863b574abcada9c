#include "pages/ui/ContentsSheet.h"

#include "pages/ui/ContentsPages.h"
#include "setup/ui/FaultContents.h"
#include "setup/ui/InformationPage.h"

namespace halcyra {

CContentsSheet::CContentsSheet(CControllerLink& link, std::uint8_t mode, QWidget* parent)
    : CHCPropertySheet(mode, parent)
{
    setWindowTitle(QStringLiteral("Halcyra Toolbox Setup"));
    calContents_ = new CCalContentsPage(link, this);
    configContents_ = new CConfigContentsPage(link, this);
    diagContents_ = new CDiagContentsPage(link, this);
    information_ = new CInformationPage(link, this);
    faults_ = new CFaultContents(link, this);
    AddPage(configContents_);
    AddPage(calContents_);
    AddPage(diagContents_);
    AddPage(faults_);
    AddPage(information_);
}

} // namespace halcyra
