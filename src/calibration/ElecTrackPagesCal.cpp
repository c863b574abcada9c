#include "calibration/ElecTrackPagesCal.h"

#include "calibration/CalibrationMessages.h"
#include "link/ControllerLink.h"
#include "link/Format.h"
#include "link/MessageIds.h"

#include <array>

namespace halcyra {

using namespace wire::calibration;

namespace {

constexpr std::array<const char*, kOverrideLines> kOverrideTexts = {
    "1. Place Tractor in Park and press Next.",
    "2. Release Steering Wheel and press Next.",
};

std::string BiasValueText(float bias) { return Format("%.2f", static_cast<double>(bias)); }

} // namespace

const char* OverrideLine(int index) { return kOverrideTexts.at(static_cast<std::size_t>(index)); }

// ---------------------------------------------------------------- manual override

CJDManualOverrideCal::CJDManualOverrideCal(CPageContext& context, CParamSet& pageParams)
    : CCalProcedure(context), ovb_("ovb", &pageParams)
{
}

void CJDManualOverrideCal::Begin()
{
    CCalCommandMsg begin(kOverrideSub, kOverrideBeginOp);
    Link().Transact(begin);
    stage_ = 0;
}

void CJDManualOverrideCal::End()
{
    if (testStarted_)
        StopPolling();
    CCalCommandMsg end(kOverrideSub, kOverrideEndOp);
    Link().Transact(end);
}

void CJDManualOverrideCal::Init()
{
    Begin();
    Changed();
}

void CJDManualOverrideCal::Show()
{
    Begin();
    savedBiasText_ = BiasValueText(ovb_.value);
    Changed();
}

void CJDManualOverrideCal::Leave()
{
    if (stage_ == 4)
        ovb_.value = testBias_;
}

void CJDManualOverrideCal::OnOK() { End(); }

// The controller's test is ended however the sheet closes.
void CJDManualOverrideCal::Cancel() { End(); }

bool CJDManualOverrideCal::LineEnabled(int index) const
{
    return (index == 0 && stage_ == 0) || (index == 1 && stage_ == 1);
}

const char* CJDManualOverrideCal::ButtonText() const
{
    switch (stage_) {
    case 2:
    case 3:
        return "Wait...";
    case 4:
        return "Restart";
    default:
        return "Next >>";
    }
}

void CJDManualOverrideCal::Press()
{
    switch (stage_) {
    case 0:
        stage_ = 1;
        break;
    case 1: {
        CCalCommandMsg run(kOverrideSub, kOverrideRunOp);
        Link().Transact(run);
        stage_ = 2;
        testStarted_ = true;
        StartPolling();
        break;
    }
    case 4:
        stage_ = 0;
        break;
    default:
        return;
    }
    Changed();
}

bool CJDManualOverrideCal::Poll()
{
    COverrideStatusMsg status;
    // Only a status read moves the test on.
    if (!Link().Transact(status))
        return false;
    savedBiasText_ = BiasValueText(status.savedBias);
    testBiasText_ = BiasValueText(status.testBias);
    testBias_ = status.testBias;
    if (stage_ == 2 && (status.state == kOverrideReleasing || status.state == kOverrideMeasuring))
        stage_ = 3;
    else if (stage_ == 3 && status.state == kOverrideFinished)
        stage_ = 4;
    return true;
}

// ---------------------------------------------------------------- JD interface

void CJDInterfaceCal::Show()
{
    StopPolling();
    running_ = false;
    if (statusText_.Get(Link())) {
        shown_ = statusText_.value;
        buttonText_ = "Begin";
    } else {
        shown_ = kJDInterfaceUpgradeText;
        buttonText_ = "Error";
    }
    Changed();
}

void CJDInterfaceCal::Leave()
{
    StopPolling();
    running_ = false;
    Command(kJDInterfaceStop);
}

void CJDInterfaceCal::Cancel()
{
    if (running_)
        Leave();
}

void CJDInterfaceCal::Command(std::uint32_t command)
{
    command_.value = command;
    command_.Set(Link());
}

void CJDInterfaceCal::Press()
{
    if (running_) {
        Finish();
    } else {
        StartPolling();
        Command(kJDInterfaceStart);
        buttonText_ = "Cancel";
        running_ = true;
    }
    Changed();
}

void CJDInterfaceCal::Finish()
{
    StopPolling();
    Command(kJDInterfaceStop);
    if (statusText_.Get(Link()))
        shown_ = statusText_.value;
    buttonText_ = "Begin";
    running_ = false;
}

bool CJDInterfaceCal::Poll()
{
    const bool statusRead = status_.Get(Link());
    const bool textRead = statusText_.Get(Link());
    if (!statusRead)
        return false;
    switch (status_.value) {
    case kJDInterfaceRunning:
        if (textRead)
            shown_ = statusText_.value;
        break;
    case kJDInterfaceSucceeded:
    case kJDInterfaceFailed: {
        const std::string final = statusText_.value;
        Finish();
        if (textRead)
            shown_ = final;
        break;
    }
    default:
        shown_ = kJDInterfaceIdleText;
        Finish();
        break;
    }
    return textRead;
}

} // namespace halcyra
