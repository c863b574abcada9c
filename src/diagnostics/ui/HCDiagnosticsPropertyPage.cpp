#include "diagnostics/ui/HCDiagnosticsPropertyPage.h"

#include "diagnostics/ui/DiagTrendView.h"
#include "pages/ui/FieldBinder.h"
#include "pages/ui/UiContext.h"

#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QVBoxLayout>

#include <algorithm>

namespace halcyra {

CHCDiagnosticsPropertyPage::CHCDiagnosticsPropertyPage(CUiContext& context, DiagPage page, QWidget* parent)
    : CHCPropertyPage(context, QString::fromLatin1(DiagRow(page).title), QString::fromLatin1(DiagRow(page).heading),
                      parent),
      values_(DiagRow(page), &Params()), poll_(context)
{
    setWindowTitle(QString::fromLatin1(DiagRow(page).caption));
    DescribeFields(values_.Fields());
    // The value boxes line up whatever their units.
    int unitWidth = 0;
    for (const DiagLine& line : Row().lines)
        unitWidth = std::max(unitWidth, fontMetrics().horizontalAdvance(QString::fromLatin1(line.unit)));
    for (QLabel* unit : findChildren<QLabel*>(QRegularExpression(QStringLiteral("Unit$"))))
        unit->setMinimumWidth(unitWidth);
    trend_ = new CDiagTrendView(values_, this);
    Body()->addWidget(trend_, 1);
}

bool CHCDiagnosticsPropertyPage::OnInitDialog()
{
    // A new window starts without readings.
    values_.Forget();
    trend_->Clear();
    return CHCPropertyPage::OnInitDialog();
}

bool CHCDiagnosticsPropertyPage::OnSetActive()
{
    poll_.Start(kPollPeriod, [this] { return PollOnce(); });
    return CHCPropertyPage::OnSetActive();
}

bool CHCDiagnosticsPropertyPage::OnKillActive()
{
    poll_.Stop();
    return CHCPropertyPage::OnKillActive();
}

void CHCDiagnosticsPropertyPage::hideEvent(QHideEvent* event)
{
    // Cancel and a page's own ending of the sheet do not leave the page
    // first; a page off the screen must not go on talking to the controller.
    if (!event->spontaneous())
        poll_.Stop();
    CHCPropertyPage::hideEvent(event);
}

bool CHCDiagnosticsPropertyPage::PollOnce()
{
    bool read = false;
    try {
        read = values_.Refresh(Link());
    } catch (...) {
        ShowValues(); // the failure values; the poll reports the port failure
        emit polled(false);
        throw;
    }
    ShowValues();
    emit polled(read);
    return read;
}

void CHCDiagnosticsPropertyPage::ShowValues()
{
    trend_->Record(CTrendHistory::Clock::now());
    UpdateControls();
}

QString CHCDiagnosticsPropertyPage::Text(const std::string& id) const
{
    auto* text = qobject_cast<QLineEdit*>(Fields()->Control(id));
    return text ? text->text() : QString();
}

} // namespace halcyra
