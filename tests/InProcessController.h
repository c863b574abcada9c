#pragma once
// A simulated controller answering on a memory port, in the test's own
// thread: each request written is handled at once, and a test may keep some
// requests unanswered.

#include "RecordingNotifier.h"
#include "link/ControllerLink.h"
#include "link/MemoryPort.h"
#include "sim/SimController.h"

#include <functional>

namespace halcyra::test {

struct InProcessController {
    explicit InProcessController(sim::SimSettings settings = {}) : link(notifier), controller(std::move(settings))
    {
        link.SetPort(&port);
        port.OnWait([this] { AnswerWritten(); });
    }

    void AnswerWritten()
    {
        for (std::uint8_t byte : port.TakeWritten()) {
            if (!assembler.FeedByte(byte))
                continue;
            assembler.ExposeHeader();
            sim::Request request;
            request.packetCode = assembler.Header(0);
            request.messageId = assembler.Header(1);
            for (int k = 0; k < assembler.Count() - 3; ++k)
                request.body.push_back(assembler.Peek(static_cast<std::size_t>(k)));
            assembler.Reset();
            ++requests;
            if (unanswered && unanswered(request))
                continue;
            if (auto reply = controller.Handle(request, now))
                port.Feed(damaged && damaged(request) ? Damaged(sim::CSimController::FrameReply(*reply))
                                                      : sim::CSimController::FrameReply(*reply));
            FeedUnasked();
        }
    }

    // Moves the controller's time on; what it sends unasked meanwhile arrives.
    void Advance(sim::Clock::duration step)
    {
        now += step;
        controller.Tick(now);
        FeedUnasked();
    }
    void FeedUnasked()
    {
        for (const sim::Bytes& body : controller.TakeUnasked())
            port.Feed(sim::CSimController::FrameReply(body));
    }

    // A reply whose first byte after the header is changed on the line: its
    // checksum no longer holds.
    static sim::Bytes Damaged(sim::Bytes frame)
    {
        constexpr std::size_t kFirstAfterHeader = 5; // DLE, packet code, id, sub-code, operation
        if (frame.size() > kFirstAfterHeader && frame[kFirstAfterHeader] != 0x10)
            frame[kFirstAfterHeader] = frame[kFirstAfterHeader] == 0x55 ? 0x56 : 0x55;
        return frame;
    }

    CRecordingNotifier notifier;
    CMemoryPort port;
    CControllerLink link;
    sim::CSimController controller;
    CRxBuffer assembler;
    sim::Clock::time_point now{};
    int requests = 0;
    // Requests for which this is true go unanswered.
    std::function<bool(const sim::Request&)> unanswered;
    // Requests for which this is true are answered with a damaged reply.
    std::function<bool(const sim::Request&)> damaged;
};

} // namespace halcyra::test
