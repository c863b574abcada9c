#include "calibration/ui/CalibrationScreens.h"

#include "calibration/ui/CalAutoDeadZonePage.h"
#include "calibration/ui/CalElecTrackPages.h"
#include "calibration/ui/CalOrientationPage.h"
#include "calibration/ui/CalPGainPage.h"
#include "calibration/ui/CalPumpPages.h"
#include "calibration/ui/CalSheet.h"
#include "calibration/ui/CalSimplePages.h"
#include "calibration/ui/CalSteerSensorPage.h"
#include "calibration/ui/TrackSteeringDialogs.h"
#include "link/ControllerLink.h"
#include "pages/ui/ScreenRenderer.h"
#include "pages/ui/UiContext.h"

#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include <chrono>
#include <memory>

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


// A sheet holding one page of its own, for the pages the connected vehicle
// does not get.
struct OnePageSheet {
    OnePageSheet(CUiContext& context, CalPage pageClass, QWidget* parent)
        : sheet(QStringLiteral("Halcyra Toolbox Calibration"), parent), page(MakeCalPage(pageClass, context, nullptr))
    {
        sheet.AddPage(page);
        CScreenRenderer::Show(sheet);
    }
    ~OnePageSheet() { sheet.done(QDialog::Rejected); }
    template <typename P> P& As() { return static_cast<P&>(*page); }

    CHCPropertySheet sheet;
    CHCPropertyPage* page;
};

QString DialogName(QDialog& dialog)
{
    if (auto* instructions = dynamic_cast<CTrackInstructionsDlg*>(&dialog)) {
        switch (instructions->Kind()) {
        case TrackDialog::JDSpeed:
            return QStringLiteral("jd-speed");
        case TrackDialog::MTSpeed:
            return QStringLiteral("mt-speed");
        case TrackDialog::MTDeadbandInstructions:
            return QStringLiteral("mt-deadband-instructions");
        default:
            return QStringLiteral("mt-track-spacing-instructions");
        }
    }
    if (dynamic_cast<CGyroBiasDlg*>(&dialog))
        return QStringLiteral("gyro-bias");
    if (dynamic_cast<CTrackBiasDlg*>(&dialog))
        return QStringLiteral("bias");
    if (dynamic_cast<CDeadbandDlg*>(&dialog))
        return QStringLiteral("deadband");
    if (dynamic_cast<CTrackSpacingDlg*>(&dialog))
        return QStringLiteral("track-spacing");
    return QStringLiteral("dialog");
}

// Runs a chain's dialogs through to its end, drawing each as it opens and
// once a test turn has run; the MT bias dialog also opens the deadband dialog.
void RenderChain(CUiContext& context, CalPage pageClass, const QString& prefix, QWidget* parent,
                 CScreenRenderer& screens)
{
    OnePageSheet one(context, pageClass, parent);
    auto& page = one.As<CCalElecTrackContentsPage>();
    screens.Save(one.sheet, prefix);
    const auto saved = context.runModal;
    int depth = 0;
    context.runModal = [&](QDialog& dialog) {
        auto* hc = dynamic_cast<CHCDialog*>(&dialog);
        if (hc)
            hc->EnsureInitialised();
        const QString name = prefix + QLatin1Char('-') + DialogName(dialog);
        screens.Save(dialog, name);
        if (auto* gyro = dynamic_cast<CGyroBiasDlg*>(&dialog)) {
            // The bias being computed, once: test turns wait for it.
            if (prefix.contains(QStringLiteral("jd"))) {
                gyro->NextButton()->click();
                screens.Save(dialog, name + QStringLiteral("-waiting"));
                context.link.Pause(3200ms);
                page.Chain().GyroBias().PollNow();
                screens.Save(dialog, name + QStringLiteral("-done"));
            }
        } else if (dynamic_cast<CTrackBiasDlg*>(&dialog) || dynamic_cast<CTrackSpacingDlg*>(&dialog)) {
            CTurnRateTest& test = dynamic_cast<CTrackBiasDlg*>(&dialog)
                                      ? static_cast<CTurnRateTest&>(page.Chain().Bias())
                                      : static_cast<CTurnRateTest&>(page.Chain().Spacing());
            test.Turn(true);
            context.link.Pause(600ms);
            test.PollNow();
            screens.Save(dialog, name + QStringLiteral("-turning"));
            if (auto* bias = dynamic_cast<CTrackBiasDlg*>(&dialog); bias && depth == 0 && bias->Button("changeDeadband")) {
                ++depth;
                bias->Button("changeDeadband")->click();
                --depth;
            }
        }
        dialog.hide();
        // Every dialog goes on, but the track spacing dialog ends the chain.
        return dynamic_cast<CTrackSpacingDlg*>(&dialog) ? 0 : 2;
    };
    page.BeginButton()->click();
    context.runModal = saved;
}

// Every page of this vehicle type the sheet of the connected vehicle lacks,
// each in a sheet of its own, then each a few steps in.
void RenderOtherPages(CUiContext& context, const CCalSheet& shown, QWidget* parent, CScreenRenderer& screens)
{
    for (const CalPageInfo& info : CalPageTable()) {
        if (shown.GetPageIndex(shown.Page(info.page)) >= 0 || info.page == CalPage::ImplSteerSensor ||
            info.page == CalPage::JDElecTrackContents || info.page == CalPage::MTElecTrackContents)
            continue;
        OnePageSheet one(context, info.page, parent);
        QString name = ScreenName(one.page->Title());
        if (info.page == CalPage::OrientationDirect)
            name += QStringLiteral("-direct");
        if (info.page == CalPage::JDElecManualOverride)
            name = QStringLiteral("calibration-jd-manual-override");
        screens.Save(one.sheet, name);
        switch (info.page) {
        case CalPage::HydTrackedPumpKnee: {
            CPumpKneeCal& cal = one.As<CCalHydTrackedPumpKneePage>().Procedure();
            cal.Next();
            context.link.Pause(3500ms);
            cal.PollNow();
            cal.Next();
            cal.Turn(true);
            context.link.Pause(600ms);
            cal.PollNow();
            screens.Save(one.sheet, name + QStringLiteral("-running"));
            cal.Turn(true);
            break;
        }
        case CalPage::HydTrackedSteeringPump: {
            CPumpResponseCal& cal = one.As<CCalHydTrackedSteeringPump>().Procedure();
            cal.Next();
            cal.Next();
            cal.PerformTest();
            context.link.Pause(1500ms);
            cal.PollNow();
            screens.Save(one.sheet, name + QStringLiteral("-running"));
            break;
        }
        case CalPage::JDElecManualOverride: {
            CJDManualOverrideCal& cal = one.As<CCalJDElecManualOverride>().Procedure();
            cal.Press();
            cal.Press();
            context.link.Pause(1200ms);
            cal.PollNow();
            screens.Save(one.sheet, name + QStringLiteral("-running"));
            break;
        }
        case CalPage::JDx30TElecTrackContents: {
            CJDInterfaceCal& cal = one.As<CCalJDx30TElecTrackContentsPage>().Procedure();
            cal.Press();
            context.link.Pause(300ms);
            cal.PollNow();
            screens.Save(one.sheet, name + QStringLiteral("-running"));
            cal.Press();
            break;
        }
        case CalPage::RPMSensor: {
            CRPMSensorCal& cal = one.As<CCalRPMSensor>().Procedure();
            cal.PollNow();
            cal.Press();
            cal.Press();
            screens.Save(one.sheet, name + QStringLiteral("-change"));
            break;
        }
        default:
            break;
        }
    }
}

// The 25 orientation pictures on one sheet, numbered as the table is.
void RenderOrientationPictures(QWidget* parent, CScreenRenderer& screens)
{
    QDialog sheet(parent);
    sheet.setWindowTitle(QStringLiteral("Controller Orientation Pictures"));
    auto* grid = new QGridLayout(&sheet);
    for (int picture = 0; picture <= kNoOrientationPicture; ++picture) {
        auto* label = new QLabel(&sheet);
        label->setPixmap(QPixmap(OrientationPicture(picture)));
        grid->addWidget(label, picture / 5, picture % 5);
    }
    screens.Save(sheet, QStringLiteral("calibration-orientation-pictures"));
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
        if (Activate(sheet, CalPage::Orientation)) {
            auto& page = static_cast<CCalOrientationPage&>(*sheet.Page(CalPage::Orientation));
            page.RotateButton(RotateControl::Clockwise)->click();
            page.RotateButton(RotateControl::Up)->click();
            screens.Save(sheet, QStringLiteral("calibration-controller-orientation-turned"));
            COrientationAnglesDlg angles(context, page.Rules().Yaw().value, page.Rules().Pitch().value,
                                         page.Rules().Roll().value, &sheet);
            screens.Save(angles, QStringLiteral("calibration-orientation-angles"));
        }
        RenderOtherPages(context, sheet, parent, screens);
        sheet.done(QDialog::Rejected);
    }
    RenderChain(context, CalPage::JDElecTrackContents, QStringLiteral("calibration-jd-steering"), parent, screens);
    RenderChain(context, CalPage::MTElecTrackContents, QStringLiteral("calibration-mt-steering"), parent, screens);
    RenderOrientationPictures(parent, screens);
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
