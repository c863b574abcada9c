#pragma once
// "Halcyra Toolbox Setup": the sheet the main dialog's Edit Setup /
// Diagnostics command opens, with its five pages in tab order:
// configuration, calibration, diagnostics, faults, information.

#include "pages/ui/HCPropertySheet.h"

namespace halcyra {

class CControllerLink;
class CConfigContentsPage;
class CCalContentsPage;
class CDiagContentsPage;
class CFaultContents;
class CInformationPage;

class CContentsSheet : public CHCPropertySheet {
    Q_OBJECT

public:
    explicit CContentsSheet(CControllerLink& link, std::uint8_t mode = 1, QWidget* parent = nullptr);

    CConfigContentsPage* ConfigContents() const { return configContents_; }
    CCalContentsPage* CalContents() const { return calContents_; }
    CDiagContentsPage* DiagContents() const { return diagContents_; }
    CFaultContents* Faults() const { return faults_; }
    CInformationPage* Information() const { return information_; }

private:
    // Created by the constructor, owned as the sheet's children.
    CCalContentsPage* calContents_ = nullptr;
    CConfigContentsPage* configContents_ = nullptr;
    CDiagContentsPage* diagContents_ = nullptr;
    CInformationPage* information_ = nullptr;
    CFaultContents* faults_ = nullptr;
};

} // namespace halcyra
