#pragma once
// "About Halcyra Toolbox".

#include "app/ui/HCDialog.h"

namespace halcyra {

class CAboutDlg : public CHCDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(CToolboxContext& context, QWidget* parent = nullptr);
};

} // namespace halcyra
