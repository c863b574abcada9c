#pragma once
// The automated dead-zone calibration: the controller measures the steering
// valve's dead zone on each side while the vehicle drives slowly. Eight
// instructions lead to a coarse sweep right and left, then fine sweeps that
// alternate right and left as often as the user likes. Leaving copies the
// measured dead zones into dzl and dzr (the page then offers to save them)
// and offers the controller's calibration report as a text file.

#include "calibration/CalProcedure.h"
#include "params/Param.h"

#include <cstdint>
#include <string>

namespace halcyra {

class CParamSet;

// The controller block that holds the report of the last run.
inline constexpr std::uint8_t kDeadZoneReportBlock = 8;
inline constexpr const char* kReportFileFilter = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||";
inline constexpr const char* kReportFileExtension = "txt";
inline constexpr const char* kReportQuestion = "Do you want to download a calibration report file?";
inline constexpr const char* kReportQuestionCaption = "Download Calibration Report?";

// The instructions, by index (index 0 is instruction "1.").
inline constexpr int kDeadZoneInstructions = 8;
const char* DeadZoneInstruction(int index);

// A dead zone as shown: rounded to hundredths, halves up.
float RoundedDeadZone(float x);
// The progress bar's position for a percentage: whole percent, truncated.
int SweepProgress(float percent);

class CAutoDeadZoneCal final : public CCalProcedure {
public:
    // Adds the page's parameters to its set.
    CAutoDeadZoneCal(CPageContext& context, CParamSet& pageParams);

    // The page's life cycle. Init follows the base page's initialisation,
    // Show comes before the base page's activation. Leave comes before the
    // base page's leaving (whose save prompt writes dzl and dzr), OfferReport
    // after it; a cancelled sheet runs the same, save prompt included.
    void Init();
    void Show();
    void Leave();
    void OfferReport();

    void PressMain();
    void PressFine();

    // What the page shows.
    struct View {
        std::string text;          // an instruction or what runs
        int instruction = 0;       // the instruction's index; -1 while a sweep's text shows
        bool mainShown = true;
        std::string mainText = "Next>>";
        bool fineShown = false;
        std::string fineText = "Test Right";
        bool progressShown = false;
        int progress = 0;
        bool deadZonesShown = true;
        bool countShown = false;
    };
    const View& Shown() const { return view_; }
    std::string DeadZoneLeftText() const;
    std::string DeadZoneRightText() const;
    std::string CountText() const;
    // The report button stays hidden in every state.
    bool DownloadReportShown() const { return false; }

    int Step() const { return step_; }
    int LastCommand() const { return lastCommand_; }
    unsigned CountShown() const { return countShown_; }

    // Asks for a file and saves the report into it; true when saved.
    bool DownloadReport();

private:
    bool Poll() override;
    void Reset();
    void ShowInstruction(int index);
    void HideProgress();
    // The main button's action at a step (the failure paths reuse steps 3 and 6).
    void ActAtStep(int step);
    void StartSweep(std::uint8_t command, const char* text);
    bool Write(std::uint8_t command);
    bool SweepFinished();
    bool SweepFailed();
    void ReportSweepError();

    CByteParam command_{"DZSwpCmd"}; // not in the page's set: written, and read back as the state
    CFloatParam sweepLeft_;
    CFloatParam sweepRight_;
    CFloatParam percent_;
    CStringParam error_;
    CFloatParam dzl_;
    CFloatParam dzr_;
    CByteParam fineCount_;
    CByteParam side_;

    View view_;
    int step_ = 1;
    int lastCommand_ = 0;
    int stateRead_ = 0;
    float dzLeftShown_ = 0;
    float dzRightShown_ = 0;
    unsigned countShown_ = 0;
    bool errorCheckPending_ = false;
    bool reArm_ = false;
};

} // namespace halcyra
