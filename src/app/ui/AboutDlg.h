#pragma once
// "About Halcyra Toolbox".

#include "pages/ui/HCDialog.h"

namespace halcyra {

class CAboutDlg : public CHCDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(CUiContext& context, QWidget* parent = nullptr);
};

} // namespace halcyra
