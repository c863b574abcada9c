#pragma once
// The process-wide link to the controller: the port, the two frame buffers
// and the list of messages waiting for replies.

#include "link/ControllerMsg.h"
#include "link/FrameTrace.h"
#include "link/Framing.h"
#include "link/SerialPort.h"

#include <chrono>
#include <deque>
#include <string_view>
#include <utility>
#include <cstdint>
#include <string>
#include <vector>

namespace halcyra {

class INotifier;

// The box a failed transaction shows.
inline constexpr const char* kTransactionErrorText = "Communication Error Occured";
inline constexpr const char* kTransactionErrorCaption = "Data Transfer Error";

// How a transaction runs; the default is what nearly every request uses.
struct TransactOptions {
    std::uint32_t timeoutMs = 1000;
    int tries = 3;
    bool removeWhenDone = true;
    bool showError = true; // "Communication Error Occured" after the last try
};

// Requests whose failure the caller reports itself.
inline constexpr TransactOptions kQuietTransact{.showError = false};
// Polling a restarting controller: 16 polls of 250 ms.
inline constexpr TransactOptions kRestartPoll{.timeoutMs = 250, .tries = 16};

// Told when a transaction starts and stops waiting for its reply, and
// called about every kWaitSlice while it waits: a program with a window
// keeps it painted meanwhile.
class ITransactionWaitObserver {
public:
    virtual ~ITransactionWaitObserver() = default;
    virtual void WaitBegins() = 0;
    virtual void StillWaiting() = 0;
    virtual void WaitEnds() = 0;
};

// Gets of named parameters sent and not yet answered, by name. A reply that
// names one of them while another get waits is that earlier get's late
// answer; any other reply is the waiting get's own.
class CUnansweredGets {
public:
    void Sent(std::string_view name);
    void Answered(std::string_view name);
    // True, and counted as answered, when a get of name awaits an answer.
    bool TakeLate(std::string_view name);

private:
    // Names never answered are forgotten oldest first past this many.
    static constexpr std::size_t kRemembered = 32;
    std::deque<std::pair<std::string, int>> awaiting_;
};

class CControllerLink {
public:
    static constexpr std::chrono::milliseconds kWaitSlice{25};

    // Uses the link's own serial port; SetPort replaces it (tests, simulators).
    explicit CControllerLink(INotifier& notifier);
    CControllerLink(const CControllerLink&) = delete;
    CControllerLink& operator=(const CControllerLink&) = delete;
    ~CControllerLink();

    // Opens the serial port at 38400 8N1 without flow control. Raises
    // CSerialException; the box "Failed to open up <device>" is shown first
    // when showBox is set.
    void Open(const std::string& device, bool showBox = true);
    void Close();
    bool IsOpen() const { return countingPort_.IsOpen(); }
    // The device the link was last asked to open, open or not.
    const std::string& CurrentPort() const { return currentPort_; }
    void SetCurrentPort(const std::string& device) { currentPort_ = device; }

    // Routes the link through another port; nullptr returns to the serial port.
    void SetPort(CBytePort* port);
    CBytePort& Port() { return countingPort_; }
    CRxBuffer& Rx() { return rx_; }
    CTxBuffer& Tx() { return tx_; }
    INotifier& Notifier() { return notifier_; }

    bool Transact(CControllerMsg& msg, const TransactOptions& options = {});
    // Waits for frames of an already registered message without sending.
    bool AwaitReply(CControllerMsg& msg, std::uint32_t timeoutMs, int tries, bool removeWhenDone);
    bool Register(CControllerMsg& msg);
    void Unregister(CControllerMsg& msg);
    // One poll of the receiver; true when a frame was handed to a pending message.
    bool ReceiveStep();
    bool Extract(CControllerMsg& msg);
    // Sends a message once without registering it or waiting for a reply.
    void SendOnly(const CControllerMsg& msg);
    // Lets time pass, as a transaction does while it waits (the window stays
    // painted, ticks stay out), without reading the port: what arrives
    // meanwhile stays for the next transaction.
    void Pause(std::chrono::milliseconds duration);

    // Reports every frame sent and received, and the input passed over, to
    // trace (not owned; nullptr stops tracing).
    void SetTrace(IFrameTrace* trace);

    std::size_t PendingCount() const { return pending_.size(); }
    CUnansweredGets& UnansweredGets() { return unansweredGets_; }
    // Transactions that failed with their error box wanted, shown or held back.
    int TransactionErrors() const { return transactionErrors_; }
    // True from the start of a transaction to its end, its error box included.
    bool InTransaction() const { return transactionDepth_ > 0; }
    void SetWaitObserver(ITransactionWaitObserver* observer) { waitObserver_ = observer; }
    ITransactionWaitObserver* WaitObserver() const { return waitObserver_; }

    // While one of these lives, the transactions' error boxes are counted
    // instead of shown: a caller that polls reports an outage once, itself.
    class CQuietErrors {
    public:
        explicit CQuietErrors(CControllerLink& link);
        ~CQuietErrors();
        CQuietErrors(const CQuietErrors&) = delete;
        CQuietErrors& operator=(const CQuietErrors&) = delete;
        // Error boxes held back since this was made.
        int Count() const { return link_.quietErrors_ - errorsBefore_; }

    private:
        CControllerLink& link_;
        int errorsBefore_;
    };

    // Counters for measurements.
    std::uint64_t BytesSent() const { return countingPort_.sent; }
    std::uint64_t BytesReceived() const { return countingPort_.received; }
    void ResetCounters() { countingPort_.sent = countingPort_.received = 0; }

private:
    enum class TryEnd { Accepted, Rejected, TimedOut };
    TryEnd PollUntil(CControllerMsg& msg, std::chrono::steady_clock::time_point deadline);
    // Waits for input until the deadline, in slices when someone watches the wait.
    void WaitForInput(std::chrono::steady_clock::time_point deadline);
    void ShowTransactionError();
    void Send(const CControllerMsg& msg);
    // Decodes into msg; false with the reason when the frame is refused.
    bool ExtractInto(CControllerMsg& msg, std::string& why);
    void Reject(CControllerMsg& msg, std::string why);
    void TraceReceived(TraceVerdict verdict, int headerBytes, std::string detail);

    // Passes every call through and counts the bytes that cross the wire.
    struct CountingPort final : CBytePort {
        CBytePort* inner = nullptr;
        std::uint64_t sent = 0;
        std::uint64_t received = 0;
        bool IsOpen() const override { return inner->IsOpen(); }
        std::size_t Read(std::uint8_t* b, std::size_t n) override
        {
            std::size_t r = inner->Read(b, n);
            received += r;
            return r;
        }
        std::size_t Write(const std::uint8_t* b, std::size_t n) override
        {
            std::size_t w = inner->Write(b, n);
            sent += w;
            return w;
        }
        std::size_t BytesWaiting() override { return inner->BytesWaiting(); }
        bool WaitReadable(std::chrono::milliseconds t) override { return inner->WaitReadable(t); }
        bool LineLost() override { return inner->LineLost(); }
        int Descriptor() const override { return inner->Descriptor(); }
    };

    INotifier& notifier_;
    CSerialPort serial_;
    CountingPort countingPort_; // wraps the serial port or the port given to SetPort
    std::string currentPort_;
    CRxBuffer rx_;
    CTxBuffer tx_;
    std::vector<CControllerMsg*> pending_;
    int transactionDepth_ = 0;
    ITransactionWaitObserver* waitObserver_ = nullptr;
    int quietDepth_ = 0;
    int quietErrors_ = 0;
    int transactionErrors_ = 0;
    IFrameTrace* trace_ = nullptr;
    CUnansweredGets unansweredGets_;
};

} // namespace halcyra
