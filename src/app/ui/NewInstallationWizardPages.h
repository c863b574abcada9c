#pragma once
// The new installation wizard's pages: the configuration sheet's and the
// calibration sheet's own page objects, chosen by their own page selections.

#include "setup/ui/NewInstallationWizard.h"

#include <memory>

namespace halcyra {

class CCalSheet;
class CConfigSheet;
class CScreenRenderer;

class CNewInstallationWizardPages final : public CNewInstallationPages {
public:
    // Builds every configuration and calibration page; none is shown yet
    // and nothing is asked of the controller.
    explicit CNewInstallationWizardPages(CUiContext& context, QWidget* parent = nullptr);
    ~CNewInstallationWizardPages() override;

    CHCPropertyPage& VehicleModelPage() override;
    CHCPropertyPage& Page(CNewInstallationSequence::Phase phase, int page) override;
    std::vector<int> ConfigurationList() override;
    std::vector<int> CalibrationList() override;

private:
    CUiContext& context_;
    std::unique_ptr<CConfigSheet> config_;
    std::unique_ptr<CCalSheet> calibration_;
};

// The main dialog's "New Installation Wizard" command, once the controller answered.
void RunNewInstallationWizard(CUiContext& context, QWidget* parent);

// The introduction's messages and every step of the wizard for the
// connected controller, as Next walks through them.
void RenderNewInstallationScreens(CUiContext& context, QWidget* parent, CScreenRenderer& screens);

} // namespace halcyra
