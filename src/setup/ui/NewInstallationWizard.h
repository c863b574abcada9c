#pragma once
// The new installation wizard: the vehicle model, then every configuration
// page and every calibration page that suits the vehicle, each shown alone
// in a wizard step with "< Back", "Next >" and "Exit" ("Finished" on the
// last), and last a page that saves the setup to a file.
//
// The pages themselves belong to the configuration and calibration
// subsystems; the program hands them in through CNewInstallationPages.

#include "pages/ui/HCPropertyPage.h"
#include "pages/ui/HCPropertySheet.h"
#include "setup/NewInstallation.h"

#include <functional>
#include <memory>
#include <vector>

class QPushButton;
class QToolButton;

namespace halcyra {

class CUiContext;

// "Save Setup": the wizard's last page, which offers to save the
// controller's setup block to a file. It binds no parameters.
class CNewWizardSaveSetupToFile : public CHCPropertyPage {
    Q_OBJECT

public:
    explicit CNewWizardSaveSetupToFile(CUiContext& context, QWidget* parent = nullptr);

    void OnSaveToFile();
    QToolButton* SaveButton() const { return save_; }

    // Offers the installation report on this last step too: the program,
    // which composes the report, hands in how to run it.
    void OfferInstallationReport(std::function<void()> run);
    QPushButton* ReportButton() const { return report_; }

private:
    QToolButton* save_ = nullptr;
    QWidget* reportRow_ = nullptr;
    QPushButton* report_ = nullptr;
    std::function<void()> runReport_;
};

// The sheet that shows one wizard step at a time.
class CNewInstallationWizardSheet : public CHCPropertySheet {
    Q_OBJECT

public:
    explicit CNewInstallationWizardSheet(QWidget* parent = nullptr);

protected:
    void OnInitDialog() override;
    // The page's wizard buttons come with its activation, after the sheet
    // took its size: it takes it again to hold them.
    void showEvent(QShowEvent* event) override;
};

// The pages the wizard walks through and the lists that choose them.
class CNewInstallationPages {
public:
    virtual ~CNewInstallationPages() = default;

    virtual CHCPropertyPage& VehicleModelPage() = 0;
    virtual CHCPropertyPage& Page(CNewInstallationSequence::Phase phase, int page) = 0;
    // The phase's list as the controller's setup makes it now.
    virtual std::vector<int> ConfigurationList() = 0;
    virtual std::vector<int> CalibrationList() = 0;
};

class CNewInstallationWizard {
public:
    CNewInstallationWizard(CUiContext& context, CNewInstallationPages& pages, QWidget* parent = nullptr);

    // The introduction's two messages, then the steps until Exit or Finished.
    void Run();
    // The steps alone, from the vehicle model on.
    void RunSteps();

    CNewWizardSaveSetupToFile& SaveToFilePage() { return *saveToFile_; }

private:
    int RunStep(CHCPropertyPage& page, int buttonFlags);

    CUiContext& context_;
    CNewInstallationPages& pages_;
    QWidget* parent_;
    CNewInstallationSequence sequence_;
    std::unique_ptr<QWidget> home_; // holds the save page between steps
    CNewWizardSaveSetupToFile* saveToFile_;
};

} // namespace halcyra
