#pragma once
// "Select COM Port": the serial ports found on this machine, the current
// one preselected.

#include "pages/ui/HCDialog.h"

#include <string>

class QComboBox;

namespace halcyra {

class CToolboxContext;

class CPortSelectDlg : public CHCDialog {
    Q_OBJECT

public:
    explicit CPortSelectDlg(CToolboxContext& context, QWidget* parent = nullptr);

    // The device chosen with OK; empty after Cancel or with no port listed.
    const std::string& SelectedDevice() const { return selected_; }
    QComboBox* PortList() const { return list_; }

    void accept() override;
    void reject() override;

protected:
    bool OnInitDialog() override;

private:
    CToolboxContext& toolbox_;
    QComboBox* list_ = nullptr;
    std::string selected_;
};

} // namespace halcyra
