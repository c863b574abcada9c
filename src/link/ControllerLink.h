#pragma once
// The process-wide link to the controller: the port, the two frame buffers
// and the list of messages waiting for replies.

#include "link/ControllerMsg.h"
#include "link/FrameTrace.h"
#include "link/Framing.h"
#include "link/SerialPort.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace halcyra {

class INotifier;

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

class CControllerLink {
public:
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

    // Reports every frame sent and received, and the input passed over, to
    // trace (not owned; nullptr stops tracing).
    void SetTrace(IFrameTrace* trace);

    std::size_t PendingCount() const { return pending_.size(); }

    // Counters for measurements.
    std::uint64_t BytesSent() const { return countingPort_.sent; }
    std::uint64_t BytesReceived() const { return countingPort_.received; }
    void ResetCounters() { countingPort_.sent = countingPort_.received = 0; }

private:
    enum class TryEnd { Accepted, Rejected, TimedOut };
    TryEnd PollUntil(CControllerMsg& msg, std::chrono::steady_clock::time_point deadline);
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
    };

    INotifier& notifier_;
    CSerialPort serial_;
    CountingPort countingPort_; // wraps the serial port or the port given to SetPort
    std::string currentPort_;
    CRxBuffer rx_;
    CTxBuffer tx_;
    std::vector<CControllerMsg*> pending_;
    IFrameTrace* trace_ = nullptr;
};

} // namespace halcyra
