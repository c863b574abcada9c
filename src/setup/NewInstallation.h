#pragma once
// The new installation wizard's way through its steps, without widgets: the
// introduction, the vehicle model, the configuration pages that suit the
// vehicle, the calibration pages that suit it, and last the page that saves
// the setup to a file. The caller supplies the two page lists; each is built
// afresh when its phase begins, so a change made in an earlier step (another
// vehicle model, another correction type) decides the pages that follow.

#include <functional>
#include <vector>

namespace halcyra {

// The two information messages before the first page.
inline constexpr const char* kNewInstallationIntroText =
    "The following pages will lead you through a complete configuration of the "
    "Halcyra system.  Press the BACK or NEXT button at the bottom of each page "
    "to navigate among the setup pages.\n\n"
    "Press OK to continue.";
inline constexpr const char* kNewInstallationRebootText =
    "Some pages result in the rebooting of the Halcyra controller.  Be sure to "
    "press the Enter key on the Remote Keypad or Remote Data Logger to "
    "clear the initial warning text and to enter a swath width value.\n\n"
    "Press OK to continue.";

class CNewInstallationSequence {
public:
    enum class Phase { Configuration, Calibration };
    enum class StepKind { Introduction, VehicleModel, Page, Ended };

    // The save page ends the calibration phase. The lists' own page ids are
    // the caller's and never negative.
    static constexpr int kSaveSetupPage = -1;

    struct Step {
        StepKind kind = StepKind::Introduction;
        Phase phase = Phase::Configuration;
        int page = 0;        // the page of the phase's list, for StepKind::Page
        int buttonFlags = 0; // kWizardFirstPage on the vehicle model, kWizardLastPage on the save page
    };

    // A list of the phase's pages, read from the controller when called.
    using ListBuilder = std::function<std::vector<int>()>;
    CNewInstallationSequence(ListBuilder configuration, ListBuilder calibration);

    // The step to show now.
    Step Current() const;
    bool Ended() const { return ended_; }
    // The step shown was closed by this wizard button (kWizardResult...);
    // a step closed any other way (result none) counts as Next.
    void Close(int wizardResult);

    // The pages of the current phase, in order.
    const std::vector<int>& Pages() const { return pages_; }

private:
    void BeginConfiguration();
    void BeginCalibration();

    ListBuilder configuration_;
    ListBuilder calibration_;
    std::vector<int> pages_;
    int index_ = -1; // -1 the introduction, 0 the vehicle model, n the n-th page of pages_
    Phase phase_ = Phase::Configuration;
    bool ended_ = false;
};

} // namespace halcyra
