// The electric track calibrations' pages and dialogs against the simulator:
// the steering calibration pages' begin and end, the bias dialogs' closing
// buttons, the deadband detour and the track spacing field.

#include "CalSheetRig.h"

#include "calibration/ui/CalElecTrackPages.h"
#include "calibration/ui/TrackSteeringDialogs.h"
#include "link/Format.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

#include <algorithm>

using namespace halcyra;
using namespace halcyra::test;

namespace {

constexpr std::uint8_t kTrackSub = 0x06;
constexpr int kBegin = 0, kEnd = 1, kStartMTBiasTest = 9;

} // namespace

TEST(TrackSteeringUi, TheSteeringCalibrationPagesBeginTheCalibrationOnceAndEndItOnLeavingAndCancel)
{
    const std::pair<const char*, CalPage> cases[] = {{"jd-track", CalPage::JDElecTrackContents},
                                                     {"mt-track", CalPage::MTElecTrackContents}};
    for (const auto& [vehicle, which] : cases) {
        CalSheetRig r(Setting({}, {{"vehicle-type", vehicle}}));
        CSentCalibrations sent(r.t.app->Context().link);
        r.Show<CCalElecTrackContentsPage>(which);
        EXPECT_EQ(std::vector<int>{kBegin}, sent.Take(kTrackSub)) << vehicle;
        r.sheet->SetActivePage(r.sheet->Page(CalPage::RollCorr));
        EXPECT_EQ(std::vector<int>{kEnd}, sent.Take(kTrackSub)) << vehicle;
        r.sheet->SetActivePage(r.sheet->Page(which));
        EXPECT_EQ(std::vector<int>{}, sent.Take(kTrackSub)) << "begun when the page is made, not when shown";
        r.sheet->reject();
        EXPECT_EQ(std::vector<int>{kEnd}, sent.Take(kTrackSub)) << vehicle;
        EXPECT_TRUE(r.t.notifier.shown.empty()) << vehicle;
    }
}

TEST(TrackSteeringUi, TheBiasDialogsClosingButtonsStoreTheBiasAndEndWithTheirResults)
{
    const struct {
        TrackVariant variant;
        const char* button;
        int result;
    } cases[] = {
        {TrackVariant::MT, "next", 2},
        {TrackVariant::MT, "testDone", 0},
        {TrackVariant::JD, "ok", QDialog::Accepted},
    };
    for (const auto& c : cases) {
        CalSheetRig r(Setting({"k0e=2.5"}, {{"vehicle-type", c.variant == TrackVariant::MT ? "mt-track" : "jd-track"}}));
        CUiContext& context = r.t.app->Context();
        CTrackBiasCal cal(context, c.variant);
        int deadbands = 0;
        CTrackBiasDlg dialog(context, cal, [&] { ++deadbands; });
        const int position = cal.Slider().minimum + 10;
        r.t.onModal = [&](QDialog& d) {
            d.show();
            dialog.Slider()->setValue(position);
            EXPECT_NE(nullptr, dialog.Button(c.button)) << c.button;
            dialog.Button(c.button)->click();
            return d.result();
        };
        EXPECT_EQ(c.result, context.RunModal(dialog)) << c.button;
        EXPECT_FALSE(dialog.isVisible()) << c.button;
        EXPECT_FALSE(cal.IsPolling()) << c.button;
        EXPECT_EQ(0, deadbands);
        ASSERT_EQ(std::vector<std::string>{"Do you want to save the new steering bias value?"}, r.t.notifier.Texts())
            << c.button;
        EXPECT_EQ("Save Bias", r.t.notifier.shown[0].caption);
        EXPECT_EQ(Format("%f", static_cast<double>(BiasAtSliderPosition(position))), r.t.Param("k0e")) << c.button;
    }
}

TEST(TrackSteeringUi, ChangeDeadbandRunsTheDeadbandDialogThenStartsTheMTBiasTestAgain)
{
    CalSheetRig r(Setting({}, {{"vehicle-type", "mt-track"}}));
    CUiContext& context = r.t.app->Context();
    auto& page = r.Show<CCalElecTrackContentsPage>(CalPage::MTElecTrackContents);
    CSentCalibrations sent(context.link);
    std::vector<int> beforeDeadband, afterDeadband;
    bool biasStillOpen = false;
    r.t.onModal = [&](QDialog& d) {
        if (auto* bias = dynamic_cast<CTrackBiasDlg*>(&d)) {
            d.show();
            sent.Take(kTrackSub);
            bias->Button("changeDeadband")->click();
            afterDeadband = sent.Take(kTrackSub);
            biasStillOpen = d.isVisible();
            bias->Button("next")->click();
            return d.result();
        }
        if (dynamic_cast<CDeadbandDlg*>(&d)) {
            beforeDeadband = sent.Take(kTrackSub);
            return static_cast<int>(QDialog::Rejected);
        }
        if (dynamic_cast<CTrackInstructionsDlg*>(&d) &&
            dynamic_cast<CTrackInstructionsDlg&>(d).Kind() == TrackDialog::MTSpacingInstructions)
            return static_cast<int>(QDialog::Rejected); // the chain ends here
        return kTrackDialogNext;
    };
    page.BeginButton()->click();
    EXPECT_EQ((std::vector<std::string>{"halcyra::CGyroBiasDlg", "halcyra::CTrackInstructionsDlg",
                                        "halcyra::CTrackInstructionsDlg", "halcyra::CTrackBiasDlg",
                                        "halcyra::CDeadbandDlg", "halcyra::CTrackInstructionsDlg"}),
              r.t.modal);
    EXPECT_EQ(0, std::count(beforeDeadband.begin(), beforeDeadband.end(), kStartMTBiasTest));
    EXPECT_EQ(1, std::count(afterDeadband.begin(), afterDeadband.end(), kStartMTBiasTest))
        << "the bias test starts again once the deadband dialog is done";
    EXPECT_TRUE(biasStillOpen);
}

TEST(TrackSteeringUi, TheTrackSpacingTicksStopWhileTheFieldIsEditedAndSetSavesTheSpacing)
{
    CalSheetRig r(Setting({}, {{"vehicle-type", "mt-track"}}));
    CUiContext& context = r.t.app->Context();
    CTrackSpacingCal cal(context);
    CTrackSpacingDlg dialog(context, cal);
    dialog.EnsureInitialised();
    dialog.show();
    EXPECT_TRUE(cal.IsPolling());
    EXPECT_EQ(QStringLiteral("2.240"), dialog.SpacingEdit()->text());
    QFocusEvent focusIn(QEvent::FocusIn, Qt::MouseFocusReason);
    QCoreApplication::sendEvent(dialog.SpacingEdit(), &focusIn);
    EXPECT_FALSE(cal.IsPolling());
    dialog.SpacingEdit()->setText(QStringLiteral("2.5"));
    emit dialog.SpacingEdit()->editingFinished();
    EXPECT_TRUE(cal.IsPolling());
    dialog.Button("set")->click();
    EXPECT_EQ(std::vector<std::string>{"Do you want to save the new track spacing value?"}, r.t.notifier.Texts());
    EXPECT_EQ("2.500000", r.t.Param("trw"));
    EXPECT_EQ(QStringLiteral("2.500"), dialog.SpacingEdit()->text());
    dialog.done(QDialog::Rejected);
    EXPECT_FALSE(cal.IsPolling());
}

TEST(TrackSteeringUi, TheOverrideTestEndsWithTheSheetAndTheInterfaceCalibrationStopsWhenItsPageIsLeft)
{
    for (const bool ok : {true, false}) {
        CalSheetRig r(Setting({}, {{"vehicle-type", "jd-track"}}));
        CSentCalibrations sent(r.t.app->Context().link);
        auto& jd = r.Show<CCalJDx30TElecTrackContentsPage>(CalPage::JDx30TElecTrackContents);
        jd.RunButton()->click();
        EXPECT_EQ("1", r.t.Param("JD30TCalCmd"));
        r.Show<CCalJDElecManualOverride>(CalPage::JDElecManualOverride);
        EXPECT_EQ("0", r.t.Param("JD30TCalCmd")) << "leaving stops the interface calibration";
        EXPECT_EQ((std::vector<int>{0, 0}), sent.Take(0x0A)) << "begun on creation and on showing";
        if (ok)
            r.sheet->OnOK();
        else
            r.sheet->reject();
        EXPECT_FALSE(r.sheet->isVisible());
        EXPECT_EQ(std::vector<int>{1}, sent.Take(0x0A)) << (ok ? "OK" : "Cancel") << " ends the override test";
    }
}
