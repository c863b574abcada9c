#pragma once
// The base of every sheet: pages on tabs with OK, Cancel and Apply (no
// Help), a list of the pages' names beside the tabs, and the page life
// cycle: leaving a tab asks the old page (which may refuse), entering one
// creates the page on its first showing and activates it.

#include <QDialog>

#include <cstdint>
#include <string>
#include <vector>

class QDialogButtonBox;
class QPushButton;
class QTabWidget;

namespace halcyra {

class CHCPropertyPage;

// Whether a sheet that chooses its pages from the controller's setup does
// so as it is built, or holds none and leaves the choice to its owner (one
// that shows the pages one at a time and chooses them when it needs them).
enum class SheetPages { Selected, NoneYet };

class CHCPropertySheet : public QDialog {
    Q_OBJECT

public:
    explicit CHCPropertySheet(const QString& caption = {}, QWidget* parent = nullptr, int startPage = 0);
    explicit CHCPropertySheet(std::uint8_t mode, QWidget* parent = nullptr);
    ~CHCPropertySheet() override;

    // Adds the page unless it is already in a sheet. While added, the sheet
    // holds the page as a child; a removed page stays a hidden child until
    // it is added elsewhere or its owner deletes it.
    void AddPage(CHCPropertyPage* page);
    // Removes the page when it is in this sheet; anything else is ignored.
    void RemovePage(CHCPropertyPage* page);
    void RemovePage(int index);
    void RemoveAllPages();

    int GetPageCount() const;
    CHCPropertyPage* GetPage(int index) const;
    int GetPageIndex(const CHCPropertyPage* page) const;
    int GetActiveIndex() const;
    CHCPropertyPage* GetActivePage() const;
    // Before the sheet shows: the page to start at. While it shows: leaves
    // the current page (which may refuse) and activates this one.
    bool SetActivePage(int index);
    bool SetActivePage(CHCPropertyPage* page) { return SetActivePage(GetPageIndex(page)); }

    const std::vector<std::string>& PageNames() const { return names_; }
    std::uint8_t Mode() const { return mode_; }

    QTabWidget* Tabs() const { return tabs_; }
    QDialogButtonBox* Buttons() const { return buttons_; }
    QPushButton* ApplyButton() const;

    // OK: the active page is left first; a page that refuses keeps the
    // sheet open.
    void OnOK();
    // Apply: the active page is left (its save prompt) and stays active.
    void OnApply();
    // Cancel, Escape and the close box: the active page may discard.
    void reject() override;
    // Ends the run: a page may end the sheet with a code of its own.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    // Called when a run begins, before the first page is created.
    virtual void OnInitDialog() {}

private:
    void Build();
    void OnTabChanged(int index);
    void Activate(int index);
    bool LeaveActive();
    void UpdateApply();

    QTabWidget* tabs_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
    std::vector<std::string> names_;
    std::uint8_t mode_ = 1;
    int startPage_ = 0;
    int active_ = -1;
    bool running_ = false;
};

} // namespace halcyra
