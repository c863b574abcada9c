#include "sim/SimServer.h"

#include "sim/TraceReplay.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <iostream>
#include <limits.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace halcyra::sim {

namespace {

std::string Hex(const Bytes& bytes, std::size_t max = 48)
{
    std::string s;
    char buf[4];
    for (std::size_t i = 0; i < bytes.size() && i < max; ++i) {
        std::snprintf(buf, sizeof buf, "%02X ", bytes[i]);
        s += buf;
    }
    if (bytes.size() > max)
        s += "...";
    return s;
}

Clock::duration ByteTime(unsigned baud)
{
    // 8N1: ten bit times per byte.
    return baud == 0 ? Clock::duration::zero()
                     : std::chrono::duration_cast<Clock::duration>(std::chrono::nanoseconds(10'000'000'000LL / baud));
}

// Makes linkPath a symbolic link to device. An existing path is replaced only
// when it is a symbolic link to a device that is gone: one left behind by a
// simulator that ended without removing it. Anything else may belong to
// someone else, a running simulator included.
bool CreateLink(const std::string& linkPath, const std::string& device, std::string& error)
{
    struct stat st {};
    if (::lstat(linkPath.c_str(), &st) == 0) {
        char target[PATH_MAX];
        const ssize_t n = S_ISLNK(st.st_mode) ? ::readlink(linkPath.c_str(), target, sizeof target - 1) : -1;
        const std::string pointsTo = n >= 0 ? std::string(target, static_cast<std::size_t>(n)) : std::string();
        const bool stale = pointsTo.starts_with("/dev/") && ::stat(linkPath.c_str(), &st) != 0 && errno == ENOENT;
        if (!stale) {
            error = pointsTo.empty() ? linkPath + " exists and is not a link; remove it or choose another path"
                                     : linkPath + " already links to " + pointsTo +
                                           ", which is in use; remove it or choose another path";
            return false;
        }
        if (::unlink(linkPath.c_str()) != 0 && errno != ENOENT) {
            error = "cannot remove the stale link " + linkPath + ": " + std::strerror(errno);
            return false;
        }
    }
    // symlink never replaces: if another simulator has just made the link, this fails.
    if (::symlink(device.c_str(), linkPath.c_str()) != 0) {
        error = "cannot create the link " + linkPath + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

// Removes linkPath if it still points at device.
void RemoveLink(const std::string& linkPath, const std::string& device)
{
    char target[PATH_MAX];
    const ssize_t n = ::readlink(linkPath.c_str(), target, sizeof target - 1);
    if (n >= 0 && std::string(target, static_cast<std::size_t>(n)) == device)
        ::unlink(linkPath.c_str());
}

} // namespace

CSimServer::CSimServer(SimOptions options)
    : options_(std::move(options)), controller_(options_.settings), random_(options_.faults.seed)
{
}

CSimServer::~CSimServer()
{
    Stop();
    if (linkCreated_)
        RemoveLink(options_.linkPath, devicePath_);
    for (int fd : {masterFd_, slaveFd_, wakeFds_[0], wakeFds_[1]})
        if (fd >= 0)
            ::close(fd);
}

bool CSimServer::LoadSetup(std::string& error)
{
    if (setupLoaded_ || options_.setupFile.empty())
        return true;
    CParamStore store;
    if (!store.LoadFile(options_.setupFile, error))
        return false;
    controller_.Params().ReplaceValues(store);
    setupLoaded_ = true;
    return true;
}

bool CSimServer::Open(std::string& error)
{
    if (!LoadSetup(error))
        return false;
    for (const std::string& a : options_.assignments)
        if (!controller_.Params().ApplyAssignment(a, error))
            return false;

    masterFd_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (masterFd_ < 0 || ::grantpt(masterFd_) != 0 || ::unlockpt(masterFd_) != 0) {
        error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    char name[128];
    if (::ptsname_r(masterFd_, name, sizeof name) != 0) {
        error = std::string("cannot name the pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    devicePath_ = name;
    slaveFd_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slaveFd_ < 0) {
        error = "cannot open " + devicePath_ + ": " + std::strerror(errno);
        return false;
    }
    // Raw from the start, so nothing is echoed or translated before a client
    // applies its own settings.
    termios tio{};
    ::tcgetattr(slaveFd_, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(slaveFd_, TCSANOW, &tio);
    ::fcntl(masterFd_, F_SETFL, ::fcntl(masterFd_, F_GETFL) | O_NONBLOCK);
    if (::pipe2(wakeFds_, O_CLOEXEC | O_NONBLOCK) != 0) {
        error = std::string("cannot create a pipe: ") + std::strerror(errno);
        return false;
    }
    if (!options_.linkPath.empty()) {
        if (!CreateLink(options_.linkPath, devicePath_, error))
            return false;
        linkCreated_ = true;
    }
    return true;
}

void CSimServer::Start()
{
    stopRequested_ = false;
    thread_ = std::thread([this] { Loop(stopRequested_); });
}

void CSimServer::Stop()
{
    stopRequested_ = true;
    if (wakeFds_[1] >= 0) {
        char c = 0;
        [[maybe_unused]] auto n = ::write(wakeFds_[1], &c, 1);
    }
    if (thread_.joinable())
        thread_.join();
}

void CSimServer::Run(const std::atomic<bool>& stopFlag) { Loop(stopFlag); }

void CSimServer::WithController(const std::function<void(CSimController&)>& f)
{
    std::lock_guard<std::mutex> lock(mutex_);
    f(controller_);
}

bool CSimServer::Chance(double share)
{
    if (share <= 0)
        return false;
    if (share >= 1)
        return true;
    return std::uniform_real_distribution<double>(0.0, 1.0)(random_) < share;
}

void CSimServer::Log(const std::string& line) const
{
    if (options_.verbose)
        std::cerr << "halcyra-sim: " << line << std::endl;
}

void CSimServer::SetTrace(IFrameTrace* trace)
{
    trace_ = trace;
    if (!trace) {
        assembler_.OnPassedOver({});
        return;
    }
    assembler_.OnPassedOver([this](const PassedOverInput& input) {
        Trace(TraceDirection::Received, TraceVerdict::Discarded, input.bytes, input.Describe());
    });
}

void CSimServer::Trace(TraceDirection direction, TraceVerdict verdict, Bytes wire, std::string detail) const
{
    if (!trace_)
        return;
    // Packet code, message id, sub-code and operation, as far as the frame has them.
    Bytes header;
    const bool frame = !wire.empty() && wire[0] == 0x10 && verdict != TraceVerdict::Discarded;
    for (std::size_t i = 1; frame && i < wire.size() && header.size() < 4; ++i) {
        if (wire[i] == 0x10 && i + 1 < wire.size() && wire[i + 1] != 0x10)
            break;
        header.push_back(wire[i]);
        if (wire[i] == 0x10)
            ++i;
    }
    trace_->OnFrame({std::chrono::system_clock::now(), direction, verdict, std::move(header), std::move(wire),
                     std::move(detail)});
}

void CSimServer::Loop(const std::atomic<bool>& stopFlag)
{
    while (!stopFlag) {
        Clock::time_point now = Clock::now();
        ProcessDueFrames(now);
        // A tick may have the controller send frames unasked: they go out now.
        Clock::time_point wake = TickController(now);
        Clock::time_point nextWrite = WriteDue(now);
        if (!dueFrames_.empty() && dueFrames_.front().due < wake)
            wake = dueFrames_.front().due;
        if (nextWrite < wake)
            wake = nextWrite;

        pollfd fds[2] = {{masterFd_, POLLIN, 0}, {wakeFds_[0], POLLIN, 0}};
        auto wait = std::chrono::duration_cast<std::chrono::nanoseconds>(wake - Clock::now());
        if (wait.count() < 0)
            wait = std::chrono::nanoseconds(0);
        timespec ts{static_cast<time_t>(wait.count() / 1'000'000'000), static_cast<long>(wait.count() % 1'000'000'000)};
        int r = ::ppoll(fds, 2, &ts, nullptr);
        if (r < 0 && errno != EINTR)
            break;
        if (r > 0 && (fds[1].revents & POLLIN)) {
            char buf[16];
            while (::read(wakeFds_[0], buf, sizeof buf) > 0) {
            }
        }
        if (r > 0 && (fds[0].revents & POLLIN))
            ReadInput(Clock::now());
    }
}

Clock::time_point CSimServer::TickController(Clock::time_point now)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (now >= controller_.NextTickDue())
        controller_.Tick(now);
    QueueUnasked(now);
    return controller_.NextTickDue();
}

void CSimServer::ReadInput(Clock::time_point now)
{
    const Clock::duration byteTime = ByteTime(options_.faults.paceBaud);
    std::uint8_t buf[512];
    for (;;) {
        ssize_t n = ::read(masterFd_, buf, sizeof buf);
        if (n <= 0)
            return;
        for (ssize_t i = 0; i < n; ++i) {
            // Paced: a byte has arrived only when the line could have carried it.
            Clock::time_point arrival = now;
            if (byteTime != Clock::duration::zero())
                arrival = std::max(now, lastArrival_ + byteTime);
            lastArrival_ = arrival;
            if (!assembler_.FeedByte(buf[i]))
                continue;
            assembler_.ExposeHeader();
            const FrameCheck check = assembler_.Check();
            Trace(TraceDirection::Received, check == FrameCheck::Good ? TraceVerdict::Accepted : TraceVerdict::Rejected,
                  assembler_.FrameWire(), check == FrameCheck::Good ? "" : FrameCheckText(check));
            if (check == FrameCheck::Good) {
                dueFrames_.push_back({arrival, TakeRequest(assembler_)});
            } else {
                Log("discarded a damaged request frame");
            }
            assembler_.Reset();
        }
    }
}

void CSimServer::ProcessDueFrames(Clock::time_point now)
{
    while (!dueFrames_.empty() && dueFrames_.front().due <= now) {
        Request req = std::move(dueFrames_.front().request);
        dueFrames_.pop_front();
        if (replay_) {
            Replay(req, now);
            continue;
        }
        std::lock_guard<std::mutex> lock(mutex_);
        std::optional<Bytes> reply = controller_.Handle(req, now);
        Log("request " + Hex(Bytes{req.packetCode, req.messageId}) + Hex(req.body));
        if (reply)
            QueueReply(*reply, now);
        QueueUnasked(now);
    }
}

void CSimServer::SetReplay(CTraceReplay* replay, std::function<void(const std::string&)> onUnmatched)
{
    replay_ = replay;
    onUnmatched_ = std::move(onUnmatched);
}

void CSimServer::Replay(const Request& request, Clock::time_point now)
{
    const auto replies = replay_->Answer(request);
    if (!replies) {
        if (onUnmatched_)
            onUnmatched_(CTraceReplay::Describe(request));
        return;
    }
    if (replies->empty())
        Trace(TraceDirection::Sent, TraceVerdict::Withheld, {}, "no reply recorded");
    for (const Bytes& frame : *replies)
        out_.push_back({now, frame, 0, "replayed", {}});
}

void CSimServer::QueueReply(const Bytes& body, Clock::time_point now)
{
    const FaultSettings& f = options_.faults;
    Bytes frame = CSimController::FrameReply(body);
    if (f.silent || Chance(f.dropShare)) {
        Log("reply withheld");
        Trace(TraceDirection::Sent, TraceVerdict::Withheld, frame, f.silent ? "silent" : "dropped");
        return;
    }
    std::string note;
    if (Chance(f.corruptShare)) {
        // Damage a body byte but keep the framing intact, so the client sees a
        // complete frame whose checksum does not hold.
        std::vector<std::size_t> candidates;
        for (std::size_t i = 2; i + 2 < frame.size(); ++i)
            if (frame[i] != 0x10 && frame[i - 1] != 0x10 && (frame[i] ^ 0x01) != 0x10)
                candidates.push_back(i);
        if (!candidates.empty()) {
            std::size_t pick = candidates[std::uniform_int_distribution<std::size_t>(0, candidates.size() - 1)(random_)];
            frame[pick] ^= 0x01;
            Log("reply corrupted");
            note = "corrupted";
        }
    }
    Bytes bytes;
    for (int i = 0; i < f.noiseBytes; ++i) {
        auto b = static_cast<std::uint8_t>(std::uniform_int_distribution<int>(0, 255)(random_));
        bytes.push_back(b == 0x10 ? 0x55 : b); // noise never opens a frame
    }
    bytes.insert(bytes.end(), frame.begin(), frame.end());
    Clock::time_point notBefore = now;
    if (f.delay.count() > 0 && Chance(f.delayShare)) {
        notBefore += f.delay;
        note += std::string(note.empty() ? "" : ", ") + "delayed " + std::to_string(f.delay.count()) + " ms";
    }
    Log("reply " + Hex(frame));
    out_.push_back({notBefore, std::move(bytes), static_cast<std::size_t>(f.noiseBytes), std::move(note), {}});
}

void CSimServer::QueueUnasked(Clock::time_point now)
{
    // The line's faults (drops, damage, noise, delays) strike these as they do replies.
    for (const Bytes& body : controller_.TakeUnasked())
        QueueReply(body, now);
}

Clock::time_point CSimServer::WriteDue(Clock::time_point now)
{
    const Clock::duration byteTime = ByteTime(options_.faults.paceBaud);
    const Clock::time_point never = Clock::time_point::max();
    while (!out_.empty()) {
        OutChunk& chunk = out_.front();
        if (chunk.notBefore > now)
            return chunk.notBefore;
        std::size_t count = chunk.bytes.size();
        if (byteTime != Clock::duration::zero()) {
            // A byte is delivered when its last bit has crossed the line.
            if (wireFree_ < chunk.notBefore)
                wireFree_ = chunk.notBefore;
            auto elapsed = now - wireFree_;
            auto fits = elapsed < Clock::duration::zero() ? 0 : elapsed / byteTime;
            count = std::min<std::size_t>(count, static_cast<std::size_t>(fits));
            if (count == 0)
                return wireFree_ + byteTime;
        }
        ssize_t n = ::write(masterFd_, chunk.bytes.data(), count);
        if (n <= 0)
            return now + std::chrono::milliseconds(5); // line full: try again shortly
        if (byteTime != Clock::duration::zero())
            wireFree_ += byteTime * n;
        if (trace_)
            chunk.written.insert(chunk.written.end(), chunk.bytes.begin(), chunk.bytes.begin() + n);
        chunk.bytes.erase(chunk.bytes.begin(), chunk.bytes.begin() + n);
        if (chunk.bytes.empty()) {
            if (trace_) {
                // Noise goes out ahead of the frame; the trace shows it apart.
                const auto noiseEnd = chunk.written.begin() + static_cast<std::ptrdiff_t>(chunk.noise);
                if (chunk.noise > 0)
                    Trace(TraceDirection::Sent, TraceVerdict::Sent, Bytes(chunk.written.begin(), noiseEnd), "noise");
                Trace(TraceDirection::Sent, TraceVerdict::Sent, Bytes(noiseEnd, chunk.written.end()), chunk.note);
            }
            out_.pop_front();
        }
    }
    return never;
}

} // namespace halcyra::sim
