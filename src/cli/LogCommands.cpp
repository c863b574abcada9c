// log: the controller's data logging from the command line: the status, the
// start, stop and clear commands, the internal log's download, and the Data
// logging command's configuration upload with external logging into a file.

#include "cli/Commands.h"
#include "cli/Interrupt.h"
#include "logging/ExternalLog.h"
#include "logging/InternalLogging.h"
#include "logging/LogDownload.h"
#include "logging/LoggingConfiguration.h"
#include "link/Files.h"
#include "params/Param.h"
#include "params/ParamFile.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <deque>
#include <ostream>

namespace halcyra::cli {

namespace {

using Clock = std::chrono::steady_clock;

// The paths the command was given, handed out as the command asks for files.
class CGivenFiles final : public IFileChooser {
public:
    explicit CGivenFiles(std::deque<std::string> paths) : paths_(std::move(paths)) {}
    std::optional<std::string> ChooseFile(const FileRequest&) override
    {
        if (paths_.empty())
            return std::nullopt;
        std::string path = paths_.front();
        paths_.pop_front();
        return path;
    }

private:
    std::deque<std::string> paths_;
};

// The context's file chooser for as long as this lives.
class CFilesFor {
public:
    CFilesFor(CPageContext& context, IFileChooser& files) : context_(context), previous_(context.files)
    {
        context_.files = &files;
    }
    ~CFilesFor() { context_.files = previous_; }
    CFilesFor(const CFilesFor&) = delete;
    CFilesFor& operator=(const CFilesFor&) = delete;

private:
    CPageContext& context_;
    IFileChooser* previous_;
};

bool ParseCount(const std::string& text, std::uint32_t& value)
{
    char* end = nullptr;
    errno = 0;
    const unsigned long n = std::strtoul(text.c_str(), &end, 10);
    if (text.empty() || text[0] == '-' || *end != '\0' || errno != 0 || n == 0 || n > 0xFFFFFFFFul)
        return false;
    value = static_cast<std::uint32_t>(n);
    return true;
}

bool ParseSeconds(const std::string& text, double& value)
{
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0' && std::isfinite(value) && value > 0 && value < 1e7;
}

int Download(CommandContext& c, const std::string& path)
{
    LogDownloadOptions options;
    options.progress = ChunkProgress(c.err);
    const LogDownloadResult result = DownloadDataLog(c.link, path, options);
    return result.outcome == LogDownloadOutcome::Saved && result.setupCopySaved ? kExitOk : kExitFailed;
}

struct ConfigureArgs {
    std::string configuration;
    std::string output;
    std::uint32_t records = 0;
    double seconds = 0;
};

// Whether the configuration file asks for the log on the PC; read without
// boxes, before anything is sent (the command then checks it properly).
bool AsksForExternalLog(const std::string& path)
{
    const ParamTextFile file = ReadParamTextFile(path);
    CUIntParam location("DblLocation");
    return file.result == ParamFileRead::Read && location.ReadFromText(file.text) &&
           location.value == kExternalLocation;
}

// Streams records into the log until the limit, the time or an interruption.
int Stream(CommandContext& c, CExternalLog& log, const ConfigureArgs& args)
{
    CGracefulInterrupt interrupt;
    const Clock::time_point start = Clock::now();
    const Clock::time_point end =
        args.seconds > 0 ? start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(args.seconds))
                         : Clock::time_point::max();
    log.LimitRecords(args.records);
    log.Start(start);
    // Waits on the port; the slice bounds how long an interruption goes unnoticed.
    constexpr std::chrono::milliseconds kSlice{250};
    std::uint64_t shownSeconds = 0;
    for (Clock::time_point now = start; !interrupt.Requested() && !log.LimitReached() && now < end;
         now = Clock::now()) {
        Clock::time_point wake = std::min(end, now + kSlice);
        if (const auto deadline = log.NextDeadline())
            wake = std::min(wake, *deadline);
        log.TakeFramesUntil(wake);
        // The count once a second, as a long transfer shows its progress.
        const std::uint64_t seconds = log.ElapsedSeconds(Clock::now());
        if (seconds != shownSeconds) {
            shownSeconds = seconds;
            c.err << seconds << " s: " << log.RecordsSaved() << " records saved, " << log.RecordsDropped()
                  << " dropped\n"
                  << std::flush;
        }
    }
    log.Stop();
    log.Done();
    c.out << "Records Saved: " << log.RecordsSaved() << "\n"
          << "Records Dropped: " << log.RecordsDropped() << "\n";
    return kExitOk;
}

} // namespace

int CmdLogStatus(CommandContext& c)
{
    const std::optional<LogStatus> status = ReadLogStatus(c.link, true);
    if (!status)
        return Failed(c, "no answer to the logging status");
    if (c.json) {
        (*c.json)["active"] = status->active;
        (*c.json)["used"] = status->Used();
        (*c.json)["total"] = status->Total();
    } else {
        c.out << "Active: " << (status->active ? "yes" : "no") << "\n"
              << "Used: " << status->Used() << " of " << status->Total() << "\n";
    }
    return kExitOk;
}

int CmdLogCommand(CommandContext& c)
{
    const std::string_view name = c.command.name;
    const std::uint32_t command = name.ends_with("start")  ? wire::logging::kStartCommand
                                  : name.ends_with("stop") ? wire::logging::kStopCommand
                                                           : wire::logging::kClearCommand;
    SendLogCommand(c.link, command);
    return kExitOk;
}

int CmdLogDownload(CommandContext& c) { return Download(c, c.args.operands[0]); }

int CmdLogConfigure(CommandContext& c)
{
    ConfigureArgs args;
    args.configuration = c.args.operands[0];
    args.output = c.args.Value("--output").value_or("");
    if (const auto records = c.args.Value("--records"); records && !ParseCount(*records, args.records))
        return UsageError(c, "--records takes a whole number of at least 1");
    if (const auto seconds = c.args.Value("--seconds"); seconds && !ParseSeconds(*seconds, args.seconds))
        return UsageError(c, "--seconds takes a number of seconds above 0");
    if (args.output.empty() && AsksForExternalLog(args.configuration)) {
        c.err << "halcyra: " << EscapedName(args.configuration)
              << " streams the log to the PC: name its file with --output LOG.dbg\n";
        return kExitUsage;
    }
    std::deque<std::string> paths{args.configuration};
    if (!args.output.empty())
        paths.push_back(args.output);
    CGivenFiles files(std::move(paths));
    CFilesFor given(c.pages, files);
    int status = kExitFailed;
    LoggingWindows windows;
    windows.internal = [&] { status = CmdLogStatus(c); };
    windows.external = [&](const ExternalLogPlan& plan) {
        std::unique_ptr<CExternalLog> log = CExternalLog::Prepare(c.pages, plan);
        if (log)
            status = Stream(c, *log, args);
    };
    ConfigureDataLogging(c.pages, windows, ChunkProgress(c.err));
    return status;
}

} // namespace halcyra::cli
