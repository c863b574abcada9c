#pragma once
// The base of every page of the program's sheets and wizards. It runs the
// shared life cycle against the controller: fetch the display units and the
// page's parameters when the page is created and every time it becomes
// active, ask "Save Changes?" when it is left with changes, ask "Discard
// Changes?" when the sheet is cancelled. Pages run one at a time as wizard
// steps get three wizard buttons.

#include "pages/PageFields.h"
#include "pages/PageLogic.h"

#include <QString>
#include <QWidget>

#include <functional>
#include <string>

class QLabel;
class QPushButton;
class QVBoxLayout;

namespace halcyra {

class CControllerLink;
class CFieldBinder;
class CHCPropertySheet;
class CUiContext;

// Wizard button flags.
inline constexpr int kWizardLastPage = 1;  // Exit reads "Finished", Next disabled
inline constexpr int kWizardFirstPage = 2; // Back disabled
inline constexpr int kWizardNoExit = 4;    // Exit disabled

// Which wizard button closed the page.
inline constexpr int kWizardResultNone = 0;
inline constexpr int kWizardResultNext = 1;
inline constexpr int kWizardResultBack = 2;
inline constexpr int kWizardResultExit = 4;

// Control identifiers of the wizard buttons.
inline constexpr int kIdWizardNext = 1070;
inline constexpr int kIdWizardExit = 1071;
inline constexpr int kIdWizardBack = 1072;

class CHCPropertyPage : public QWidget {
    Q_OBJECT

public:
    // title is the tab caption and, unless SetPageName changes it, the page
    // name; heading is the bold line above the separator.
    CHCPropertyPage(CUiContext& context, const QString& title, const QString& heading, QWidget* parent = nullptr);
    ~CHCPropertyPage() override;

    // The life cycle, driven by the sheet. A page that overrides one calls
    // the base version from its override.
    virtual bool OnInitDialog();
    virtual bool OnSetActive();
    virtual bool OnKillActive();
    virtual bool OnQueryCancel();
    // The sheet's OK, once the active page has been left: called on every
    // page created in this run.
    virtual void OnOK() {}
    // The sheet's run has ended, however: the page's window goes, and with
    // it whatever ticks the page started.
    virtual void OnDestroy() {}

    bool IsPageModified() const { return logic_.IsPageModified(); }
    void SetPageModified(bool modified);

    std::string GetPageName() const { return pageName_; }
    void SetPageName(const std::string& name) { pageName_ = name; }
    QString Title() const { return title_; }

    void SetWizardButtons(bool wanted) { wizardButtonsWanted_ = wanted; }
    void SetWizardButtonFlags(int flags) { wizardFlags_ = flags; }
    int GetWizardResult() const { return wizardResult_; }
    // The wizard button with that identifier, once activation created it.
    QPushButton* WizardButton(int id) const;

    // Restarts the controller and waits for it, with the wait cursor.
    void ResetControllerAndWait();

    bool IsInSheet() const { return sheet_ != nullptr; }
    CHCPropertySheet* Sheet() const { return sheet_; }
    // Ends the sheet that holds this page with code as its result.
    void EndSheet(int code);

    CPageLogic& Logic() { return logic_; }
    CParamSet& Params() { return logic_.params; }
    CUiContext& Context() const { return context_; }
    CControllerLink& Link() const;
    // The controls built from the page's field descriptions; null without.
    CFieldBinder* Fields() const { return binder_; }
    MsgAnswer LastAnswer() const { return logic_.lastAnswer; }

signals:
    // The page's modified state changed; the sheet enables Apply.
    void modifiedChanged(bool modified);

protected:
    // Moves the page's values into its controls (the described fields by default).
    virtual void UpdateControls();
    // Moves the controls into the page's values (the described fields by
    // default); false keeps the page active.
    virtual bool UpdateMembers();
    // Called on activation just before the controls are refreshed.
    virtual void OnBeforeRefresh() {}

    // Where a derived page puts its controls, under the heading and line.
    QVBoxLayout* Body() const { return body_; }
    // Builds the controls of the page's fields into the body; rules are the
    // page's value rules (see CFieldBinder::SetRules).
    void DescribeFields(PageFields fields, std::function<void()> rules = {});
    // A push button whose handler runs guarded: a port failure becomes one box.
    QPushButton* AddButton(const QString& text, const char* name, std::function<void()> handler);

private:
    friend class CHCPropertySheet;

    void CreateWizardButtons();
    void OnWizardButton(int result);

    CUiContext& context_;
    CPageLogic logic_;
    CFieldBinder* binder_ = nullptr;
    QString title_;
    std::string pageName_;
    CHCPropertySheet* sheet_ = nullptr; // set while the page is in a sheet
    bool created_ = false;              // created in the sheet's current run
    bool wizardButtonsWanted_ = false;
    int wizardFlags_ = 0;
    int wizardResult_ = kWizardResultNone;
    QLabel* heading_ = nullptr;
    QVBoxLayout* body_ = nullptr;
    QWidget* wizardRow_ = nullptr;
    QPushButton* backButton_ = nullptr;
    QPushButton* nextButton_ = nullptr;
    QPushButton* exitButton_ = nullptr;
};

} // namespace halcyra
