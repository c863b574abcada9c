// diff-setup, service-report and the backups taken before restore-setup,
// on the command line against the simulator.

#include "CliSupport.h"
#include "SimFixture.h"

#include <gtest/gtest.h>

#include <zip.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

using namespace halcyra;
using namespace halcyra::test;

namespace {

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Every command of this test binary keeps its data directories here, not
// beside the binary.
const std::string& DataPath()
{
    static const std::string path = [] {
        const auto dir = std::filesystem::temp_directory_path() /
                         ("halcyra-cli-data-" + std::to_string(::getpid()));
        ::setenv("HALCYRA_DATA_PATH", dir.c_str(), 1);
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(std::getenv("HALCYRA_DATA_PATH"), ec);
        });
        return dir.string();
    }();
    return path;
}
const bool g_dataPathSet = !DataPath().empty();

std::vector<std::string> BackupsOf(const std::string& serial)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(DataPath() + "/Configuration Files/Backups", ec))
        if (e.path().filename().string().rfind(serial + "-", 0) == 0)
            names.push_back(e.path().string());
    return names;
}

std::map<std::string, std::string> Unzip(const std::string& path)
{
    std::map<std::string, std::string> entries;
    int error = 0;
    zip_t* zip = zip_open(path.c_str(), ZIP_RDONLY, &error);
    if (!zip)
        return entries;
    for (zip_int64_t i = 0; i < zip_get_num_entries(zip, 0); ++i) {
        zip_stat_t st;
        if (zip_stat_index(zip, static_cast<zip_uint64_t>(i), 0, &st) != 0)
            continue;
        std::string bytes(st.size, '\0');
        zip_file_t* file = zip_fopen_index(zip, static_cast<zip_uint64_t>(i), 0);
        if (file && zip_fread(file, bytes.data(), st.size) == static_cast<zip_int64_t>(st.size))
            entries[st.name] = bytes;
        if (file)
            zip_fclose(file);
    }
    zip_close(zip);
    return entries;
}

} // namespace

TEST(ServiceCli, DiffSetupExitsZeroWhenTheSameOneWhenDifferentTwoWhenItCannotCompare)
{
    Served sim;
    ScratchDir dir;
    const std::string port = sim.server.DevicePath();
    ASSERT_EQ(0, Halcyra({"--port", port, "save-setup", dir.File("saved.cfg")}).status);
    // The live readings ("RO...") saved with it change while the controller
    // runs: they are no settings and are left out.
    sim.With([](sim::CSimController& s) { return s.Params().Set("RODiagOpsSwitchRaw", "2.500000"); });
    const CliRun same = Halcyra({"--port", port, "diff-setup", dir.File("saved.cfg")});
    EXPECT_EQ(0, same.status) << same.err << same.out;
    EXPECT_TRUE(Contains(same.out, "The controller's values match the file.")) << same.out;
    EXPECT_TRUE(Contains(same.out, "Read-only readings left out: 12\n")) << same.out;
    WriteAll(dir.File("a.cfg"), ReadAll(dir.File("saved.cfg")));

    std::string text = ReadAll(dir.File("a.cfg"));
    text.replace(text.find("vtt: 5"), 6, "vtt: 2");
    text += "zzNewer: 1\r\n";
    WriteAll(dir.File("b.cfg"), text);
    const CliRun different = Halcyra({"--port", port, "diff-setup", dir.File("b.cfg")});
    EXPECT_EQ(1, different.status) << different.err;
    EXPECT_TRUE(Contains(different.out, "\nvtt\t2\t5\n")) << different.out;
    EXPECT_TRUE(Contains(different.out, "does not know (name, file value):\nzzNewer\t1\n")) << different.out;

    EXPECT_EQ(2, Halcyra({"--port", port, "diff-setup", dir.File("missing.cfg")}).status);
    EXPECT_EQ(2, Halcyra({"--port", port, "diff-setup"}).status);
}

TEST(ServiceCli, DiffSetupGoesOnPastARecordAnsweredWithAnotherName)
{
    ScratchDir dir;
    ASSERT_EQ(0, Halcyra({"--simulator", "save-setup", dir.File("saved.cfg")}).status);
    std::string text = ReadAll(dir.File("saved.cfg"));
    text.insert(0, "zzNewer: 1\r\n");
    WriteAll(dir.File("newer.cfg"), text);
    const CliRun r = Halcyra({"--simulator", "--sim-refusal-text", "ERR: unknown parameter", "diff-setup",
                              dir.File("newer.cfg")});
    EXPECT_EQ(1, r.status) << r.err;
    EXPECT_EQ("", r.err);
    EXPECT_TRUE(Contains(r.out, "does not know (name, file value):\nzzNewer\t1\n")) << r.out;
}

TEST(ServiceCli, RestoreSetupSavesTheControllersSetupFirstUnlessToldNotTo)
{
    sim::SimOptions o;
    o.settings.restartTime = std::chrono::milliseconds(100);
    o.settings.extra["serial"] = "CLI-7";
    Served sim(o);
    ScratchDir dir;
    const std::string before = sim.With([](sim::CSimController& s) { return s.Params().ToText(); });
    WriteAll(dir.File("other.cfg"), "vms: \"Fieldora 7100T\"\r\nvtt: 2\r\n");
    const std::vector<std::string> restore{"--port", sim.server.DevicePath(), "restore-setup", dir.File("other.cfg"),
                                           "--yes"};
    const CliRun r = Halcyra(restore);
    EXPECT_EQ(0, r.status) << r.err;
    const auto backups = BackupsOf("CLI-7");
    ASSERT_EQ(1u, backups.size());
    EXPECT_EQ(before, ReadAll(backups[0]));
    EXPECT_TRUE(Contains(r.err, "Restore Complete: Setup restored successfully\n\nThe previous setup was saved to " +
                                    backups[0] + "\n"))
        << r.err;

    std::vector<std::string> noBackup = restore;
    noBackup.push_back("--no-backup");
    EXPECT_EQ(0, Halcyra(noBackup).status);
    EXPECT_EQ(1u, BackupsOf("CLI-7").size());
}

TEST(ServiceCli, ServiceReportZipsWhatSupportNeeds)
{
    ScratchDir dir;
    const std::string trace = dir.File("session.trace");
    const CliRun r = Halcyra({"--simulator", "--trace", trace, "service-report", dir.File("report.zip")});
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_EQ("Service report written to " + dir.File("report.zip") + "\n", r.out);
    const auto entries = Unzip(dir.File("report.zip"));
    std::vector<std::string> names;
    for (const auto& [name, bytes] : entries)
        names.push_back(name);
    EXPECT_EQ((std::vector<std::string>{"block5-setup.cfg", "block6-advanced-setup.cfg", "block8-deadzone-report.txt",
                                        "faults.txt", "information.txt", "report.txt", "session.trace"}),
              names);
    const std::string report = entries.at("report.txt");
    EXPECT_TRUE(Contains(report, "Program: halcyra " HALCYRA_VERSION "\r\n")) << report;
    EXPECT_TRUE(Contains(report, "Port: /dev/pts/")) << report;
    EXPECT_FALSE(Contains(report, "Missing:")) << report;
    EXPECT_TRUE(Contains(entries.at("information.txt"), "Serial Number: HC2-0042137\r\n"));
    EXPECT_TRUE(Contains(entries.at("faults.txt"), "*** Verovevevero Fault Code Download File ***"));
    EXPECT_EQ(0u, entries.at("block5-setup.cfg").find("vms: \"Fieldora 8240W\"\r\n"));
    EXPECT_EQ(0u, entries.at("session.trace").find("# halcyra frame trace"));
    // No temporary is left beside it.
    EXPECT_EQ(2u, dir.Names().size());
}

TEST(ServiceCli, AServiceReportSaysWhatTheControllerDidNotGive)
{
    ScratchDir dir;
    const CliRun r = Halcyra({"--simulator", "--sim-begin-status", "1", "service-report", dir.File("report.zip")});
    EXPECT_EQ(1, r.status);
    EXPECT_TRUE(Contains(r.out, "The controller did not give: block 5, block 6, block 8")) << r.out;
    const auto entries = Unzip(dir.File("report.zip"));
    EXPECT_EQ(0u, entries.count("block5-setup.cfg"));
    EXPECT_TRUE(Contains(entries.at("report.txt"), "Missing: block 6\r\n"));
}
