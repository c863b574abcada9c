#include "diagnostics/ui/DiagnosticsScreens.h"

#include "diagnostics/ui/DiagPages.h"
#include "diagnostics/ui/DiagSheet.h"
#include "pages/ui/ScreenRenderer.h"
#include "pages/ui/UiContext.h"

#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <chrono>
#include <memory>
#include <vector>

namespace halcyra {

namespace {

// Long enough for the values to move and the trends to show it.
constexpr std::chrono::milliseconds kPolledBeforeDrawing{3000};
constexpr std::chrono::milliseconds kSheetPolledBeforeDrawing{1000};

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
    // The sheet the controller's inputs call for, at its first page.
    {
        CDiagSheet sheet(context, parent);
        if (sheet.GetPageCount() > 0) {
            CScreenRenderer::Show(sheet);
            PollFor(kSheetPolledBeforeDrawing);
            screens.Save(sheet, QStringLiteral("diag-sheet"));
            // Recording, into a folder of its own that goes afterwards.
            QTemporaryDir folder;
            if (folder.isValid() &&
                sheet.StartRecording(QFile::encodeName(folder.filePath(QStringLiteral("render.csv"))).toStdString())) {
                PollFor(kSheetPolledBeforeDrawing);
                screens.Save(sheet, QStringLiteral("diag-sheet-recording"));
                sheet.StopRecording();
            }
            sheet.done(QDialog::Rejected);
        }
    }
    // Every page, each alone in a sheet, all of them polling at once: a
    // page at a time would keep the drawing waiting for a minute.
    std::vector<std::unique_ptr<CHCPropertySheet>> sheets;
    for (const DiagPageRow& row : DiagPageRows()) {
        sheets.push_back(std::make_unique<CHCPropertySheet>(QStringLiteral("Installation Diagnostics"), parent));
        sheets.back()->AddPage(MakeDiagPage(row.page, context));
        CScreenRenderer::Show(*sheets.back());
    }
    PollFor(kPolledBeforeDrawing);
    for (std::size_t i = 0; i < sheets.size(); ++i) {
        screens.Save(*sheets[i], ScreenName(DiagPageRows()[i]));
        sheets[i]->done(QDialog::Rejected);
    }
}

} // namespace halcyra
