#include "setup/ServiceReport.h"

#include "link/AtomicFile.h"
#include "link/ControllerLink.h"
#include "link/Files.h"
#include "link/Format.h"
#include "link/SerialPort.h"
#include "params/ParamSet.h"
#include "setup/BlockTransfer.h"
#include "setup/Faults.h"
#include "setup/InformationModel.h"
#include "setup/SetupFiles.h"
#include "setup/ZipArchive.h"

#include <ctime>
#include <deque>
#include <filesystem>
#include <optional>

namespace halcyra {

namespace {

constexpr const char* kReportEntry = "report.txt";
constexpr const char* kInformationEntry = "information.txt";
constexpr const char* kFaultsEntry = "faults.txt";
constexpr const char* kSetupEntry = "block5-setup.cfg";
constexpr const char* kAdvancedEntry = "block6-advanced-setup.cfg";
constexpr const char* kDeadZoneEntry = "block8-deadzone-report.txt";
constexpr const char* kTraceEntry = "session.trace";
constexpr std::uint8_t kDeadZoneReportBlock = 8;

using Entry = ArchiveEntry;

std::optional<std::string> DownloadBlock(CControllerLink& link, std::uint8_t block)
{
    CBlockTransfer transfer(link);
    std::string bytes;
    if (!transfer.DownloadToMemory(block, bytes))
        return std::nullopt;
    return bytes;
}

std::string Describe(const std::string& device)
{
    CSerialPortList ports;
    ports.Enumerate();
    std::error_code ec;
    const auto real = std::filesystem::canonical(device, ec);
    for (const SerialPortInfo& port : ports.Ports()) {
        std::error_code ec2;
        if (port.device == device || (!ec && std::filesystem::canonical(port.device, ec2) == real))
            return port.description;
    }
    return {};
}

std::string Now()
{
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    LocalTimeOf(t, local);
    char text[64];
    return std::string(text, std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S %z", &local));
}

} // namespace

std::vector<std::string> ServiceReportEntries()
{
    return {kReportEntry, kInformationEntry, kFaultsEntry, kSetupEntry, kAdvancedEntry, kDeadZoneEntry, kTraceEntry};
}

ServiceReportResult WriteServiceReport(CControllerLink& link, const std::string& path,
                                       const ServiceReportInputs& inputs, const ProgressCallback& progress)
{
    ServiceReportResult result;
    std::deque<Entry> entries;
    constexpr std::uint32_t kParts = 6;
    auto step = [&](std::uint32_t done) {
        if (progress)
            progress(done, kParts);
    };
    step(0);
    {
        CControllerLink::CQuietErrors quiet(link);
        CParamSet set;
        CInformationModel info(set);
        set.GetAll(link);
        info.Refresh(link);
        std::string text;
        for (const auto& line : info.Lines())
            text += std::string(line.label) + " " + (line.read ? *line.text : std::string("?")) + "\r\n";
        if (!info.AllRead())
            result.missing.push_back("some of the Information page");
        entries.push_back({kInformationEntry, text});
        step(1);

        CFaultList faults;
        if (faults.Refresh(link))
            entries.push_back({kFaultsEntry, FaultReportText(link, faults.Entries())});
        else
            result.missing.push_back("the fault report");
        step(2);

        const std::pair<std::uint8_t, const char*> blocks[] = {
            {kSetupBlock, kSetupEntry}, {kAdvancedSetupBlock, kAdvancedEntry}, {kDeadZoneReportBlock, kDeadZoneEntry}};
        std::uint32_t done = 2;
        for (const auto& [block, name] : blocks) {
            if (auto bytes = DownloadBlock(link, block))
                entries.push_back({name, std::move(*bytes)});
            else
                result.missing.push_back("block " + std::to_string(block));
            step(++done);
        }
    }
    if (!inputs.tracePath.empty()) {
        std::string bytes;
        if (ReadWholeFile(inputs.tracePath, bytes) == FileRead::Read)
            entries.push_back({kTraceEntry, std::move(bytes)});
        else
            result.missing.push_back("the session trace");
    }
    const std::string port = link.CurrentPort();
    const std::string description = inputs.portDescription.empty() ? Describe(port) : inputs.portDescription;
    std::string report = "Halcyra service report\r\n";
    report += "Created: " + Now() + "\r\n";
    report += "Program: " + inputs.program + "\r\n";
    report += "Port: " + port + (link.IsOpen() ? "" : " (not open)") + "\r\n";
    report += "Port description: " + (description.empty() ? std::string("unknown") : description) + "\r\n";
    report += "Session trace: " + (inputs.tracePath.empty() ? std::string("none recorded") : inputs.tracePath) + "\r\n";
    report += "Files:";
    for (const Entry& e : entries)
        report += " " + e.name;
    report += "\r\n";
    for (const std::string& m : result.missing)
        report += "Missing: " + m + "\r\n";
    entries.push_front({kReportEntry, report});

    std::string archive;
    if (!ZipArchive(entries, archive, result.error))
        return result;
    CAtomicFile file;
    if (!file.Open(path) || std::fwrite(archive.data(), 1, archive.size(), file.File()) != archive.size() ||
        !file.Commit()) {
        result.error = "cannot write " + path;
        return result;
    }
    step(kParts);
    result.written = true;
    return result;
}

std::string ServiceReportMessage(const std::string& path, const ServiceReportResult& result)
{
    std::string text = "Service report written to " + path;
    if (!result.missing.empty()) {
        text += "\r\n\r\nThe controller did not give:";
        for (std::size_t i = 0; i < result.missing.size(); ++i)
            text += (i ? ", " : " ") + result.missing[i];
    }
    return text;
}

} // namespace halcyra
