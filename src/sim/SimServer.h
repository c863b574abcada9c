#pragma once
// Runs a simulated controller on a pseudo-terminal: clients open the slave
// device as they would a serial port.

#include "link/FrameTrace.h"
#include "link/Framing.h"
#include "sim/SimController.h"
#include "sim/SimOptions.h"

#include <atomic>
#include <deque>
#include <functional>
#include <mutex>
#include <random>
#include <string>
#include <thread>

namespace halcyra::sim {

class CTraceReplay;

class CSimServer {
public:
    explicit CSimServer(SimOptions options);
    ~CSimServer();
    CSimServer(const CSimServer&) = delete;
    CSimServer& operator=(const CSimServer&) = delete;

    // Loads the setup file of the options, if one is named, in place of the
    // built-in setup; false with an error text when the file is no setup
    // (Open does this first when it has not been done).
    bool LoadSetup(std::string& error);
    // Creates the pseudo-terminal and loads the setup; false with an error text.
    bool Open(std::string& error);
    // The device path clients open.
    const std::string& DevicePath() const { return devicePath_; }

    // Serves on a thread of its own until Stop.
    void Start();
    void Stop();
    // Serves on the calling thread until stopFlag becomes true.
    void Run(const std::atomic<bool>& stopFlag);

    // Runs f with the controller locked against the serving thread.
    void WithController(const std::function<void(CSimController&)>& f);
    FaultSettings& Faults() { return options_.faults; }
    // Reports the request frames received and the reply frames sent (not
    // owned). Set it before Start.
    void SetTrace(IFrameTrace* trace);
    // Answers from a recorded trace instead of the simulated controller (not
    // owned); onUnmatched hears of each request the trace never saw. Set it
    // before Start.
    void SetReplay(CTraceReplay* replay, std::function<void(const std::string&)> onUnmatched = {});

private:
    struct OutChunk {
        Clock::time_point notBefore;
        Bytes bytes;
        std::size_t noise = 0; // random bytes ahead of the frame
        std::string note;      // what was done to the reply, for the trace
        Bytes written;         // what has gone out so far, kept for the trace
    };
    struct DueFrame {
        Clock::time_point due;
        Request request;
    };

    void Loop(const std::atomic<bool>& stopFlag);
    // Ticks the controller when a tick is due; returns when the next one is.
    Clock::time_point TickController(Clock::time_point now);
    void ReadInput(Clock::time_point now);
    void ProcessDueFrames(Clock::time_point now);
    // Writes what the line may carry by now; returns when the next byte is due.
    Clock::time_point WriteDue(Clock::time_point now);
    void QueueReply(const Bytes& body, Clock::time_point now);
    void Replay(const Request& request, Clock::time_point now);
    // Queues what the controller sent unasked; the controller is locked.
    void QueueUnasked(Clock::time_point now);
    bool Chance(double share);
    void Log(const std::string& line) const;
    void Trace(TraceDirection direction, TraceVerdict verdict, Bytes wire, std::string detail) const;

    SimOptions options_;
    CSimController controller_;
    std::mutex mutex_;
    int masterFd_ = -1;
    int slaveFd_ = -1; // kept open so the line stays up between clients
    int wakeFds_[2] = {-1, -1};
    std::string devicePath_;
    bool linkCreated_ = false;
    bool setupLoaded_ = false;
    std::thread thread_;
    std::atomic<bool> stopRequested_{false};

    CRxBuffer assembler_;
    std::deque<DueFrame> dueFrames_;
    std::deque<OutChunk> out_;
    Clock::time_point lastArrival_{};
    Clock::time_point wireFree_{};
    std::mt19937_64 random_;
    IFrameTrace* trace_ = nullptr;
    CTraceReplay* replay_ = nullptr;
    std::function<void(const std::string&)> onUnmatched_;
};

} // namespace halcyra::sim
