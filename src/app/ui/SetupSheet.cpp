#include "app/ui/SetupSheet.h"

#include "calibration/ui/CalContentsPage.h"
#include "config/ui/ConfigContentsPage.h"
#include "diagnostics/ui/DiagContentsPage.h"
#include "setup/ui/FaultContents.h"
#include "setup/ui/InformationPage.h"

namespace halcyra {

CSetupSheet::CSetupSheet(CUiContext& context, QWidget* parent) : CContentsSheet(1, parent)
{
    configContents_ = new CConfigContentsPage(context, this);
    calContents_ = new CCalContentsPage(context, this);
    diagContents_ = new CDiagContentsPage(context, this);
    faults_ = new CFaultContents(context, this);
    information_ = new CInformationPage(context, this);
    AddPage(configContents_);
    AddPage(calContents_);
    AddPage(diagContents_);
    AddPage(faults_);
    AddPage(information_);
}

} // namespace halcyra
