#pragma once
// The three wizard buttons a page carries when it runs alone as a wizard
// step: the flags that set them up and the result that tells which of them
// closed the page.

namespace halcyra {

// Wizard button flags.
inline constexpr int kWizardLastPage = 1;  // Exit reads "Finished", Next disabled
inline constexpr int kWizardFirstPage = 2; // Back disabled
inline constexpr int kWizardNoExit = 4;    // Exit disabled

// Which wizard button closed the page.
inline constexpr int kWizardResultNone = 0;
inline constexpr int kWizardResultNext = 1;
inline constexpr int kWizardResultBack = 2;
inline constexpr int kWizardResultExit = 4;

} // namespace halcyra
