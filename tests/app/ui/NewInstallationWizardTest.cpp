#include "UiFixture.h"

#include "app/ui/InstallationReportDlg.h"
#include "app/ui/NewInstallationWizardPages.h"
#include "setup/NewInstallation.h"

#include <QPushButton>

#include <optional>

using namespace halcyra;
using namespace halcyra::test;

namespace {

// Runs the wizard on the simulated controller (a type 5 vehicle with RTK
// and an override pressure sensor),
// pressing at each step the button press(step, page) names, and lists the
// steps as shown: the page's name, and whether Back was disabled and the
// exit button read "Finished".
std::vector<std::string> RunWizard(UiApp& t, const std::function<int(std::size_t, const std::string&)>& press)
{
    std::vector<std::string> steps;
    t.onModal = [&](QDialog& d) {
        auto& sheet = dynamic_cast<CNewInstallationWizardSheet&>(d);
        sheet.show();
        EXPECT_EQ(1, sheet.GetPageCount());
        CHCPropertyPage* page = sheet.GetPage(0);
        std::string label = page->GetPageName();
        if (!page->WizardButton(kIdWizardBack)->isEnabled())
            label += " (no Back)";
        if (page->WizardButton(kIdWizardExit)->text() == QStringLiteral("Finished"))
            label += " (Finished)";
        steps.push_back(label);
        page->WizardButton(press(steps.size() - 1, page->GetPageName()))->click();
        EXPECT_FALSE(sheet.isVisible());
        return sheet.result();
    };
    t.Start().OnCommand(cmd::kNewInstallationWizard);
    return steps;
}

} // namespace

TEST(NewInstallationWizard, IntroducesThenShowsEachPageAloneAcrossBothPhases)
{
    UiApp t;
    t.UseSimulator();
    // Back once from the first calibration page, Finished on the save page.
    const auto steps = RunWizard(t, [](std::size_t step, const std::string& name) {
        if (step == 9)
            return kIdWizardBack;
        return name == "Save Setup" ? kIdWizardExit : kIdWizardNext;
    });
    const std::vector<std::string> expected = {
        "Vehicle Model (no Back)", "Displayed Units and Language", "GPS Configuration", "Lightbar Configuration",
        "Operational Parameters", "DoroZiriv", "Sensors Configuration", "Valve On Speed", "Radio Network ID",
        "Controller Orientation", "Radio Network ID", "Controller Orientation", "Antenna Compensation",
        "Steering Sensor", "Automated Steering Deadzone", "Steering Gain", "Roll Compensation",
        "Manual Override", "Save Setup (Finished)"};
    EXPECT_EQ(expected, steps);
    ASSERT_GE(t.notifier.shown.size(), 2u);
    const auto& shown = t.notifier.shown;
    EXPECT_EQ(kNewInstallationIntroText, shown[shown.size() - 2].text);
    EXPECT_EQ(kNewInstallationRebootText, shown.back().text);
    EXPECT_EQ("", shown.back().caption);
}

TEST(NewInstallationWizard, ExitEndsTheWizardAtOnce)
{
    UiApp t;
    t.UseSimulator();
    const auto steps = RunWizard(t, [](std::size_t step, const std::string&) {
        return step == 2 ? kIdWizardExit : kIdWizardNext;
    });
    EXPECT_EQ((std::vector<std::string>{"Vehicle Model (no Back)", "Displayed Units and Language", "GPS Configuration"}),
              steps);
}

TEST(NewInstallationWizard, AsksTheControllerNothingBeforeTheIntroduction)
{
    UiApp t;
    t.UseSimulator();
    t.Start();
    t.notifier.shown.clear();
    const std::uint64_t before = t.Requests();
    std::optional<std::uint64_t> atIntroduction;
    t.notifier.onShow = [&](const ShownBox& box) {
        if (box.text == kNewInstallationIntroText)
            atIntroduction = t.Requests();
    };
    std::vector<std::string> steps;
    t.onModal = [&](QDialog& d) {
        auto& sheet = dynamic_cast<CNewInstallationWizardSheet&>(d);
        sheet.show();
        steps.push_back(sheet.GetPage(0)->GetPageName());
        sheet.GetPage(0)->WizardButton(kIdWizardExit)->click();
        return sheet.result();
    };
    RunNewInstallationWizard(t.app->Context(), t.dialog.get());
    ASSERT_TRUE(atIntroduction);
    EXPECT_EQ(before, *atIntroduction) << "the page lists are read when their phase begins";
    EXPECT_EQ((std::vector<std::string>{kNewInstallationIntroText, kNewInstallationRebootText}), t.notifier.Texts());
    EXPECT_EQ(std::vector<std::string>{"Vehicle Model"}, steps);
    EXPECT_GT(t.Requests(), before) << "the vehicle model page reads its own";
}

TEST(NewInstallationWizard, TheLastStepOffersTheInstallationReport)
{
    UiApp t;
    t.UseSimulator();
    bool reportShown = false;
    bool reportAsked = false;
    t.onModal = [&](QDialog& d) {
        if (qobject_cast<CInstallationReportDlg*>(&d)) {
            reportAsked = true;
            return static_cast<int>(QDialog::Rejected);
        }
        auto& sheet = dynamic_cast<CNewInstallationWizardSheet&>(d);
        sheet.show();
        CHCPropertyPage* page = sheet.GetPage(0);
        if (page->GetPageName() != "Save Setup") {
            page->WizardButton(kIdWizardNext)->click();
            return sheet.result();
        }
        auto* report = page->findChild<QPushButton*>(QStringLiteral("installationReport"));
        reportShown = report && report->isVisible();
        if (report)
            report->click();
        page->WizardButton(kIdWizardExit)->click();
        return sheet.result();
    };
    t.Start().OnCommand(cmd::kNewInstallationWizard);
    EXPECT_TRUE(reportShown);
    EXPECT_TRUE(reportAsked) << "the button runs the report, which first asks for the names";
}
