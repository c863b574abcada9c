#include "calibration/ui/CalPlaceholderPages.h"

#include "calibration/ui/CalPageParts.h"

#include <QLabel>
#include <QVBoxLayout>

namespace halcyra {

CCalPlaceholderPage::CCalPlaceholderPage(CUiContext& context, CalPage page, QWidget* parent)
    : CHCPropertyPage(context, QString::fromLatin1(CalPageInfoOf(page).title),
                      QString::fromLatin1(CalPageInfoOf(page).heading), parent),
      page_(page)
{
    QLabel* note = MakeInstructionLabel(this, "notAvailable", 2);
    note->setText(QString::fromLatin1(kNotYetAvailableText));
    Body()->addWidget(note);
    Body()->addStretch(1);
}

} // namespace halcyra
