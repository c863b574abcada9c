#include "calibration/ui/CalSheet.h"

#include "calibration/ui/CalAutoDeadZonePage.h"
#include "calibration/ui/CalElecTrackPages.h"
#include "calibration/ui/CalOrientationPage.h"
#include "calibration/ui/CalPGainPage.h"
#include "calibration/ui/CalPumpPages.h"
#include "calibration/ui/CalSimplePages.h"
#include "calibration/ui/CalSteerSensorPage.h"
#include "pages/ui/UiContext.h"

namespace halcyra {

CHCPropertyPage* MakeCalPage(CalPage page, CUiContext& context, QWidget* parent)
{
    switch (page) {
    case CalPage::Orientation:
        return new CCalOrientationPage(context, parent);
    case CalPage::OrientationDirect:
        return new CCalOrientationDirect(context, parent);
    case CalPage::AntennaPosCorr:
        return new CCalAntennaPosCorrPage(context, parent);
    case CalPage::RollCorr:
        return new CCalRollCorrPage(context, parent);
    case CalPage::TrackSpacing:
        return new CCalTrackSpacingPage(context, parent);
    case CalPage::AutoDeadZone:
        return new CCalAutoDeadZonePage(context, parent);
    case CalPage::PGain:
        return new CCalPGainPage(context, parent);
    case CalPage::SteerSensor:
        return new CCalSteerSensorPage(context, parent);
    case CalPage::ImplSteerSensor:
        return new CCalImplSteerSensorPage(context, parent);
    case CalPage::JDElecManualOverride:
        return new CCalJDElecManualOverride(context, parent);
    case CalPage::HydTrackedSteeringPump:
        return new CCalHydTrackedSteeringPump(context, parent);
    case CalPage::JDElecTrackContents:
        return new CCalJDElecTrackContentsPage(context, parent);
    case CalPage::MTElecTrackContents:
        return new CCalMTElecTrackContentsPage(context, parent);
    case CalPage::RPMSensor:
        return new CCalRPMSensor(context, parent);
    case CalPage::HydTrackedPumpKnee:
        return new CCalHydTrackedPumpKneePage(context, parent);
    case CalPage::ManOverride:
        return new CCalManOverridePage(context, parent);
    case CalPage::JDx30TElecTrackContents:
        return new CCalJDx30TElecTrackContentsPage(context, parent);
    case CalPage::Aggressiveness:
        return new CCalAggressivenessPage(context, parent);
    }
    return nullptr;
}

CCalSheet::CCalSheet(CUiContext& context, QWidget* parent, SheetPages pages) : CHCPropertySheet(QString(), parent)
{
    for (const CalPageInfo& info : CalPageTable()) {
        CHCPropertyPage* page = MakeCalPage(info.page, context, this);
        // A page the sheet does not hold stays out of sight.
        page->hide();
        pages_[static_cast<std::size_t>(info.page)] = page;
    }
    RemoveAllPages();
    if (pages == SheetPages::NoneYet)
        return;
    vehicle_ = ReadCalibrationVehicle(context.link);
    for (CalPage page : SelectCalibrationPages(vehicle_))
        AddPage(Page(page));
}

void CCalSheet::OnInitDialog() { setWindowTitle(QStringLiteral("Halcyra Toolbox Calibration")); }

} // namespace halcyra
