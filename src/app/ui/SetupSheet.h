#pragma once
// The setup sheet as the program composes it: the contents sheet with the
// configuration, calibration and diagnostics contents pages, the fault table
// and the information page.

#include "pages/ui/ContentsSheet.h"

namespace halcyra {

class CCalContentsPage;
class CConfigContentsPage;
class CDiagContentsPage;
class CFaultContents;
class CInformationPage;
class CUiContext;

class CSetupSheet final : public CContentsSheet {
    Q_OBJECT

public:
    explicit CSetupSheet(CUiContext& context, QWidget* parent = nullptr);

    CConfigContentsPage* ConfigContents() const { return configContents_; }
    CCalContentsPage* CalContents() const { return calContents_; }
    CDiagContentsPage* DiagContents() const { return diagContents_; }
    CFaultContents* Faults() const { return faults_; }
    CInformationPage* Information() const { return information_; }

private:
    // Owned as the sheet's children.
    CConfigContentsPage* configContents_ = nullptr;
    CCalContentsPage* calContents_ = nullptr;
    CDiagContentsPage* diagContents_ = nullptr;
    CFaultContents* faults_ = nullptr;
    CInformationPage* information_ = nullptr;
};

} // namespace halcyra
