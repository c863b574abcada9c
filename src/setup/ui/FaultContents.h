#pragma once
// "Faults": the fourth page of the setup sheet. It lists the faults the
// controller has recorded, shows and clears one, and writes them all to a
// report file.

#include "pages/ui/HCPropertyPage.h"
#include "setup/Faults.h"

class QListWidget;
class QPushButton;

namespace halcyra {

class CFaultContents : public CHCPropertyPage {
    Q_OBJECT

public:
    explicit CFaultContents(CUiContext& context, QWidget* parent = nullptr);

    // The page base step, then the list.
    bool OnInitDialog() override;

    void OnRefresh();
    // Also a double-click on the list.
    void OnView();
    void OnClear();
    void OnSaveToDisk();

    const CFaultList& Faults() const { return faults_; }
    QListWidget* List() const { return list_; }
    QPushButton* ViewButton() const { return view_; }
    QPushButton* RefreshButton() const { return refresh_; }
    QPushButton* SaveButton() const { return save_; }
    QPushButton* ClearButton() const { return clear_; }

private:
    // The fault number of the selected entry; 0 when there is none to act on.
    std::uint32_t SelectedFault() const;
    // Shows "Please Wait...Refreshing List" at once, for the refresh that follows.
    void ShowRefreshing();
    // Fills the list from the fault table and enables the buttons.
    void ShowFaults();
    CFaultList faults_;
    QListWidget* list_ = nullptr; // one entry per fault, its number as item data
    QPushButton* view_ = nullptr;
    QPushButton* refresh_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* clear_ = nullptr;
};

} // namespace halcyra
