#pragma once
// "Compare With Controller": the records of a setup file whose values the
// controller does not share, in a table that sorts by any column and
// filters as the user types, and that can be saved as a text file.

#include "pages/ui/HCDialog.h"
#include "setup/SetupCompare.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QSortFilterProxyModel;
class QStandardItemModel;
class QTableView;

namespace halcyra {

class CSetupCompareDlg : public CHCDialog {
    Q_OBJECT

public:
    CSetupCompareDlg(CUiContext& context, SetupComparison comparison, QWidget* parent = nullptr);

    // "Save As Text...": asks for a file name and writes the comparison.
    bool SaveAsText();

    QTableView* Table() const { return table_; }
    QLineEdit* Filter() const { return filter_; }
    QPushButton* SaveButton() const { return save_; }
    // The rows as shown (sorted and filtered), cells joined by tabs.
    QStringList VisibleRows() const;

private:
    SetupComparison comparison_;
    QStandardItemModel* model_ = nullptr;
    QSortFilterProxyModel* proxy_ = nullptr;
    QTableView* table_ = nullptr;
    QLineEdit* filter_ = nullptr;
    QPushButton* save_ = nullptr;
};

} // namespace halcyra
