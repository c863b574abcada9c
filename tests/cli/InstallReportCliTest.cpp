// install-report on the command line against the simulator: the PDF's text
// as pdftotext reads it, its paper, what is not read, and what is refused
// before the controller is asked anything.

#include "CliSupport.h"
#include "SimFixture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <thread>

using namespace halcyra;
using namespace halcyra::test;

namespace {

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

std::size_t CountOf(const std::string& text, const std::string& part)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++n;
    return n;
}

// What a poppler tool prints for the file; nothing when it cannot run.
std::optional<std::string> Poppler(const std::string& tool, const std::string& arguments)
{
    if (tool.empty())
        return std::nullopt;
    std::FILE* pipe = ::popen((tool + " " + arguments + " 2>/dev/null").c_str(), "r");
    if (!pipe)
        return std::nullopt;
    std::string text;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        text.append(buffer, n);
    return ::pclose(pipe) == 0 ? std::optional(text) : std::nullopt;
}

std::string Quoted(const std::string& path) { return "'" + path + "'"; }

std::optional<std::string> PdfText(const std::string& path)
{
    return Poppler(HALCYRA_PDFTOTEXT, "-layout " + Quoted(path) + " -");
}

std::optional<std::string> PdfInfo(const std::string& path) { return Poppler(HALCYRA_PDFINFO, Quoted(path)); }

// The paper follows the locale: the test sets it for the run.
class LocaleForRun {
public:
    explicit LocaleForRun(const char* name)
    {
        if (const char* old = std::getenv("LC_ALL"))
            old_ = old;
        ::setenv("LC_ALL", name, 1);
    }
    ~LocaleForRun()
    {
        if (old_)
            ::setenv("LC_ALL", old_->c_str(), 1);
        else
            ::unsetenv("LC_ALL");
    }

private:
    std::optional<std::string> old_;
};

#define SKIP_WITHOUT_POPPLER()                                                                                     \
    if (std::string(HALCYRA_PDFTOTEXT).empty() || std::string(HALCYRA_PDFINFO).empty())                           \
    GTEST_SKIP() << "poppler-utils (pdftotext, pdfinfo) are not installed"

} // namespace

TEST(InstallReportCli, ThePdfHoldsThePeopleTheControllerThePagesAndTheFaultsOnA4)
{
    SKIP_WITHOUT_POPPLER();
    Served sim;
    ScratchDir dir;
    const std::string file = dir.File("report.pdf");
    const LocaleForRun locale("de_DE.UTF-8");
    const CliRun r = Halcyra({"--port", sim.server.DevicePath(), "install-report", file, "--installer", "Ana Fitter",
                              "--customer", "Brook Farm"});
    ASSERT_EQ(0, r.status) << r.err;
    EXPECT_EQ("Installation report written to " + file + "\n", r.out);
    EXPECT_FALSE(Contains(r.err, "halcyra:")) << r.err;

    const std::optional<std::string> info = PdfInfo(file);
    ASSERT_TRUE(info);
    EXPECT_TRUE(Contains(*info, "(A4)")) << *info;
    const int pages = std::atoi(info->substr(info->find("Pages:") + 6).c_str());
    EXPECT_TRUE(pages >= 1 && pages <= 3) << *info;

    const std::optional<std::string> text = PdfText(file);
    ASSERT_TRUE(text);
    for (const char* shown :
         {"Installation Report", "Ana Fitter", "Brook Farm", "HC2-0042137", "2.86", "Logging, IMU, Lightbar, RTK",
          "Fieldora 8240W", "5 (wheeled)", "Displayed Units", "meters", "End Of Row Alarm Distance", "Operator Alert",
          "5 min", "Network 5", "Antenna height above ground", "3.200", "Dead Zone Left", "0.32", "Saved Gain",
          "Line Acquisition Aggressiveness", "98%", "Steering angle sensor signal out of range", "Supply voltage low",
          "Signature", "Page 1 of"})
        EXPECT_TRUE(Contains(*text, shown)) << "missing " << shown << " in\n" << *text;
    EXPECT_FALSE(Contains(*text, "not read")) << *text;
}

TEST(InstallReportCli, LetterPaperWhereTheLocaleUsesIt)
{
    SKIP_WITHOUT_POPPLER();
    ScratchDir dir;
    const std::string file = dir.File("report.pdf");
    const LocaleForRun locale("en_US.UTF-8");
    ASSERT_EQ(0, Halcyra({"--simulator", "install-report", file}).status);
    const std::optional<std::string> info = PdfInfo(file);
    ASSERT_TRUE(info);
    EXPECT_TRUE(Contains(*info, "(letter)")) << *info;
}

TEST(InstallReportCli, AValueTheControllerDoesNotKnowShowsAsNotReadAndExitsWithOne)
{
    SKIP_WITHOUT_POPPLER();
    ScratchDir dir;
    {
        Served sim;
        ASSERT_EQ(0, Halcyra({"--port", sim.server.DevicePath(), "save-setup", dir.File("full.cfg")}).status);
    }
    // The same setup without the steering gain.
    std::string setup = ReadAll(dir.File("full.cfg"));
    const std::size_t at = setup.find("\npgr: ");
    ASSERT_NE(std::string::npos, at);
    setup.erase(at + 1, setup.find('\n', at + 1) - at);
    WriteAll(dir.File("no-gain.cfg"), setup);

    const std::string file = dir.File("report.pdf");
    const CliRun r = Halcyra({"--simulator", "--sim-setup", dir.File("no-gain.cfg"), "install-report", file});
    EXPECT_EQ(1, r.status) << r.err;
    EXPECT_EQ("Installation report written to " + file +
                  "\n\n1 value could not be read from the controller and shows as \"not read\".\n",
              r.out);
    const std::optional<std::string> text = PdfText(file);
    ASSERT_TRUE(text);
    EXPECT_TRUE(Contains(*text, "not read")) << *text;
    EXPECT_TRUE(Contains(*text, "1 value could not be read")) << *text;
}

TEST(InstallReportCli, AControllerThatStopsAnsweringIsToldOnceAndTheReportIsStillWritten)
{
    SKIP_WITHOUT_POPPLER();
    Served sim;
    ScratchDir dir;
    const std::string file = dir.File("report.pdf");
    // Quiet from some way into the reading on.
    std::atomic<bool> done = false;
    std::thread silencer([&] {
        while (!done && sim.Requests() < 40)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        sim.server.Faults().silent = true;
    });
    const auto started = std::chrono::steady_clock::now();
    const CliRun r = Halcyra({"--port", sim.server.DevicePath(), "install-report", file});
    done = true;
    silencer.join();
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
    EXPECT_EQ(1, r.status);
    EXPECT_EQ(1u, CountOf(r.err, "stopped answering")) << r.err;
    EXPECT_FALSE(Contains(r.err, "Communication Error")) << r.err;
    const std::optional<std::string> text = PdfText(file);
    ASSERT_TRUE(text);
    EXPECT_TRUE(Contains(*text, "not read")) << *text;
    EXPECT_TRUE(Contains(*text, "The controller stopped")) << *text;
}

TEST(InstallReportCli, WrongArgumentsAndAnUnwritableFileAreRefusedBeforeAnythingIsSent)
{
    Served sim;
    ScratchDir dir;
    const std::string port = sim.server.DevicePath();
    const std::uint64_t before = sim.Requests();
    const auto run = [&](std::vector<std::string> args) {
        args.insert(args.begin(), {"--port", port, "install-report"});
        return Halcyra(args);
    };
    EXPECT_EQ(2, run({}).status);
    EXPECT_EQ(2, run({dir.File("a.pdf"), "--installer"}).status);
    EXPECT_EQ(2, run({dir.File("a.pdf"), "--colour", "blue"}).status);
    EXPECT_EQ(2, run({dir.File("a.pdf"), dir.File("b.pdf")}).status);
    const CliRun control = run({dir.File("a.pdf"), "--customer", "Brook\nFarm"});
    EXPECT_EQ(2, control.status);
    EXPECT_EQ("halcyra: --customer: a name cannot hold control characters\n", control.err);
    const CliRun folder = run({dir.File("")});
    EXPECT_EQ(1, folder.status);
    EXPECT_TRUE(Contains(folder.err, "cannot write")) << folder.err;
    EXPECT_EQ(before, sim.Requests());
    EXPECT_FALSE(std::filesystem::exists(dir.File("a.pdf")));
    EXPECT_EQ(2, Halcyra({"--simulator", "--json", "install-report", dir.File("a.pdf")}).status);
}

TEST(InstallReportCli, AnEarlierReportStaysAsItWasWhenTheControllerDoesNotAnswer)
{
    ScratchDir dir;
    const std::string file = dir.File("report.pdf");
    WriteAll(file, "the earlier report");
    const CliRun r = Halcyra({"--simulator", "--sim-silent", "install-report", file});
    EXPECT_EQ(1, r.status);
    EXPECT_EQ("the earlier report", ReadAll(file));
    EXPECT_EQ(std::vector<std::string>{"report.pdf"}, dir.Names()) << "no temporary left";
}
