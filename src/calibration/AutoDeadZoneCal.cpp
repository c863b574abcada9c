#include "calibration/AutoDeadZoneCal.h"

#include "link/ControllerLink.h"
#include "link/Format.h"
#include "link/MessageIds.h"
#include "link/Notifier.h"
#include "pages/DataDirectories.h"
#include "params/ParamSet.h"
#include "setup/SetupFiles.h"

#include <array>
#include <cmath>

namespace halcyra {

using namespace wire::calibration;

namespace {

constexpr std::array<const char*, kDeadZoneInstructions> kInstructions = {
    "1. Only proceed if the steering sensor calibration has been performed. Press Next.",
    "2. This calibration needs to be performed on a smooth flat surface. The hydraulic fluid should be at normal "
    "operating temperature. Press Next.",
    "3. Warning! During this calibration the vehicle will turn slowly either to the right or to the left. It may "
    "move in an unpredictable manner. Press Next.",
    "4. Please center the steering on the tractor, and start moving forward in first gear at maximum RPM. The "
    "system will engage when you press Test Right.",
    "5. Please center the steering on the tractor, and continue moving in first gear at maximum RPM. The system "
    "will engage when you press Test Left.",
    "6. It is recommended that the right and left side fine calibrations be run at least 3 times each to increase "
    "accuracy. Press Next.",
    "7. Please center the steering on the tractor, and start moving forward in first gear at maximum RPM. The "
    "system will engage when you press Test Right.",
    "8. Please center the steering on the tractor, and continue moving forward in first gear at maximum RPM. The "
    "system will engage when you press Test Left.",
};

constexpr const char* kNext = "Next>>";
constexpr const char* kTestRight = "Test Right";
constexpr const char* kTestLeft = "Test Left";
constexpr const char* kRightCoarseText = "Right side coarse calibration in progress. Please wait...";
constexpr const char* kLeftCoarseText = "Left side coarse calibration in progress. Please wait...";
constexpr const char* kRightFineText = "Right side fine calibration in progress. Please wait...";
constexpr const char* kLeftFineText = "Left side fine calibration in progress. Please wait...";
// DZSwpErr of a failed sweep that has nothing to say.
constexpr const char* kNoSweepError = " ";

} // namespace

const char* DeadZoneInstruction(int index) { return kInstructions.at(static_cast<std::size_t>(index)); }

float RoundedDeadZone(float x) { return std::floor(x * 100.0f + 0.5f) / 100.0f; }

int SweepProgress(float percent)
{
    if (!std::isfinite(percent) || percent <= 0)
        return 0;
    return percent >= 100 ? 100 : static_cast<int>(percent);
}

CAutoDeadZoneCal::CAutoDeadZoneCal(CPageContext& context, CParamSet& pageParams)
    : CCalProcedure(context), sweepLeft_("DZSwpDZl", &pageParams), sweepRight_("DZSwpDZr", &pageParams),
      percent_("DZSwpPercComplete", &pageParams), error_("DZSwpErr", &pageParams), dzl_("dzl", &pageParams),
      dzr_("dzr", &pageParams), fineCount_("DZSwpNumFineLeft", &pageParams), side_("DZSwpSide", &pageParams)
{
}

std::string CAutoDeadZoneCal::DeadZoneLeftText() const { return Format("%.2f", static_cast<double>(dzLeftShown_)); }
std::string CAutoDeadZoneCal::DeadZoneRightText() const { return Format("%.2f", static_cast<double>(dzRightShown_)); }
std::string CAutoDeadZoneCal::CountText() const { return Format("%u", countShown_); }

void CAutoDeadZoneCal::ShowInstruction(int index)
{
    view_.instruction = index;
    view_.text = DeadZoneInstruction(index);
}

void CAutoDeadZoneCal::HideProgress()
{
    view_.progressShown = false;
    view_.progress = 0;
}

bool CAutoDeadZoneCal::Write(std::uint8_t command)
{
    command_.value = command;
    return command_.Set(Link());
}

void CAutoDeadZoneCal::Reset()
{
    step_ = 0;
    countShown_ = 0;
    HideProgress();
    view_.fineShown = false;
    if (dzl_.Get(Link()))
        dzLeftShown_ = RoundedDeadZone(dzl_.value);
    if (dzr_.Get(Link()))
        dzRightShown_ = RoundedDeadZone(dzr_.value);
    view_.deadZonesShown = true;
    view_.countShown = false;
    view_.mainText = kNext;
    view_.mainShown = true;
    ShowInstruction(0);
    stateRead_ = 0;
    step_ = 1;
    Changed();
}

void CAutoDeadZoneCal::Init()
{
    Reset();
    errorCheckPending_ = true;
    reArm_ = false;
}

void CAutoDeadZoneCal::Show()
{
    if (!reArm_)
        return;
    reArm_ = false;
    Reset();
}

void CAutoDeadZoneCal::PressMain()
{
    ActAtStep(step_);
    Changed();
}

void CAutoDeadZoneCal::ActAtStep(int step)
{
    switch (step) {
    case 1:
        ShowInstruction(1);
        lastCommand_ = kDeadZoneBeginRun;
        Write(kDeadZoneBeginRun);
        view_.deadZonesShown = false;
        step_ = 2;
        break;
    case 2:
        ShowInstruction(2);
        step_ = 3;
        break;
    case 3:
        dzLeftShown_ = dzRightShown_ = 0;
        HideProgress();
        ShowInstruction(3);
        view_.mainShown = true;
        view_.mainText = kTestRight;
        step_ = 4;
        break;
    case 4:
        StartSweep(kDeadZoneCoarseSweep, kRightCoarseText);
        break;
    case 5:
        StartSweep(kDeadZoneCoarseSweep, kLeftCoarseText);
        break;
    case 6:
        ShowInstruction(6);
        view_.deadZonesShown = true;
        view_.countShown = true;
        view_.mainShown = false;
        view_.fineShown = true;
        view_.fineText = kTestRight;
        HideProgress();
        step_ = 7;
        break;
    default:
        break;
    }
}

void CAutoDeadZoneCal::PressFine()
{
    side_.Get(Link());
    StartSweep(kDeadZoneFineSweep, side_.value != kSideRight ? kLeftFineText : kRightFineText);
}

void CAutoDeadZoneCal::StartSweep(std::uint8_t command, const char* text)
{
    // The buttons hide while a sweep runs, so no second sweep can start.
    const View before = view_;
    view_.mainShown = view_.fineShown = false;
    view_.text = text;
    view_.instruction = -1;
    view_.progress = 0;
    view_.progressShown = true;
    lastCommand_ = command;
    Changed();
    // Until the controller has the command, DZSwpCmd still reads the end of
    // the previous sweep: polling then would take that for this one.
    if (!Write(command)) {
        view_ = before;
        Changed();
        return;
    }
    errorCheckPending_ = true;
    StartPolling();
}

bool CAutoDeadZoneCal::Poll()
{
    const bool stateKnown = command_.Get(Link());
    if (stateKnown)
        stateRead_ = static_cast<int>(command_.value);
    const bool percentKnown = percent_.Get(Link());
    view_.progress = percentKnown ? SweepProgress(percent_.value) : 0;
    // A state that could not be read is the last one read: it cannot end a sweep.
    if (!stateKnown)
        return false;
    if (stateRead_ == kDeadZoneSweepFinished)
        return SweepFinished() && percentKnown;
    if (stateRead_ == kDeadZoneSweepFailed)
        return SweepFailed() && percentKnown;
    return percentKnown;
}

bool CAutoDeadZoneCal::SweepFinished()
{
    // Without the side the next step is unknown; the next poll asks again.
    if (!side_.Get(Link()))
        return false;
    const std::uint32_t side = side_.value;
    if (lastCommand_ == kDeadZoneCoarseSweep) {
        if (side != kSideRight && side != kSideLeft)
            return true; // not settled yet: polling goes on
        ShowInstruction(step_);
        view_.mainShown = true;
        view_.mainText = side == kSideRight ? kNext : kTestLeft;
        HideProgress();
        ++step_;
        StopPolling();
    } else if (lastCommand_ == kDeadZoneFineSweep) {
        if (side == kSideRight) {
            // A left sweep has ended: a right and a left one more are done.
            ShowInstruction(step_);
            HideProgress();
            countShown_ = fineCount_.Get(Link()) ? fineCount_.value : 0;
            view_.fineShown = true;
            if (sweepLeft_.Get(Link()))
                dzLeftShown_ = RoundedDeadZone(sweepLeft_.value);
            if (sweepRight_.Get(Link()))
                dzRightShown_ = RoundedDeadZone(sweepRight_.value);
            view_.fineText = kTestRight;
            ++step_;
            StopPolling();
        } else if (side == kSideLeft) {
            ShowInstruction(step_);
            view_.fineShown = true;
            HideProgress();
            view_.fineText = kTestLeft;
            StopPolling();
            --step_;
        }
    }
    return true;
}

bool CAutoDeadZoneCal::SweepFailed()
{
    if (!side_.Get(Link()))
        return false;
    const bool right = side_.value == kSideRight;
    if (lastCommand_ == kDeadZoneCoarseSweep && right) {
        step_ = 3;
        ActAtStep(3);
    } else if (lastCommand_ == kDeadZoneCoarseSweep) {
        ShowInstruction(4);
        view_.mainShown = true;
        view_.mainText = kTestLeft;
        HideProgress();
        step_ = 5;
    } else if (lastCommand_ == kDeadZoneFineSweep && right) {
        step_ = 6;
        ActAtStep(6);
    } else if (lastCommand_ == kDeadZoneFineSweep) {
        ShowInstruction(7);
        view_.fineShown = true;
        view_.fineText = kTestLeft;
        HideProgress();
        step_ = 6;
    } else {
        StopPolling();
        reArm_ = true;
        Show();
    }
    StopPolling();
    ReportSweepError();
    return true;
}

void CAutoDeadZoneCal::ReportSweepError()
{
    if (!errorCheckPending_)
        return;
    errorCheckPending_ = false;
    // A text that could not be read would be an earlier sweep's, or none:
    // the failed read has been reported instead.
    if (!error_.Get(Link()) || error_.value == kNoSweepError)
        return;
    Changed(); // the page shows where the user is before the box
    context_.notifier.Notify(error_.value, kAppTitle, MsgButtons::Ok, MsgIcon::None);
}

void CAutoDeadZoneCal::Leave()
{
    StopPolling();
    if (countShown_ > 0) {
        dzl_.value = sweepLeft_.value;
        dzr_.value = sweepRight_.value;
    }
    lastCommand_ = kDeadZoneEndRun;
    Write(kDeadZoneEndRun);
    reArm_ = true;
}

void CAutoDeadZoneCal::OfferReport()
{
    if (countShown_ == 0)
        return;
    if (context_.notifier.Notify(kReportQuestion, kReportQuestionCaption, MsgButtons::YesNo, MsgIcon::None) ==
        MsgAnswer::Yes)
        DownloadReport();
}

bool CAutoDeadZoneCal::DownloadReport()
{
    FileRequest request;
    request.mode = FileDialogMode::Save;
    request.directory = context_.directories.ConfigurationDir();
    request.filter = kReportFileFilter;
    request.defaultSuffix = kReportFileExtension;
    const std::optional<std::string> path = context_.files->ChooseFile(request);
    if (!path)
        return false;
    CBusyScope busy(*context_.busy);
    // Saved beside the file and renamed over it once complete: a failed
    // download leaves no partial report, and an earlier one as it was.
    if (!SaveBlockToFile(Link(), *path, kDeadZoneReportBlock, true))
        return false;
    context_.notifier.Notify("Report saved successfully", "Save Complete", MsgButtons::Ok, MsgIcon::Information);
    return true;
}

} // namespace halcyra
