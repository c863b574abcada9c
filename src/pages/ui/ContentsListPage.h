#pragma once
// A contents page of the setup sheet: a heading, a prompt, the list of the
// pages its own sheet holds, and the button that opens the chosen one.

#include "pages/ui/HCPropertyPage.h"

class QListWidget;
class QPushButton;

namespace halcyra {

class CContentsListPage : public CHCPropertyPage {
    Q_OBJECT

public:
    CContentsListPage(CUiContext& context, const QString& title, const QString& heading, const QString& prompt,
                      const QString& buttonText, QWidget* parent = nullptr);

    QListWidget* List() const { return list_; }
    QPushButton* OpenButton() const { return openButton_; }

    // The button and a double-click: the selected entry (none: the first);
    // an entry the sheet does not have shows "No pages available!".
    void OnOpen();

protected:
    // The titles of the pages of this page's own sheet, in order.
    virtual std::vector<std::string> SheetPageNames() const { return {}; }
    // Runs this page's own sheet starting at the page with that index.
    virtual void OpenSheetAt(int index) { (void)index; }
    // After the sheet closed (or nothing was opened).
    virtual void AfterOpen() {}

    // Refills the list from SheetPageNames.
    void FillList();

private:
    QListWidget* list_ = nullptr;
    QPushButton* openButton_ = nullptr;
};

} // namespace halcyra
