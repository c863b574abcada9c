#pragma once
// Logging streamed to the PC, as the "External Data Logging" window and the
// command line run it: the ".DBG" file and the log header written into it,
// then every record the controller sends appended as it arrives, counted,
// and the records lost on the way counted too; start, stop, and done, which
// gives the controller back its previous logging output setting.
//
// Nothing here waits on a timer: records are taken when the port has bytes
// (the window watches the port's descriptor; the command line waits on the
// port), and a record left unfinished is dropped at its deadline.

#include "link/AtomicFile.h"
#include "logging/LoggingMessages.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace halcyra {

class CControllerLink;
class CPageContext;

// The DblRate values' names, as the window's "Logging Rate" list shows them.
inline constexpr const char* kLoggingRates[] = {"Off", "50 Hz", "10 Hz", " 1 Hz", " 0.1 Hz"};
inline constexpr const char* kExternalLoggingCaption = "External Logging";
inline constexpr const char* kLogFileNotOpenText = "Error:Logging file not open!";
inline constexpr const char* kLogHeaderErrorText = "Error:Log File Header Error!";
inline constexpr const char* kLogWriteFailedText =
    "Error: The log file could not be written; the records that follow are not saved.";

// What the Data logging command hands the external window.
struct ExternalLogPlan {
    std::uint32_t previousOutput = 0; // the logging output setting before external logging
    std::uint32_t rateIndex = 0;      // DblRate
    std::string configurationPath;    // the ".DLC" file, as a full path
};

// Sends the logging output setting without waiting for an answer.
void SendLogOutput(CControllerLink& link, std::uint32_t setting);

class CExternalLog {
public:
    using Clock = std::chrono::steady_clock;
    // How long the header may take once the window is being prepared, and a
    // record once its first block has arrived.
    static constexpr std::chrono::milliseconds kHeaderWait{1000};
    static constexpr std::chrono::milliseconds kRecordWait{1000};
    // The rest of a frame under way comes at the line's pace: it is read in
    // one go once it has had time to arrive (a whole block frame takes about
    // 50 ms at 38400 baud), not byte by byte as each byte would wake the program.
    static constexpr std::chrono::milliseconds kFrameGather{50};

    // The window's preparation: asks for the ".DBG" file, creates it beside
    // its destination and writes the header the controller sends into it.
    // Nothing, after its box, when any step fails; the controller then gets
    // its previous output setting back.
    static std::unique_ptr<CExternalLog> Prepare(CPageContext& context, ExternalLogPlan plan);

    // A log named but not prepared: no file is written (screens drawn
    // without a controller).
    CExternalLog(CControllerLink& link, ExternalLogPlan plan, std::string logPath);
    // A file still open is closed and put in place with what it holds.
    ~CExternalLog();
    CExternalLog(const CExternalLog&) = delete;
    CExternalLog& operator=(const CExternalLog&) = delete;

    // "&Start": the logging command 1; records are counted from here.
    void Start(Clock::time_point now);
    // Takes every frame the port holds, without waiting.
    void TakeWaitingFrames(Clock::time_point now);
    // Waits on the port until bytes arrive or the deadline passes, then
    // takes what the port holds, the rest of a frame under way included.
    void TakeFramesUntil(Clock::time_point deadline);
    // Part of a frame has arrived and the rest is on its way.
    bool FrameUnderWay();
    // Drops a record that has not finished in time.
    void Expire(Clock::time_point now);
    // When Expire has something to do; nothing while no record is under way.
    std::optional<Clock::time_point> NextDeadline() const;
    // Saves at most this many records from Start on; later ones are passed over.
    void LimitRecords(std::uint32_t records) { limit_ = records; }
    bool LimitReached() const { return limit_ != 0 && saved_ >= limit_; }
    // "S&top": the logging command 0; the file is closed and put in place.
    void Stop();
    // "&Done": the previous output setting goes back; a file still open is
    // closed and put in place. No stop command is sent.
    void Done();

    bool Streaming() const { return streaming_; }
    bool Stopped() const { return stopped_; }
    bool IsDone() const { return done_; }
    std::uint32_t RecordsSaved() const { return saved_; }
    std::uint32_t RecordsDropped() const { return dropped_; }
    // Whole seconds since Start.
    std::uint64_t ElapsedSeconds(Clock::time_point now) const;

    const ExternalLogPlan& Plan() const { return plan_; }
    const std::string& LogPath() const { return logPath_; }
    std::size_t HeaderBytes() const { return headerBytes_; }

private:
    // Where the record under way stands.
    enum class Phase { Idle, Collecting, Skipping };

    bool AwaitHeader();
    bool Append(std::span<const std::uint8_t> bytes);
    // Looks at what became of the frame the record message was just handed.
    void AfterFrame(Clock::time_point now);
    void DropRecord(Clock::time_point now, Phase next);
    void CloseFile();

    CControllerLink& link_;
    ExternalLogPlan plan_;
    std::string logPath_;
    CAtomicFile file_;
    bool fileOpen_ = false;
    bool writeFailed_ = false;
    std::size_t headerBytes_ = 0;

    CDataLogBlockMsg record_;
    Phase phase_ = Phase::Idle;
    Clock::time_point phaseDeadline_{};
    int abandonedSeen_ = 0;
    bool streaming_ = false;
    bool stopped_ = false;
    bool done_ = false;
    bool everStarted_ = false;
    Clock::time_point started_{};
    std::uint32_t saved_ = 0;
    std::uint32_t dropped_ = 0;
    std::uint32_t limit_ = 0; // 0: no limit
};

} // namespace halcyra
