#pragma once
// Writes a frame trace as readable text, one frame per line:
//   12:04:31.517 TX sent [BE 40 14 00] 10 BE 40 14 00 76 74 74 06 01 5B 10 03 "vtt"
//   12:04:31.529 RX accepted [BF 40 14 00] 10 BF 40 14 00 ... 10 03 "vtt: 5"
//   12:04:32.610 RX discarded (noise, in state "ground") 55 A2 03

#include "link/FrameTrace.h"

#include <cstdio>
#include <memory>
#include <mutex>
#include <string>

namespace halcyra {

class CTraceFile final : public IFrameTrace {
public:
    // Creates or empties the file; nullptr with the system's reason in error
    // when it cannot. program names the writer in the file's first line.
    static std::unique_ptr<CTraceFile> Open(const std::string& path, std::string& error,
                                            const std::string& program = "halcyra");
    ~CTraceFile() override;
    CTraceFile(const CTraceFile&) = delete;
    CTraceFile& operator=(const CTraceFile&) = delete;

    // Writes and flushes one line, so a trace survives the program's end.
    void OnFrame(const TraceRecord& record) override;

    static std::string FormatLine(const TraceRecord& record);

private:
    explicit CTraceFile(std::FILE* file) : file_(file) {}
    std::FILE* file_;
    std::mutex mutex_;
};

} // namespace halcyra
