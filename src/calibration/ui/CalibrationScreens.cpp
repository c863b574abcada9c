#include "calibration/ui/CalibrationScreens.h"

#include "calibration/ui/CalAutoDeadZonePage.h"
#include "calibration/ui/CalPGainPage.h"
#include "calibration/ui/CalSheet.h"
#include "calibration/ui/CalSteerSensorPage.h"
#include "link/ControllerLink.h"
#include "pages/ui/ScreenRenderer.h"
#include "pages/ui/UiContext.h"

#include <chrono>

namespace halcyra {

namespace {

using namespace std::chrono_literals;

// "Steering Gain" -> "calibration-steering-gain".
QString ScreenName(const QString& title)
{
    QString name = QStringLiteral("calibration-") + title.toLower();
    name.replace(QLatin1Char(' '), QLatin1Char('-'));
    name.remove(QLatin1Char('.'));
    return name;
}

// Shows the page of the sheet freshly activated, or false when the sheet
// does not hold it.
bool Activate(CCalSheet& sheet, CalPage page)
{
    CHCPropertyPage* p = sheet.Page(page);
    return sheet.GetPageIndex(p) >= 0 && sheet.SetActivePage(p);
}

void RenderRunningStates(CCalSheet& sheet, CControllerLink& link, CScreenRenderer& screens)
{
    // Each calibration a few steps in, with a poll's values.
    if (Activate(sheet, CalPage::SteerSensor)) {
        auto& page = static_cast<CCalSteerSensorPage&>(*sheet.Page(CalPage::SteerSensor));
        page.Procedure().Press();
        page.Procedure().Press();
        page.Procedure().PollNow();
        screens.Save(sheet, ScreenName(page.Title()) + QStringLiteral("-running"));
    }
    if (Activate(sheet, CalPage::AutoDeadZone)) {
        auto& page = static_cast<CCalAutoDeadZonePage&>(*sheet.Page(CalPage::AutoDeadZone));
        for (int press = 0; press < 4; ++press)
            page.Procedure().PressMain();
        // Part of the right coarse sweep.
        link.Pause(1500ms);
        page.Procedure().PollNow();
        screens.Save(sheet, ScreenName(page.Title()) + QStringLiteral("-running"));
    }
    if (Activate(sheet, CalPage::PGain)) {
        auto& page = static_cast<CCalPGainPage&>(*sheet.Page(CalPage::PGain));
        for (int press = 0; press < 3; ++press)
            page.Procedure().Next();
        page.Procedure().Turn(false);
        // The test turn ends and reports its step response.
        link.Pause(1700ms);
        page.Procedure().PollNow();
        screens.Save(sheet, ScreenName(page.Title()) + QStringLiteral("-running"));
    }
}

} // namespace

void RenderCalibrationScreens(CUiContext& context, QWidget* parent, CScreenRenderer& screens)
{
    {
        CCalSheet sheet(context, parent);
        CScreenRenderer::Show(sheet);
        for (int i = 0; i < sheet.GetPageCount(); ++i) {
            sheet.SetActivePage(i);
            screens.Save(sheet, ScreenName(sheet.GetPage(i)->Title()));
        }
        RenderRunningStates(sheet, context.link, screens);
        sheet.done(QDialog::Rejected);
    }
    // The implement steering sensor page, which only implement steering gets.
    CHCPropertySheet sheet(QStringLiteral("Halcyra Toolbox Calibration"), parent);
    auto* page = new CCalImplSteerSensorPage(context);
    sheet.AddPage(page);
    screens.Save(sheet, QStringLiteral("calibration-implement-steering-sensor"));
    page->Procedure().Start();
    page->Procedure().PollNow();
    screens.Save(sheet, QStringLiteral("calibration-implement-steering-sensor-running"));
    page->Procedure().Stop();
    sheet.done(QDialog::Rejected);
}

} // namespace halcyra
