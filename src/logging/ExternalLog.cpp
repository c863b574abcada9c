#include "logging/ExternalLog.h"

#include "link/ControllerLink.h"
#include "link/Notifier.h"
#include "logging/InternalLogging.h"
#include "logging/LogDownload.h"
#include "pages/PageContext.h"

#include <algorithm>
#include <thread>

namespace halcyra {

using namespace wire::logging;

void SendLogOutput(CControllerLink& link, std::uint32_t setting) { link.SendOnly(CLogOutputSetMsg(setting)); }

CExternalLog::CExternalLog(CControllerLink& link, ExternalLogPlan plan, std::string logPath)
    : link_(link), plan_(std::move(plan)), logPath_(std::move(logPath)), record_(kRecordOp)
{
}

CExternalLog::~CExternalLog()
{
    link_.Unregister(record_);
    CloseFile();
}

std::unique_ptr<CExternalLog> CExternalLog::Prepare(CPageContext& context, ExternalLogPlan plan)
{
    CControllerLink& link = context.link;
    const std::uint32_t previous = plan.previousOutput;
    // The controller was set to stream to the PC for this window; without
    // the window it gets its previous setting back.
    auto fail = [&](const char* text, const char* caption) {
        link.Notifier().Notify(text, caption, MsgButtons::Ok, MsgIcon::Stop);
        SendLogOutput(link, previous);
        return nullptr;
    };
    const std::optional<std::string> path = context.files->ChooseFile(LogFileRequest(context.directories));
    if (!path)
        return fail(kLogFileNotOpenText, kExternalLoggingCaption);
    auto log = std::make_unique<CExternalLog>(link, std::move(plan), *path);
    if (!log->file_.Open(*path))
        return fail(kLogFileOpenFailedText, kLogDownloadError);
    log->fileOpen_ = true;
    if (!log->AwaitHeader()) {
        // Nothing of the log is kept: a file that was there stays as it was.
        log->fileOpen_ = false;
        return fail(kLogHeaderErrorText, kExternalLoggingCaption);
    }
    return log;
}

bool CExternalLog::AwaitHeader()
{
    CDataLogBlockMsg header(kHeaderOp);
    link_.Register(header);
    const Clock::time_point deadline = Clock::now() + kHeaderWait;
    for (Clock::time_point now = Clock::now(); !header.Finished() && now < deadline; now = Clock::now()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now);
        link_.AwaitReply(header, static_cast<std::uint32_t>(std::max<long long>(1, left.count())), 1, false);
        // A frame that cannot belong to the header spoils it: wait for it whole.
        if (header.GetState() == CControllerMsg::Rejected)
            header.Restart();
    }
    link_.Unregister(header);
    if (!header.Finished())
        return false;
    headerBytes_ = header.ReceivedBytes();
    return Append(header.Data());
}

bool CExternalLog::Append(std::span<const std::uint8_t> bytes)
{
    if (!fileOpen_ || writeFailed_)
        return false;
    // Flushed record by record: what has been counted is in the file.
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_.File()) == bytes.size() && std::fflush(file_.File()) == 0)
        return true;
    writeFailed_ = true;
    link_.Notifier().Notify(kLogWriteFailedText, kExternalLoggingCaption, MsgButtons::Ok, MsgIcon::Stop);
    return false;
}

void CExternalLog::Start(Clock::time_point now)
{
    if (streaming_ || stopped_ || done_)
        return;
    streaming_ = true;
    everStarted_ = true;
    started_ = now;
    saved_ = dropped_ = 0;
    record_.Restart();
    abandonedSeen_ = record_.AbandonedItems();
    phase_ = Phase::Idle;
    link_.Register(record_);
    SendLogCommand(link_, kStartCommand);
}

void CExternalLog::TakeWaitingFrames(Clock::time_point now)
{
    if (!streaming_)
        return;
    // A frame matching no message is passed over and the next one read; the
    // port is left once it has nothing more.
    for (;;) {
        record_.SetState(CControllerMsg::Waiting);
        if (link_.ReceiveStep())
            AfterFrame(now);
        else if (link_.Port().BytesWaiting() == 0)
            break;
    }
    Expire(now);
}

void CExternalLog::TakeFramesUntil(Clock::time_point deadline)
{
    if (!streaming_)
        return;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() > 0 && link_.Port().BytesWaiting() == 0)
        link_.Port().WaitReadable(left);
    TakeWaitingFrames(Clock::now());
    while (streaming_ && FrameUnderWay() && Clock::now() + kFrameGather <= deadline) {
        std::this_thread::sleep_for(kFrameGather);
        TakeWaitingFrames(Clock::now());
    }
}

bool CExternalLog::FrameUnderWay() { return link_.Rx().AssemblyState() != LexState::Ground; }

void CExternalLog::AfterFrame(Clock::time_point now)
{
    if (record_.GetState() == CControllerMsg::Rejected) {
        // A damaged frame, or one no record can hold: the record it belongs
        // to is lost, and so are the rest of its frames.
        if (phase_ != Phase::Skipping)
            DropRecord(now, Phase::Skipping);
        return;
    }
    if (record_.GetState() != CControllerMsg::Accepted)
        return;
    // A first block in the middle of a record: the rest of that record never came.
    const int abandoned = record_.AbandonedItems() - abandonedSeen_;
    abandonedSeen_ = record_.AbandonedItems();
    dropped_ += static_cast<std::uint32_t>(abandoned);
    if (record_.CurrentBlock() == 1)
        phaseDeadline_ = now + kRecordWait;
    if (!record_.Finished()) {
        phase_ = Phase::Collecting;
        return;
    }
    // Past the limit the rest of the stream is passed over.
    if (!LimitReached()) {
        if (Append(record_.Data()))
            ++saved_;
        else
            ++dropped_;
    }
    record_.Restart();
    phase_ = Phase::Idle;
}

void CExternalLog::DropRecord(Clock::time_point now, Phase next)
{
    ++dropped_;
    record_.Restart();
    phase_ = next;
    phaseDeadline_ = now + kRecordWait;
}

void CExternalLog::Expire(Clock::time_point now)
{
    if (phase_ == Phase::Idle || now < phaseDeadline_)
        return;
    if (phase_ == Phase::Collecting) {
        DropRecord(now, Phase::Idle);
        return;
    }
    phase_ = Phase::Idle;
}

std::optional<CExternalLog::Clock::time_point> CExternalLog::NextDeadline() const
{
    if (!streaming_ || phase_ == Phase::Idle)
        return std::nullopt;
    return phaseDeadline_;
}

void CExternalLog::Stop()
{
    if (!streaming_)
        return;
    streaming_ = false;
    stopped_ = true;
    link_.Unregister(record_);
    // The file first: what was saved stays saved whatever the port does next.
    CloseFile();
    SendLogCommand(link_, kStopCommand);
}

void CExternalLog::Done()
{
    if (done_)
        return;
    done_ = true;
    streaming_ = false;
    link_.Unregister(record_);
    CloseFile();
    SendLogOutput(link_, plan_.previousOutput);
}

void CExternalLog::CloseFile()
{
    if (!fileOpen_)
        return;
    fileOpen_ = false;
    if (!file_.Commit())
        link_.Notifier().Notify(kLogFileOpenFailedText, kLogDownloadError, MsgButtons::Ok, MsgIcon::Stop);
}

std::uint64_t CExternalLog::ElapsedSeconds(Clock::time_point now) const
{
    if (!everStarted_ || now < started_)
        return 0;
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::seconds>(now - started_).count());
}

} // namespace halcyra
