#include "setup/NewInstallation.h"

#include "pages/WizardButtons.h"

namespace halcyra {

CNewInstallationSequence::CNewInstallationSequence(ListBuilder configuration, ListBuilder calibration)
    : configuration_(std::move(configuration)), calibration_(std::move(calibration))
{
}

CNewInstallationSequence::Step CNewInstallationSequence::Current() const
{
    Step step;
    step.phase = phase_;
    if (ended_) {
        step.kind = StepKind::Ended;
    } else if (index_ < 0) {
        step.kind = StepKind::Introduction;
    } else if (index_ == 0) {
        step.kind = StepKind::VehicleModel;
        step.buttonFlags = kWizardFirstPage;
    } else {
        step.kind = StepKind::Page;
        step.page = pages_[static_cast<std::size_t>(index_ - 1)];
        if (phase_ == Phase::Calibration && index_ == static_cast<int>(pages_.size()))
            step.buttonFlags = kWizardLastPage;
    }
    return step;
}

void CNewInstallationSequence::BeginConfiguration()
{
    phase_ = Phase::Configuration;
    pages_ = configuration_();
}

void CNewInstallationSequence::BeginCalibration()
{
    phase_ = Phase::Calibration;
    pages_ = calibration_();
    pages_.push_back(kSaveSetupPage);
}

void CNewInstallationSequence::Close(int wizardResult)
{
    if (ended_)
        return;
    if (wizardResult == kWizardResultExit && index_ >= 0) {
        ended_ = true;
        return;
    }
    const bool back = wizardResult == kWizardResultBack;
    const int count = static_cast<int>(pages_.size());
    if (index_ < 0) {
        index_ = 0;
        return;
    }
    if (index_ == 0) {
        // The page may have changed the vehicle: its pages are chosen now.
        BeginConfiguration();
        index_ = 1;
    } else if (back) {
        if (phase_ == Phase::Calibration && index_ == 1) {
            BeginConfiguration();
            index_ = static_cast<int>(pages_.size());
        } else {
            --index_;
        }
    } else if (index_ == count) {
        if (phase_ == Phase::Calibration) {
            ended_ = true;
            return;
        }
        BeginCalibration();
        index_ = 1;
    } else {
        ++index_;
    }
    // A vehicle without configuration pages ends after its model.
    if (index_ > static_cast<int>(pages_.size()))
        ended_ = true;
}

} // namespace halcyra
