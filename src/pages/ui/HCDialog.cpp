#include "pages/ui/HCDialog.h"

#include "pages/DataDirectories.h"
#include "pages/SerialGuard.h"
#include "pages/ui/DialogFont.h"
#include "pages/ui/UiContext.h"

#include <QAbstractButton>

namespace halcyra {

CHCDialog::CHCDialog(CUiContext& context, QWidget* parent) : QDialog(parent), context_(context)
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

void CHCDialog::OnClicked(QAbstractButton* button, std::function<void()> handler)
{
    connect(button, &QAbstractButton::clicked, this,
            [this, handler = std::move(handler)] { RunGuarded(context_.notifier, handler); });
}

bool CHCDialog::OnInitDialog()
{
    context_.directories.Create(context_.notifier);
    return true;
}

} // namespace halcyra
