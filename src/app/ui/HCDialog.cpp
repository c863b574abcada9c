#include "app/ui/HCDialog.h"

#include "app/DataPaths.h"
#include "app/ui/ToolboxContext.h"
#include "pages/ui/DialogFont.h"

namespace halcyra {

CHCDialog::CHCDialog(CToolboxContext& context, QWidget* parent) : QDialog(parent), context_(context)
{
    setFont(ToolboxFont());
}

void CHCDialog::EnsureInitialised()
{
    if (initialised_)
        return;
    initialised_ = true;
    OnInitDialog();
}

int CHCDialog::exec()
{
    EnsureInitialised();
    return QDialog::exec();
}

bool CHCDialog::OnInitDialog()
{
    context_.directories.Create(context_.notifier);
    return true;
}

} // namespace halcyra
