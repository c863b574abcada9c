#pragma once
// The two calibrations of electric tracks that are not dialog chains.
//
// CJDManualOverrideCal: with the steering wheel released the controller
// measures the override bias; leaving after a completed test makes it the
// value of ovb, which the page then offers to save.
//
// CJDInterfaceCal: the JD tracked interface calibration, which the
// controller runs by itself between Begin and Cancel through JD30TCalCmd,
// reporting JD30TCalStatus and a status text.

#include "calibration/CalProcedure.h"
#include "params/Param.h"

#include <cstdint>
#include <string>

namespace halcyra {

class CParamSet;

inline constexpr int kOverrideLines = 2;
const char* OverrideLine(int index);
inline constexpr const char* kOverrideCompletedText = "Test Completed.";

class CJDManualOverrideCal final : public CCalProcedure {
public:
    // Adds ovb to the page's parameters.
    CJDManualOverrideCal(CPageContext& context, CParamSet& pageParams);

    // Init after the base page's initialisation; Show after its activation;
    // Leave before its leaving; OnOK and Cancel when the sheet closes.
    void Init();
    void Show();
    void Leave();
    void OnOK();
    void Cancel();

    void Press();

    int Stage() const { return stage_; }
    bool LineEnabled(int index) const;
    const char* ButtonText() const;
    bool ButtonEnabled() const { return stage_ != 2 && stage_ != 3; }
    bool CompletedShown() const { return stage_ == 4; }
    const std::string& SavedBiasText() const { return savedBiasText_; }
    const std::string& TestBiasText() const { return testBiasText_; }

private:
    bool Poll() override;
    void Begin();
    void End();

    CFloatParam ovb_;
    int stage_ = 0;
    float testBias_ = 0;
    bool testStarted_ = false;
    std::string savedBiasText_;
    std::string testBiasText_;
};

inline constexpr const char* kJDInterfaceReadyText = "Status: Ready to begin";
inline constexpr const char* kJDInterfaceIdleText = "Status: Ready to Begin";
inline constexpr const char* kJDInterfaceUpgradeText =
    "Error: Upgrade the Corvex II Controller Firmware before proceeding";

class CJDInterfaceCal final : public CCalProcedure {
public:
    explicit CJDInterfaceCal(CPageContext& context) : CCalProcedure(context) {}

    // Show before the base page's activation, Leave before its leaving,
    // Cancel before its cancelling: a run is stopped however the page goes.
    void Show();
    void Leave();
    void Cancel();

    // The one button: begins a run, or ends the one running.
    void Press();

    bool Running() const { return running_; }
    const std::string& StatusText() const { return shown_; }
    const std::string& ButtonText() const { return buttonText_; }

private:
    bool Poll() override;
    void Command(std::uint32_t command);
    // Ends the run: the controller is told to stop and its status text shown.
    void Finish();

    CUIntParam command_{"JD30TCalCmd"};
    CUIntParam status_{"JD30TCalStatus"};
    CStringParam statusText_{"JD30TCalStatusStr"};
    bool running_ = false;
    std::string buttonText_ = "Begin";
    std::string shown_ = kJDInterfaceReadyText;
};

} // namespace halcyra
