#include "diagnostics/ui/DiagnosticsScreens.h"

#include "diagnostics/ui/DiagPages.h"
#include "diagnostics/ui/DiagSheet.h"
#include "pages/ui/ScreenRenderer.h"
#include "pages/ui/UiContext.h"

#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <chrono>

namespace halcyra {

namespace {

// Long enough for the values to move and the trend to show it.
constexpr std::chrono::milliseconds kPolledBeforeDrawing{2500};

// "Gear Lever (analog)" -> "diag-gear-lever-analog".
QString ScreenName(const DiagPageRow& row)
{
    QString name = QStringLiteral("diag-");
    bool dash = false;
    for (const QChar c : QString::fromLatin1(row.title).toLower()) {
        if (c.isLetterOrNumber()) {
            if (dash && !name.endsWith(QLatin1Char('-')))
                name += QLatin1Char('-');
            name += c;
            dash = false;
        } else {
            dash = true;
        }
    }
    return name;
}

// Lets the page's own ticks poll for a while, in real time.
void PollFor(std::chrono::milliseconds duration)
{
    QEventLoop loop;
    QTimer::singleShot(duration, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

void RenderDiagnosticsScreens(CUiContext& context, QWidget* parent, CScreenRenderer& screens)
{
    // The pages this controller's sheet holds, each polled on its tab...
    CDiagSheet sheet(context, parent);
    std::vector<DiagPage> drawn;
    if (sheet.GetPageCount() > 0) {
        CScreenRenderer::Show(sheet);
        for (int i = 0; i < sheet.GetPageCount(); ++i) {
            sheet.SetActivePage(i);
            PollFor(kPolledBeforeDrawing);
            auto* page = static_cast<CHCDiagnosticsPropertyPage*>(sheet.GetPage(i));
            screens.Save(sheet, ScreenName(page->Row()));
            drawn.push_back(page->Row().page);
        }
        sheet.done(QDialog::Rejected);
    }
    // ...and every other page alone in a sheet of its own.
    for (const DiagPageRow& row : DiagPageRows()) {
        if (std::find(drawn.begin(), drawn.end(), row.page) != drawn.end())
            continue;
        CHCPropertySheet alone(QStringLiteral("Installation Diagnostics"), parent);
        alone.AddPage(MakeDiagPage(row.page, context));
        CScreenRenderer::Show(alone);
        PollFor(kPolledBeforeDrawing);
        screens.Save(alone, ScreenName(row));
        alone.done(QDialog::Rejected);
    }
}

} // namespace halcyra
