#pragma once
// "Advanced Configuration": reads or writes any one controller parameter by
// name, as a number. For authorised service personnel.

#include "pages/ui/HCDialog.h"

class QLineEdit;
class QPushButton;

namespace halcyra {

class CAdvancedConfigDlg : public CHCDialog {
    Q_OBJECT

public:
    // Control identifiers.
    static constexpr int kIdName = 1005;
    static constexpr int kIdValue = 1006;
    static constexpr int kIdGet = 1022;
    static constexpr int kIdSet = 1023;
    static constexpr int kIdGetSetupFile = 1024;

    explicit CAdvancedConfigDlg(CUiContext& context, QWidget* parent = nullptr);

    void OnGet();
    void OnSet();
    // Downloads the controller's advanced setup block into a file.
    void OnGetAdvancedSetupFile();

    QLineEdit* NameEdit() const { return name_; }
    QLineEdit* ValueEdit() const { return value_; }

private:
    QLineEdit* name_ = nullptr;
    QLineEdit* value_ = nullptr;
};

} // namespace halcyra
