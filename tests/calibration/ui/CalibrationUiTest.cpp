// The calibration tab, the calibration sheet and the widgets of its pages
// against the simulator.

#include "CalSheetRig.h"

#include "app/ui/SetupSheet.h"
#include "calibration/ui/CalAutoDeadZonePage.h"
#include "calibration/ui/CalContentsPage.h"
#include "calibration/ui/CalElecTrackPages.h"
#include "calibration/ui/CalOrientationPage.h"
#include "calibration/ui/CalPGainPage.h"
#include "calibration/ui/CalSheet.h"
#include "calibration/ui/CalSimplePages.h"
#include "calibration/ui/CalSteerSensorPage.h"
#include "pages/ui/FieldBinder.h"

#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

using namespace halcyra;
using namespace halcyra::test;

namespace {

QString FieldText(CHCPropertyPage& page, const char* id)
{
    auto* edit = qobject_cast<QLineEdit*>(page.Fields()->Control(id));
    return edit ? edit->text() : QStringLiteral("<none>");
}

} // namespace

TEST(CalibrationUi, TheCalibrationTabListsTheSheetsPagesAndEditOpensTheChosenOne)
{
    UiApp t;
    t.UseSimulator();
    t.Start();
    t.notifier.shown.clear();
    CSetupSheet setup(t.app->Context());
    setup.SetActivePage(1);
    setup.show();
    CCalContentsPage& contents = *setup.CalContents();
    QStringList listed;
    for (int i = 0; i < contents.List()->count(); ++i)
        listed << contents.List()->item(i)->text();
    EXPECT_EQ((QStringList{"Controller Orientation", "Antenna Compensation", "Steering Sensor",
                           "Automated Steering Deadzone", "Steering Gain", "Roll Compensation", "Manual Override",
                           "Aggressiveness"}),
              listed);

    QString caption, opened;
    t.onModal = [&](QDialog& d) {
        d.show();
        auto& sheet = dynamic_cast<CCalSheet&>(d);
        caption = sheet.windowTitle();
        opened = sheet.GetActivePage()->Title();
        sheet.done(QDialog::Rejected);
        return static_cast<int>(QDialog::Rejected);
    };
    contents.List()->setCurrentRow(3);
    contents.OpenButton()->click();
    EXPECT_EQ(QStringLiteral("Halcyra Toolbox Calibration"), caption);
    EXPECT_EQ(QStringLiteral("Automated Steering Deadzone"), opened);
    EXPECT_EQ(&contents, setup.GetActivePage());
    EXPECT_EQ(std::vector<std::string>{}, t.notifier.Texts());
    setup.done(QDialog::Rejected);
}

TEST(CalibrationUi, TheSheetOwnsEveryPageClassAndHoldsOnlyTheChosenOnes)
{
    CalSheetRig r(Setting({"vtt=8"}));
    CCalSheet& sheet = *r.sheet;
    for (const CalPageInfo& info : CalPageTable()) {
        CHCPropertyPage* page = sheet.Page(info.page);
        ASSERT_NE(nullptr, page) << info.className;
        EXPECT_EQ(QString::fromLatin1(info.title), page->Title()) << info.className;
    }
    EXPECT_NE(nullptr, dynamic_cast<CCalImplSteerSensorPage*>(sheet.Page(CalPage::ImplSteerSensor)));
    EXPECT_NE(nullptr, dynamic_cast<CCalRPMSensor*>(sheet.Page(CalPage::RPMSensor)));
    EXPECT_NE(nullptr, dynamic_cast<CCalJDx30TElecTrackContentsPage*>(sheet.Page(CalPage::JDx30TElecTrackContents)));
    EXPECT_EQ((std::vector<std::string>{"Controller Orientation", "Antenna Compensation", "Steering Sensor",
                                        "Automated Steering Deadzone", "Steering Gain", "Roll Compensation",
                                        "Aggressiveness"}),
              sheet.PageNames());
    EXPECT_EQ(2, sheet.GetPageIndex(sheet.Page(CalPage::ImplSteerSensor)));
    EXPECT_EQ(-1, sheet.GetPageIndex(sheet.Page(CalPage::SteerSensor)));

    sheet.show();
    EXPECT_FALSE(sheet.Page(CalPage::SteerSensor)->isVisible()) << "a page the sheet does not hold stays hidden";
    EXPECT_TRUE(sheet.Page(CalPage::Orientation)->isVisible());
}

TEST(CalibrationUi, AVehicleWithoutCalibrationsListsNothingAndEditSaysSo)
{
    UiApp t;
    t.UseSimulator(Setting({"vtt=0"}));
    t.Start();
    CSetupSheet setup(t.app->Context());
    setup.SetActivePage(1);
    setup.show();
    EXPECT_EQ(0, setup.CalContents()->List()->count());
    t.notifier.shown.clear();
    setup.CalContents()->OpenButton()->click();
    EXPECT_EQ(std::vector<std::string>{"No pages available!"}, t.notifier.Texts());
    EXPECT_TRUE(t.modal.empty());
    setup.done(QDialog::Rejected);
}

TEST(CalibrationUi, TheSteeringSensorPageShowsTheWizardAndLiveReadingsUntilTheSheetCloses)
{
    CalSheetRig r;
    auto& page = r.Show<CCalSteerSensorPage>(CalPage::SteerSensor);
    EXPECT_EQ(QStringLiteral("1. Move Tractor Forward Slowly and Press Next"), page.InstructionLabel()->text());
    EXPECT_FALSE(page.WarningLabel()->isVisible());
    EXPECT_TRUE(page.Fields()->Control("sensorAngle")->isVisible());
    EXPECT_TRUE(page.Procedure().IsPolling());
    EXPECT_TRUE(QTest::qWaitFor([&] { return FieldText(page, "sensorVolts") != QStringLiteral("0.0"); }, 3000));

    page.StepButton()->click();
    EXPECT_EQ(QStringLiteral("2. Steer Full Left and Press Next"), page.InstructionLabel()->text());
    EXPECT_FALSE(page.Fields()->Control("sensorAngle")->isVisible());
    EXPECT_EQ(QStringLiteral("Next >>"), page.StepButton()->text());

    r.sheet->done(QDialog::Rejected);
    EXPECT_FALSE(page.Procedure().IsPolling()) << "the page's ticks end with the sheet's run";
    EXPECT_TRUE(r.t.notifier.shown.empty());
}

TEST(CalibrationUi, TheDeadZonePageShowsOnlyTheControlsOfTheStep)
{
    CalSheetRig r(Setting({}, {{"dz-sweep-ms", "60000"}}));
    auto& page = r.Show<CCalAutoDeadZonePage>(CalPage::AutoDeadZone);
    EXPECT_EQ(QStringLiteral("Next>>"), page.MainButton()->text());
    EXPECT_FALSE(page.FineButton()->isVisible());
    EXPECT_FALSE(page.Progress()->isVisible());
    EXPECT_TRUE(page.Fields()->Control("deadZoneLeft")->isVisible());
    EXPECT_FALSE(page.Fields()->Control("count")->isVisible());
    EXPECT_FALSE(page.findChild<QPushButton*>(QStringLiteral("downloadReport"))->isVisible());

    page.MainButton()->click();
    EXPECT_FALSE(page.Fields()->Control("deadZoneLeft")->isVisible());
    page.MainButton()->click();
    page.MainButton()->click();
    EXPECT_EQ(QStringLiteral("Test Right"), page.MainButton()->text());
    page.MainButton()->click();
    EXPECT_FALSE(page.MainButton()->isVisible());
    EXPECT_TRUE(page.Progress()->isVisible());
    EXPECT_EQ(QStringLiteral("Right side coarse calibration in progress. Please wait..."), page.TextLabel()->text());
    EXPECT_EQ("DZSwpCmd: 3", "DZSwpCmd: " + r.t.Param("DZSwpCmd"));
}

TEST(CalibrationUi, TheGainArrowsStepTheGainAndAPollLeavesTypingAlone)
{
    CalSheetRig r;
    auto& page = r.Show<CCalPGainPage>(CalPage::PGain);
    CStepArrowsEdit& gain = *page.GainEdit();
    EXPECT_EQ(QStringLiteral("12"), gain.Edit()->text());
    EXPECT_FALSE(gain.isEnabled());
    EXPECT_FALSE(page.TurnLeftButton()->isVisible());
    for (int press = 0; press < 3; ++press)
        page.NextButton()->click();
    EXPECT_TRUE(gain.isEnabled());
    EXPECT_FALSE(page.NextButton()->isVisible());
    EXPECT_TRUE(page.TurnLeftButton()->isVisible() && page.TurnRightButton()->isVisible());

    gain.stepBy(1);
    EXPECT_EQ(QStringLiteral("12.5"), gain.Edit()->text());
    QTest::keyClicks(gain.Edit(), "0");
    EXPECT_TRUE(page.Procedure().Editing());
    page.Procedure().PollNow();
    EXPECT_EQ(QStringLiteral("12.50"), gain.Edit()->text());
    emit gain.editingFinished();
    EXPECT_EQ(QStringLiteral("12.5"), gain.Edit()->text());
    EXPECT_FALSE(page.Procedure().Editing());

    gain.Edit()->setText(QStringLiteral("12345"));
    emit gain.Edit()->textEdited(gain.Edit()->text());
    emit gain.editingFinished();
    EXPECT_EQ(std::vector<std::string>{"Please enter a number between 0 and 9999."}, r.t.notifier.Texts());
    EXPECT_EQ(QStringLiteral("12.5"), gain.Edit()->text());
}

TEST(CalibrationUi, TheImplementSensorPageStopsTheControllersCalibrationOnOk)
{
    CalSheetRig r(Setting({"vtt=8"}));
    auto& page = r.Show<CCalImplSteerSensorPage>(CalPage::ImplSteerSensor);
    EXPECT_EQ("1", r.t.Param("ISSteeringSensorCalCmd"));
    EXPECT_FALSE(page.StopButton()->isEnabled());
    page.StartButton()->click();
    EXPECT_EQ("3", r.t.Param("ISSteeringSensorCalCmd"));
    EXPECT_FALSE(page.StartButton()->isEnabled());
    EXPECT_EQ(QStringLiteral("Steering Calibration is in Progress. \nPlease Wait."), page.StatusLabel()->text());
    r.sheet->SetActivePage(r.sheet->Page(CalPage::PGain));
    EXPECT_FALSE(page.Procedure().IsPolling());
    EXPECT_EQ("3", r.t.Param("ISSteeringSensorCalCmd")) << "leaving the page leaves the calibration running";
    r.sheet->OnOK();
    EXPECT_EQ("2", r.t.Param("ISSteeringSensorCalCmd"));
    EXPECT_FALSE(r.sheet->isVisible());
}

TEST(CalibrationUi, EachVehicleTypeGetsItsOwnPages)
{
    const std::vector<std::pair<const char*, std::vector<std::string>>> cases = {
        {"hydraulic-track",
         {"Controller Orientation", "Antenna Compensation", "Track Spacing", "RPM Sensor", "Steering Pump Responses",
          "Steering Pump Knees", "Roll Compensation", "Manual Override", "Aggressiveness"}},
        {"jd-track",
         {"Controller Orientation", "Antenna Compensation", "Track Spacing", "Manual Override", "JD Interface",
          "Steering Calibration", "Roll Compensation", "Aggressiveness"}},
        {"jd-x30-track",
         {"Controller Orientation", "Antenna Compensation", "Track Spacing", "Manual Override", "JD Interface",
          "Roll Compensation", "Aggressiveness"}},
        {"mt-track",
         {"Controller Orientation", "Antenna Compensation", "Track Spacing", "Manual Override",
          "Steering Calibration", "Roll Compensation", "Aggressiveness"}},
        {"mt-track-basic",
         {"Controller Orientation", "Antenna Compensation", "Roll Compensation", "Aggressiveness"}},
    };
    for (const auto& [vehicle, pages] : cases) {
        CalSheetRig r(Setting({}, {{"vehicle-type", vehicle}}));
        EXPECT_EQ(pages, r.sheet->PageNames()) << vehicle;
        EXPECT_TRUE(r.t.notifier.shown.empty()) << vehicle;
    }
    CalSheetRig tilted(Setting({}, {{"mounting", "45,0,0"}}));
    EXPECT_EQ(0, tilted.sheet->GetPageIndex(tilted.sheet->Page(CalPage::OrientationDirect)));
    EXPECT_EQ(-1, tilted.sheet->GetPageIndex(tilted.sheet->Page(CalPage::Orientation)));
}

TEST(CalibrationUi, TheOrientationPictureTurnsWithItsControlsAndTheAnglesFollow)
{
    CalSheetRig r;
    auto& page = r.Show<CCalOrientationPage>(CalPage::Orientation);
    EXPECT_EQ(0, page.PictureShown());
    page.RotateButton(RotateControl::Clockwise)->click();
    const int turned = page.PictureShown();
    EXPECT_NE(0, turned);
    EXPECT_NE(0.0f, page.Rules().Yaw().value);
    for (int turn = 0; turn < 3; ++turn)
        page.RotateButton(RotateControl::Clockwise)->click();
    EXPECT_EQ(0, page.PictureShown());
    EXPECT_EQ(0.0f, page.Rules().Yaw().value);
    page.HelpButton()->click();
    ASSERT_EQ(1u, r.t.notifier.shown.size());
    EXPECT_EQ("Controller Orientation Help", r.t.notifier.shown[0].caption);
}

TEST(CalibrationUi, ARollOffsetBeyondTheAntennaHeightIsRefusedAndStoresNoRoll)
{
    CalSheetRig r;
    auto& page = r.Show<CCalRollCorrPage>(CalPage::RollCorr);
    auto* distance = qobject_cast<QLineEdit*>(page.Fields()->Control("rollOffset"));
    ASSERT_NE(nullptr, distance);
    // The antenna is 3.2 m high.
    distance->setText(QStringLiteral("7"));
    r.sheet->SetActivePage(r.sheet->Page(CalPage::Aggressiveness));
    ASSERT_FALSE(r.t.notifier.shown.empty());
    EXPECT_EQ("Roll Offset Distance Too Large", r.t.notifier.shown[0].caption);
    EXPECT_EQ(0.0f, page.Rules().RollOffset());
}

TEST(CalibrationUi, TheAggressivenessTextsFollowTheSlider)
{
    CalSheetRig r;
    auto& page = r.Show<CCalAggressivenessPage>(CalPage::Aggressiveness);
    page.Slider()->setValue(8);
    EXPECT_EQ(QStringLiteral("50%"), page.PercentLabel()->text());
    EXPECT_EQ(QStringLiteral("Vehicle stability needs to be checked at 22.5 km/h or at maximum engagement speed"),
              page.StabilityLabel()->text());
    page.Slider()->setValue(33);
    EXPECT_EQ(QStringLiteral("150%"), page.PercentLabel()->text());
}

TEST(CalibrationUi, CancellingTheDeadZonePageOffersToSaveTheMeasuredDeadZonesAsLeavingDoes)
{
    CalSheetRig r(Setting({}, {{"dz-sweep-ms", "300"}}));
    auto& page = r.Show<CCalAutoDeadZonePage>(CalPage::AutoDeadZone);
    const auto waitFor = [](QPushButton* button, const char* text) {
        return QTest::qWaitFor([&] { return button->isVisible() && button->text() == QLatin1String(text); }, 5000);
    };
    for (int press = 0; press < 4; ++press)
        page.MainButton()->click(); // to the right coarse sweep
    ASSERT_TRUE(waitFor(page.MainButton(), "Test Left"));
    page.MainButton()->click();
    ASSERT_TRUE(waitFor(page.MainButton(), "Next>>"));
    page.MainButton()->click();
    page.FineButton()->click();
    ASSERT_TRUE(waitFor(page.FineButton(), "Test Left"));
    page.FineButton()->click();
    ASSERT_TRUE(waitFor(page.FineButton(), "Test Right"));
    ASSERT_EQ(1u, page.Procedure().CountShown());
    const std::string measuredLeft = r.t.Param("DZSwpDZl");
    ASSERT_NE(r.t.Param("dzl"), measuredLeft);

    r.t.notifier.answers = {MsgAnswer::Yes, MsgAnswer::No};
    r.sheet->reject();
    EXPECT_FALSE(r.sheet->isVisible());
    ASSERT_EQ((std::vector<std::string>{"Save Changes?", "Do you want to download a calibration report file?"}),
              r.t.notifier.Texts());
    EXPECT_EQ("Save", r.t.notifier.shown[0].caption);
    EXPECT_EQ(measuredLeft, r.t.Param("dzl")) << "Yes keeps the measured dead zones";
    EXPECT_EQ(r.t.Param("DZSwpDZr"), r.t.Param("dzr"));
    EXPECT_EQ("2", r.t.Param("DZSwpCmd")) << "the run is ended";
}

TEST(CalibrationUi, TheOrientationAnglesDialogRebuildsTheMountingOnOkAndOnCancel)
{
    const struct {
        const char* mounting;
        const char* typedYaw; // OK with this yaw; none: Cancel
        float yaw, pitch, roll;
        bool entry;
    } cases[] = {
        {"180,0,180", nullptr, 0, 180, 0, true}, // Cancel: the mounting's own angles
        {"0,0,0", nullptr, 0, 0, 0, true},
        {"0,0,0", "90", 90, 0, 0, true},
        {"0,0,0", "45", 45, 0, 0, false},
    };
    for (const auto& c : cases) {
        CalSheetRig r(Setting({}, {{"mounting", c.mounting}}));
        auto& page = r.Show<CCalOrientationPage>(CalPage::Orientation);
        r.t.onModal = [&](QDialog& d) {
            auto& dialog = dynamic_cast<COrientationAnglesDlg&>(d);
            EXPECT_EQ(QStringLiteral("Orientation Angles"), dialog.windowTitle());
            if (!c.typedYaw)
                return static_cast<int>(QDialog::Rejected);
            dialog.findChild<QLineEdit*>(QStringLiteral("yaw"))->setText(QString::fromLatin1(c.typedYaw));
            dialog.accept();
            return dialog.result();
        };
        page.AnglesButton()->click();
        const std::string which = std::string(c.mounting) + (c.typedYaw ? std::string(" OK ") + c.typedYaw : " Cancel");
        EXPECT_EQ(std::vector<std::string>{"halcyra::COrientationAnglesDlg"}, r.t.modal) << which;
        EXPECT_EQ(c.yaw, page.Rules().Yaw().value) << which;
        EXPECT_EQ(c.pitch, page.Rules().Pitch().value) << which;
        EXPECT_EQ(c.roll, page.Rules().Roll().value) << which;
        EXPECT_EQ(c.entry, page.Rules().Entry() >= 0) << which;
        EXPECT_EQ(page.Rules().Picture(), page.PictureShown()) << which;
    }
}

TEST(CalibrationUi, AnOddMountingIsEditedAsThreeAnglesFrom0To360)
{
    CalSheetRig r(Setting({}, {{"mounting", "45,0,0"}}));
    auto& page = r.Show<CCalOrientationDirect>(CalPage::OrientationDirect);
    EXPECT_EQ(QStringLiteral("45"), FieldText(page, "yaw"));
    EXPECT_EQ(QStringLiteral("0"), FieldText(page, "pitch"));
    for (const char* id : {"yawUnit", "pitchUnit", "rollUnit"})
        EXPECT_EQ(QStringLiteral("deg"), page.findChild<QLabel*>(QString::fromLatin1(id))->text()) << id;
    auto* pitch = qobject_cast<QLineEdit*>(page.Fields()->Control("pitch"));
    pitch->setText(QStringLiteral("400"));
    r.sheet->SetActivePage(r.sheet->Page(CalPage::AntennaPosCorr));
    EXPECT_EQ(std::vector<std::string>{"Please enter a number between 0 and 360."}, r.t.notifier.Texts());
    EXPECT_EQ(&page, r.sheet->GetActivePage());
    pitch->setText(QStringLiteral("10"));
    r.t.notifier.shown.clear();
    r.sheet->SetActivePage(r.sheet->Page(CalPage::AntennaPosCorr));
    EXPECT_EQ(std::vector<std::string>{"Save Changes?"}, r.t.notifier.Texts());
    EXPECT_EQ("10.000000", r.t.Param("iap"));
    EXPECT_EQ("45.000000", r.t.Param("iay"));
}

TEST(CalibrationUi, LengthsShowInTheDisplayUnitWithItsNameAndPrecision)
{
    const struct {
        const char* dsu;
        const char* unit;
        const char* height;   // alz -3.2 m, shown positive
        const char* distance; // alx 1.1 m
    } cases[] = {
        {"0", "cm", "320.00", "110.00"},
        {"1", "m", "3.200", "1.100"},
        {"2", "in", "125.98", "43.31"},
        {"3", "ft", "10.499", "3.609"},
    };
    for (const auto& c : cases) {
        CalSheetRig r(Setting({std::string("dsu=") + c.dsu}));
        auto& antenna = r.Show<CCalAntennaPosCorrPage>(CalPage::AntennaPosCorr);
        EXPECT_EQ(QString::fromLatin1(c.height), FieldText(antenna, "antennaHeight")) << c.unit;
        EXPECT_EQ(QString::fromLatin1(c.distance), FieldText(antenna, "antennaDistance")) << c.unit;
        for (const char* id : {"antennaHeightUnit", "antennaDistanceUnit"})
            EXPECT_EQ(QString::fromLatin1(c.unit), antenna.findChild<QLabel*>(QString::fromLatin1(id))->text()) << id;
        auto& roll = r.Show<CCalRollCorrPage>(CalPage::RollCorr);
        EXPECT_EQ(QString::fromLatin1(c.unit), roll.findChild<QLabel*>(QStringLiteral("rollOffsetUnit"))->text());
        EXPECT_TRUE(r.t.notifier.shown.empty()) << c.unit;
    }
}

TEST(CalibrationUi, ASliderPageLeftUntouchedChangesNothingAndAsksNothing)
{
    const struct {
        CalPage page;
        std::vector<std::pair<const char*, const char*>> values; // off the slider's notches
        int moveTo;
        const char* moved; // each value once the slider has moved
    } cases[] = {
        {CalPage::Aggressiveness, {{"var", "2.000000"}, {"vad", "2.600000"}}, 25, "2.000000"},
        {CalPage::ManOverride, {{"orv", "1.550000"}}, 20, "2.000000"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> assignments;
        for (const auto& [name, value] : c.values)
            assignments.push_back(std::string(name) + "=" + value);
        CalSheetRig r(Setting(assignments));
        CHCPropertyPage& page = r.Show<CHCPropertyPage>(c.page);
        r.t.notifier.shown.clear();
        r.sheet->SetActivePage(r.sheet->Page(CalPage::AntennaPosCorr));
        EXPECT_TRUE(r.t.notifier.shown.empty()) << page.GetPageName();
        for (const auto& [name, value] : c.values)
            EXPECT_EQ(value, r.t.Param(name)) << name;

        // Moved, the value is the slider's and leaving offers it.
        r.Show<CHCPropertyPage>(c.page);
        page.findChild<QSlider*>()->setValue(c.moveTo);
        r.t.notifier.shown.clear();
        r.sheet->SetActivePage(r.sheet->Page(CalPage::AntennaPosCorr));
        EXPECT_EQ(std::vector<std::string>{"Save Changes?"}, r.t.notifier.Texts()) << page.GetPageName();
        for (const auto& [name, value] : c.values)
            EXPECT_EQ(c.moved, r.t.Param(name)) << name;
    }
}

TEST(CalibrationUi, TheOverrideSliderSitsAtTheControllersSensitivity)
{
    for (const char* orv : {"0.7", "1.3", "1.9", "2.3"}) {
        CalSheetRig r(Setting({std::string("orv=") + orv}));
        auto& page = r.Show<CCalManOverridePage>(CalPage::ManOverride);
        EXPECT_EQ(5, page.Slider()->minimum());
        EXPECT_EQ(25, page.Slider()->maximum());
        EXPECT_EQ(static_cast<int>(std::lround(std::stod(orv) * 10)), page.Slider()->value()) << orv;
        EXPECT_EQ(QString::fromLatin1(orv), page.ValueLabel()->text());
    }
}
