#include "UiFixture.h"

#include "link/ControllerLink.h"
#include "app/ui/SetupSheet.h"
#include "calibration/ui/CalContentsPage.h"
#include "config/ui/ConfigContentsPage.h"
#include "diagnostics/ui/DiagContentsPage.h"
#include "pages/ui/HCPropertyPage.h"
#include "pages/ui/HCPropertySheet.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>

using namespace halcyra;
using namespace halcyra::test;

namespace {

// A page with two parameters; it can be told to refuse being left.
class CTestPage : public CHCPropertyPage {
public:
    CTestPage(CUiContext& context, const QString& title)
        : CHCPropertyPage(context, title, title + QStringLiteral(":")), vtt("vtt", &Params()), lbi("lbi", &Params())
    {
    }
    CUIntParam vtt;
    CUIntParam lbi;
    bool refuseLeave = false;

protected:
    bool UpdateMembers() override { return !refuseLeave; }
};

struct SheetRig {
    SheetRig()
    {
        t.UseSimulator();
        t.Start();
        t.notifier.shown.clear();
        first = new CTestPage(t.app->Context(), QStringLiteral("First"));
        second = new CTestPage(t.app->Context(), QStringLiteral("Second"));
        sheet.AddPage(first);
        sheet.AddPage(second);
    }
    CControllerLink& Link() { return t.app->Link(); }
    UiApp t;
    CHCPropertySheet sheet{QStringLiteral("Test")};
    CTestPage* first = nullptr; // owned by the sheet
    CTestPage* second = nullptr;
};

} // namespace

TEST(PageFramework, FirstShowingFetchesTwiceEveryActivationOnce)
{
    SheetRig r;
    const std::uint64_t before = r.t.Requests();
    r.sheet.show();
    // "dsu" and the two parameters, at creation and again at activation.
    EXPECT_EQ(before + 6, r.t.Requests());
    EXPECT_EQ(5u, r.first->vtt.value);
    ASSERT_TRUE(r.sheet.SetActivePage(1));
    EXPECT_EQ(before + 12, r.t.Requests());
    ASSERT_TRUE(r.sheet.SetActivePage(0));
    EXPECT_EQ(before + 15, r.t.Requests());
    EXPECT_TRUE(r.t.notifier.shown.empty());
    r.sheet.done(QDialog::Rejected);
}

TEST(PageFramework, LeavingAChangedPageAsksToSave)
{
    SheetRig r;
    r.sheet.show();
    const std::string original = r.t.Param("lbi");

    r.first->lbi.value = 5;
    r.t.notifier.answers = {MsgAnswer::No};
    ASSERT_TRUE(r.sheet.SetActivePage(1));
    ASSERT_EQ(1u, r.t.notifier.shown.size());
    EXPECT_EQ("Save Changes?", r.t.notifier.shown[0].text);
    EXPECT_EQ("Save", r.t.notifier.shown[0].caption);
    EXPECT_EQ(MsgButtons::YesNo, r.t.notifier.shown[0].buttons);
    EXPECT_EQ(MsgIcon::Question, r.t.notifier.shown[0].icon);
    EXPECT_EQ(original, r.t.Param("lbi"));

    // Back on the page the controller's value replaces the edit.
    ASSERT_TRUE(r.sheet.SetActivePage(0));
    EXPECT_EQ(std::stoul(original), r.first->lbi.value);
    r.first->lbi.value = 5;
    r.t.notifier.answers = {MsgAnswer::Yes};
    ASSERT_TRUE(r.sheet.SetActivePage(1));
    EXPECT_EQ("5", r.t.Param("lbi"));
    EXPECT_EQ(MsgAnswer::Yes, r.first->LastAnswer());
    r.sheet.done(QDialog::Rejected);
}

TEST(PageFramework, CancellingAChangedPageAsksToDiscard)
{
    for (MsgAnswer answer : {MsgAnswer::Yes, MsgAnswer::No}) {
        SheetRig r;
        r.sheet.show();
        const std::string original = r.t.Param("lbi");
        r.first->lbi.value = 6;
        r.t.notifier.answers = {answer};
        r.sheet.reject();
        EXPECT_FALSE(r.sheet.isVisible());
        ASSERT_EQ(1u, r.t.notifier.shown.size());
        EXPECT_EQ("Discard Changes?", r.t.notifier.shown[0].text);
        EXPECT_EQ(" ", r.t.notifier.shown[0].caption);
        EXPECT_EQ(MsgIcon::Exclamation, r.t.notifier.shown[0].icon);
        // No keeps the changes: they are written.
        EXPECT_EQ(answer == MsgAnswer::No ? "6" : original, r.t.Param("lbi"));
    }
}

TEST(PageFramework, APageThatRefusesToBeLeftStaysActive)
{
    SheetRig r;
    r.sheet.show();
    r.first->refuseLeave = true;
    EXPECT_FALSE(r.sheet.SetActivePage(1));
    EXPECT_EQ(0, r.sheet.GetActiveIndex());
    EXPECT_EQ(0, r.sheet.Tabs()->currentIndex());
    r.sheet.OnOK();
    EXPECT_TRUE(r.sheet.isVisible());
    r.first->refuseLeave = false;
    r.sheet.OnOK();
    EXPECT_FALSE(r.sheet.isVisible());
    EXPECT_EQ(QDialog::Accepted, r.sheet.result());
}

TEST(PageFramework, PagesAreAddedOnceAndRemovedOnlyFromTheirSheet)
{
    SheetRig r;
    r.sheet.AddPage(r.first);
    EXPECT_EQ(2, r.sheet.GetPageCount());
    EXPECT_EQ((std::vector<std::string>{"First", "Second"}), r.sheet.PageNames());

    CHCPropertySheet other;
    auto* stranger = new CTestPage(r.t.app->Context(), QStringLiteral("Stranger"));
    other.AddPage(stranger);
    r.sheet.RemovePage(stranger);
    r.sheet.RemovePage(nullptr);
    r.sheet.RemovePage(7);
    EXPECT_EQ(2, r.sheet.GetPageCount());
    EXPECT_EQ(1, other.GetPageCount());

    r.sheet.RemovePage(r.first);
    EXPECT_EQ(std::vector<std::string>{"Second"}, r.sheet.PageNames());
    EXPECT_FALSE(r.first->IsInSheet());
    r.sheet.AddPage(r.first);
    r.sheet.RemoveAllPages();
    EXPECT_EQ(0, r.sheet.GetPageCount());
    EXPECT_TRUE(r.sheet.PageNames().empty());
}

TEST(PageFramework, ContentsSheetHasFiveTabsInOrderAndNoHelp)
{
    UiApp t;
    t.UseSimulator();
    t.Start();
    CSetupSheet sheet(t.app->Context());
    EXPECT_EQ(QStringLiteral("Halcyra Toolbox Setup"), sheet.windowTitle());
    QStringList titles;
    for (int i = 0; i < sheet.Tabs()->count(); ++i)
        titles << sheet.Tabs()->tabText(i);
    EXPECT_EQ((QStringList{"Configuration", "Calibration", "Diagnostics", "Faults", "Information"}), titles);
    EXPECT_EQ((std::vector<std::string>{"Configuration", "Calibration", "Diagnostics", "Faults", "Information"}),
              sheet.PageNames());
    EXPECT_EQ(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply,
              sheet.Buttons()->standardButtons());
    EXPECT_EQ(nullptr, sheet.Buttons()->button(QDialogButtonBox::Help));
}

TEST(PageFramework, SinglePageWizardButtons)
{
    SheetRig r;
    r.sheet.RemovePage(r.second);
    r.first->SetWizardButtons(true);
    r.first->SetWizardButtonFlags(kWizardLastPage | kWizardFirstPage);
    WhenRunning([&] {
        QPushButton* exit = r.first->WizardButton(kIdWizardExit);
        ASSERT_NE(nullptr, exit);
        EXPECT_EQ(QStringLiteral("Finished"), exit->text());
        EXPECT_TRUE(exit->isEnabled());
        EXPECT_FALSE(r.first->WizardButton(kIdWizardNext)->isEnabled());
        EXPECT_FALSE(r.first->WizardButton(kIdWizardBack)->isEnabled());
        exit->click();
    });
    EXPECT_EQ(QDialog::Accepted, r.sheet.exec());
    EXPECT_EQ(kWizardResultExit, r.first->GetWizardResult());

    // Run again as a middle page: Next closes the sheet with result 1.
    r.first->SetWizardButtonFlags(0);
    WhenRunning([&] {
        EXPECT_EQ(QStringLiteral("Exit"), r.first->WizardButton(kIdWizardExit)->text());
        EXPECT_EQ(kWizardResultNone, r.first->GetWizardResult());
        r.first->WizardButton(kIdWizardNext)->click();
    });
    EXPECT_EQ(QDialog::Accepted, r.sheet.exec());
    EXPECT_EQ(kWizardResultNext, r.first->GetWizardResult());
}

TEST(PageFramework, PortFailureDuringActivationIsReportedNotThrown)
{
    SheetRig r;
    r.Link().Close();
    r.sheet.show();
    ASSERT_EQ(1u, r.t.notifier.shown.size());
    EXPECT_EQ("Error", r.t.notifier.shown[0].caption);
    EXPECT_NE(std::string::npos, r.t.notifier.shown[0].text.find("not open"));
    r.sheet.done(QDialog::Rejected);
}
