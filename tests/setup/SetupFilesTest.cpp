// Saving and restoring setup files: messages, the vms check, cancelling,
// keeping the previous file on failure, and a round trip between controllers.

#include "Fifo.h"
#include "SimFixture.h"
#include "link/AtomicFile.h"
#include "link/SerialPort.h"
#include "pages/PageLogic.h"
#include "setup/SetupFiles.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

using namespace halcyra;
using namespace halcyra::test;
using namespace std::chrono_literals;

namespace {

void ExpectBoxes(const CRecordingNotifier& n, const std::vector<std::tuple<std::string, std::string, MsgIcon>>& boxes)
{
    ASSERT_EQ(boxes.size(), n.shown.size()) << ::testing::PrintToString(n.Texts());
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        EXPECT_EQ(std::get<0>(boxes[i]), n.shown[i].text);
        EXPECT_EQ(std::get<1>(boxes[i]), n.shown[i].caption);
        EXPECT_EQ(std::get<2>(boxes[i]), n.shown[i].icon);
    }
}

std::map<std::string, std::string> Store(Connected& c)
{
    return c.With([](sim::CSimController& s) { return s.Params().Values(); });
}

} // namespace

TEST(SetupFiles, SaveWritesTheBlockBytesAndSaysSo)
{
    Connected c;
    ScratchDir dir;
    ASSERT_TRUE(SaveBlockToFile(c.link, dir.File("tractor.cfg"), kSetupBlock, false));
    EXPECT_EQ(c.With([](sim::CSimController& s) { return s.Params().ToText(); }), ReadAll(dir.File("tractor.cfg")));
    ExpectBoxes(c.notifier, {{"Setup saved successfully", "Save Complete", MsgIcon::Information}});

    // Block 6, quiet: the same save, no message.
    c.notifier.shown.clear();
    ASSERT_TRUE(SaveBlockToFile(c.link, dir.File("advanced.cfg"), kAdvancedSetupBlock, true));
    EXPECT_EQ(AsText(c.With([](sim::CSimController& s) { return sim::BlockContents(s, 6); })),
              ReadAll(dir.File("advanced.cfg")));
    EXPECT_TRUE(c.notifier.shown.empty());
    EXPECT_EQ(2u, dir.Names().size()); // no temporary left behind
}

TEST(SetupFiles, SaveThatCannotCreateItsFileSendsNothing)
{
    Connected c;
    ScratchDir dir;
    std::filesystem::create_directory(dir.File("a-directory"));
    for (const std::string& path : {dir.File("missing/x.cfg"), dir.File("a-directory")}) {
        c.notifier.shown.clear();
        EXPECT_FALSE(SaveBlockToFile(c.link, path, kSetupBlock, false));
        ExpectBoxes(c.notifier, {{"Error: Could not open specified file for writing!", "Download Error", MsgIcon::Stop}});
    }
    EXPECT_EQ(0u, c.Requests());
}

TEST(SetupFiles, FailedSaveKeepsThePreviousFileAndLeavesNoTemporary)
{
    const std::string old = "vms: \"Old Tractor\"\r\nvtt: 5\r\n";
    sim::SimOptions silent;
    silent.faults.silent = true;
    // A silent controller, and one that stops answering after two chunks.
    for (sim::SimOptions o : {silent, WithExtra({{"stall-chunk", "3"}, {"log-length", "2000"}})}) {
        Connected c(o);
        ScratchDir dir;
        WriteAll(dir.File("keep.cfg"), old);
        EXPECT_FALSE(SaveBlockToFile(c.link, dir.File("keep.cfg"), o.faults.silent ? kSetupBlock : 1, false));
        EXPECT_EQ(old, ReadAll(dir.File("keep.cfg")));
        EXPECT_EQ(std::vector<std::string>{"keep.cfg"}, dir.Names());
        ExpectBoxes(c.notifier, {{"Communication Error Occured", "Data Transfer Error", MsgIcon::None},
                                 {"Error: File download problem!", "Download Error", MsgIcon::Stop}});
    }
}

TEST(SetupFiles, RestoreNeedsAQuotedVmsBeforeAnyEmptyLine)
{
    Connected c;
    ScratchDir dir;
    for (const std::string& text : {std::string(""), std::string("\r\nvms: \"Fieldora 8240W\"\r\n"),
                                    std::string("vtt: 5\r\n\r\nvms: \"Fieldora 8240W\"\r\n"),
                                    std::string("vtt: 5\r\nvms: Fieldora 8240W\r\n")}) {
        SCOPED_TRACE(text);
        c.notifier.shown.clear();
        WriteAll(dir.File("setup.cfg"), text);
        RestoreOutcome outcome = RestoreOutcome::Restored;
        EXPECT_FALSE(RestoreBlockFromFile(c.link, dir.File("setup.cfg"), {}, &outcome));
        EXPECT_EQ(RestoreOutcome::Failed, outcome);
        ExpectBoxes(c.notifier, {{"Error reading specified configuration file!", "Download Error", MsgIcon::Stop}});
    }
    c.notifier.shown.clear();
    EXPECT_FALSE(RestoreBlockFromFile(c.link, dir.File("no-such.cfg")));
    ExpectBoxes(c.notifier, {{"Error: Could not open specified file", "Download Error", MsgIcon::Stop}});
    EXPECT_EQ(0u, c.Requests());
}

TEST(SetupFiles, RestoreRefusesFilesThatCannotBeParameterTextFiles)
{
    Connected c;
    ScratchDir dir;
    const std::string setup = "vms: \"Fieldora 8240W\"\r\nvtt: 5\r\n";
    // A NUL or another control character anywhere, a line no record could
    // be, or a size no setup has.
    const std::pair<std::string, std::string> cases[] = {
        {setup + std::string(1, '\0'), "line 3 holds a control character (NUL at character 1)"},
        {setup + "\x1B[2J", "line 3 holds a control character (ESC at character 1)"},
        {std::string("\x7F") + setup, "line 1 holds a control character (DEL at character 1)"},
        {setup + std::string(1000000, 'x') + "\r\n", "line 3 holds 1000000 characters, more than the 227 of a record"},
        {"vms: \"" + std::string(221, 'a') + "\"\r\n", "line 1 holds 228 characters, more than the 227 of a record"},
        {setup + std::string(1024 * 1024, 'x'), "it is larger than 1 MiB"},
    };
    for (const auto& [text, problem] : cases) {
        SCOPED_TRACE(problem);
        c.notifier.shown.clear();
        WriteAll(dir.File("setup.cfg"), text);
        EXPECT_FALSE(RestoreBlockFromFile(c.link, dir.File("setup.cfg")));
        ExpectBoxes(c.notifier, {{"Error reading specified configuration file!\r\n\r\nThe file is not a parameter text "
                                  "file: " + problem + ".",
                                  "Download Error", MsgIcon::Stop}});
    }
    EXPECT_EQ(0u, c.Requests());
    // Tabs and every kind of line end are text.
    c.notifier.answers = {MsgAnswer::Cancel};
    WriteAll(dir.File("setup.cfg"), "vms: \"Fieldora\t8240W\"\n\rvtt: 5\rdsu: 1\n");
    EXPECT_TRUE(RestoreBlockFromFile(c.link, dir.File("setup.cfg")));
}

TEST(SetupFiles, RestoreRefusesAnythingButARegularFileAtOnce)
{
    Connected c;
    ScratchDir dir;
    std::filesystem::create_directory(dir.File("folder.cfg"));
    Fifo fifo(dir.File("fifo.cfg"));
    for (const std::string& path : {dir.File("folder.cfg"), fifo.Path(), std::string("/dev/zero")}) {
        c.notifier.shown.clear();
        EXPECT_TRUE(fifo.ReturnsWithin(2s, [&] { EXPECT_FALSE(RestoreBlockFromFile(c.link, path)); })) << path;
        ExpectBoxes(c.notifier, {{"Error: Could not open specified file", "Download Error", MsgIcon::Stop}});
    }
    EXPECT_EQ(0u, c.Requests());
}

namespace {

// Restores path into the controller, answering every question yes.
void Restore(Connected& c, const std::string& path)
{
    RestoreOptions options;
    options.restartPause = 150ms;
    RestoreOutcome outcome = RestoreOutcome::Failed;
    EXPECT_TRUE(RestoreBlockFromFile(c.link, path, options, &outcome)) << ::testing::PrintToString(c.notifier.Texts());
    EXPECT_EQ(RestoreOutcome::Restored, outcome);
}

sim::SimOptions QuickRestart()
{
    sim::SimOptions o;
    o.settings.restartTime = 100ms;
    return o;
}

} // namespace

TEST(SetupFiles, AByteOrderMarkIsPassedOverAndNotUploaded)
{
    Connected c(QuickRestart());
    ScratchDir dir;
    const std::string setup = "vms: \"Fieldora 9000T\"\r\nvtt: 7\r\n";
    WriteAll(dir.File("setup.cfg"), "\xEF\xBB\xBF" + setup);
    Restore(c, dir.File("setup.cfg"));
    EXPECT_EQ(0u, c.notifier.shown.at(0).text.find("Vehicle model is: Fieldora 9000T\r\n"));
    EXPECT_EQ(setup,
              AsText(c.With([](sim::CSimController& s) { return s.Feature<sim::CBlockFeature>().Block(5).upload; })));
    EXPECT_EQ("\"Fieldora 9000T\"", c.Param("vms"));
    EXPECT_EQ("7", c.Param("vtt"));
}

TEST(SetupFiles, ASetupWithLoneCrLineEndsIsAppliedAsItIsRead)
{
    Connected c(QuickRestart());
    ScratchDir dir;
    WriteAll(dir.File("setup.cfg"), "vms: \"Fieldora 9000T\"\rvtt: 7\rdsu: 3\r");
    Restore(c, dir.File("setup.cfg"));
    EXPECT_EQ("\"Fieldora 9000T\"", c.Param("vms"));
    EXPECT_EQ("7", c.Param("vtt"));
    EXPECT_EQ("3", c.Param("dsu"));
}

TEST(SetupFiles, TheConfirmationShowsControlCharactersOfTheFileNameEscaped)
{
    Connected c;
    ScratchDir dir;
    WriteAll(dir.File("set\x1B]0;owned\x07up\n.cfg"), "vms: \"Fieldora 9000T\"\r\n");
    c.notifier.answers = {MsgAnswer::Cancel};
    EXPECT_TRUE(RestoreBlockFromFile(c.link, dir.File("set\x1B]0;owned\x07up\n.cfg")));
    ASSERT_EQ(2u, c.notifier.shown.size());
    EXPECT_EQ("Vehicle model is: Fieldora 9000T\r\n\r\nConfiguration File is : " +
                  dir.File("set\\x1B]0;owned\\x07up\\x0A.cfg") +
                  "\r\n\r\nPlease verify the selected vehicle model. If it is correct, press OK to continue, "
                  "otherwise press CANCEL to abort.",
              c.notifier.shown[0].text);
}

// Passes bytes through until a number of writes, then fails as a port that
// was unplugged does.
class CUnpluggedPort final : public CBytePort {
public:
    CUnpluggedPort(CBytePort& inner, int writes) : inner_(inner), writesLeft_(writes) {}
    bool IsOpen() const override { return inner_.IsOpen(); }
    std::size_t Read(std::uint8_t* b, std::size_t n) override { return inner_.Read(b, n); }
    std::size_t Write(const std::uint8_t* b, std::size_t n) override
    {
        if (writesLeft_-- <= 0)
            throw CSerialException(EIO, "/dev/ttyUSB0: write failed: Input/output error");
        return inner_.Write(b, n);
    }
    std::size_t BytesWaiting() override { return inner_.BytesWaiting(); }
    bool WaitReadable(std::chrono::milliseconds t) override { return inner_.WaitReadable(t); }

private:
    CBytePort& inner_;
    int writesLeft_;
};

TEST(SetupFiles, PortLostDuringARestoreSaysTheSetupMayBeIncomplete)
{
    Served sim;
    CSerialPort serial;
    serial.Open(sim.server.DevicePath());
    CUnpluggedPort unplugged(serial, 3); // begin-upload and two chunks
    CRecordingNotifier notifier;
    CControllerLink link(notifier);
    link.SetPort(&unplugged);
    ScratchDir dir;
    WriteAll(dir.File("setup.cfg"), sim.With([](sim::CSimController& s) { return s.Params().ToText(); }));
    bool reported = false;
    try {
        RestoreBlockFromFile(link, dir.File("setup.cfg"));
    } catch (const CSerialException& e) {
        reported = e.Reported(); // no one says it again
    }
    EXPECT_TRUE(reported);
    ASSERT_EQ(2u, notifier.shown.size());
    EXPECT_EQ("Error: The upload was interrupted (/dev/ttyUSB0: write failed: Input/output error). The controller's "
              "setup may be incomplete: restore the setup file again to complete it.",
              notifier.shown[1].text);
    EXPECT_EQ("Download Error", notifier.shown[1].caption);
    link.SetPort(nullptr);
}

TEST(SetupFiles, RemovingTemporariesSparesCommittedFiles)
{
    ScratchDir dir;
    CAtomicFile done, open;
    ASSERT_TRUE(done.Open(dir.File("done.cfg")));
    ASSERT_TRUE(open.Open(dir.File("open.cfg")));
    std::fputs("vtt: 5\r\n", done.File());
    ASSERT_TRUE(done.Commit());
    EXPECT_EQ(2u, dir.Names().size());
    RemoveAtomicTemporaries();
    EXPECT_EQ(std::vector<std::string>{"done.cfg"}, dir.Names());
    EXPECT_EQ("vtt: 5\r\n", ReadAll(dir.File("done.cfg")));
    EXPECT_FALSE(open.Commit()); // its data went with the temporary
    EXPECT_EQ(std::vector<std::string>{"done.cfg"}, dir.Names());
}

TEST(SetupFiles, RestoreOfAMissingFileSaysSo)
{
    Connected c;
    ScratchDir dir;
    EXPECT_FALSE(RestoreBlockFromFile(c.link, dir.File("no-such.cfg")));
    ExpectBoxes(c.notifier, {{"Error: Could not open specified file", "Download Error", MsgIcon::Stop}});
    EXPECT_EQ(0u, c.Requests());
}

TEST(SetupFiles, CancelledRestoreSendsNothing)
{
    Connected c;
    ScratchDir dir;
    WriteAll(dir.File("setup.cfg"), "vtt: 7\r\nvms: \"Fieldora 9000T\"\r\n");
    c.notifier.answers = {MsgAnswer::Cancel};
    RestoreOutcome outcome = RestoreOutcome::Failed;
    EXPECT_TRUE(RestoreBlockFromFile(c.link, dir.File("setup.cfg"), {}, &outcome));
    EXPECT_EQ(RestoreOutcome::Cancelled, outcome);
    ASSERT_EQ(2u, c.notifier.shown.size());
    EXPECT_EQ("Vehicle model is: Fieldora 9000T\r\n\r\nConfiguration File is : " + dir.File("setup.cfg") +
                  "\r\n\r\nPlease verify the selected vehicle model. If it is correct, press OK to continue, "
                  "otherwise press CANCEL to abort.",
              c.notifier.shown[0].text);
    EXPECT_EQ(kAppTitle, c.notifier.shown[0].caption);
    EXPECT_EQ(MsgButtons::OkCancel, c.notifier.shown[0].buttons);
    EXPECT_EQ("Setup restore has been cancelled", c.notifier.shown[1].text);
    EXPECT_EQ("Restore Cancelled", c.notifier.shown[1].caption);
    EXPECT_EQ(MsgIcon::Information, c.notifier.shown[1].icon);
    EXPECT_EQ(0u, c.Requests());
    EXPECT_EQ("5", c.With([](sim::CSimController& s) { return s.Params().Get("vtt").value_or(""); }));
}

TEST(SetupFiles, RoundTripCarriesOneControllersSetupIntoAnother)
{
    Connected source;
    ScratchDir dir;
    ASSERT_TRUE(SaveBlockToFile(source.link, dir.File("tractor.cfg"), kSetupBlock, true));

    sim::SimOptions other;
    other.assignments = {"vms=\"Fieldora 7100T\"", "vtt=2", "dsu=3", "dzl=0.450000", "trw=3.000000"};
    other.settings.restartTime = 100ms;
    Connected target(other);
    ASSERT_NE(Store(source), Store(target));

    std::vector<bool> busy;
    RestoreOptions options;
    options.busy = [&](bool b) { busy.push_back(b); };
    options.restartPause = 150ms;
    RestoreOutcome outcome = RestoreOutcome::Failed;
    ASSERT_TRUE(RestoreBlockFromFile(target.link, dir.File("tractor.cfg"), options, &outcome));
    EXPECT_EQ(RestoreOutcome::Restored, outcome);
    EXPECT_EQ(Store(source), Store(target));
    EXPECT_EQ((std::vector<bool>{true, false}), busy);

    ASSERT_EQ(3u, target.notifier.shown.size());
    EXPECT_EQ(0u, target.notifier.shown[0].text.find("Vehicle model is: Fieldora 8240W\r\n"));
    EXPECT_EQ(kResetText, target.notifier.shown[1].text);
    EXPECT_EQ("", target.notifier.shown[1].caption);
    EXPECT_EQ(MsgIcon::Exclamation, target.notifier.shown[1].icon);
    EXPECT_EQ("Setup restored successfully", target.notifier.shown[2].text);
    EXPECT_EQ("Restore Complete", target.notifier.shown[2].caption);
    EXPECT_EQ(MsgIcon::Information, target.notifier.shown[2].icon);
}

TEST(SetupFiles, RestoreThatFailsMidwayDoesNotResetTheController)
{
    sim::SimOptions o = WithExtra({{"stall-chunk", "2"}});
    Connected c(o);
    ScratchDir dir;
    const std::string setup = c.With([](sim::CSimController& s) { return s.Params().ToText(); });
    ASSERT_GT(setup.size(), 2 * 228u);
    WriteAll(dir.File("setup.cfg"), setup);
    EXPECT_FALSE(RestoreBlockFromFile(c.link, dir.File("setup.cfg")));
    ASSERT_EQ(3u, c.notifier.shown.size());
    EXPECT_EQ("Communication Error Occured", c.notifier.shown[1].text);
    EXPECT_EQ("Error: File download problem!", c.notifier.shown[2].text);
    EXPECT_EQ("Download Error", c.notifier.shown[2].caption);
    EXPECT_FALSE(c.With([](sim::CSimController& s) { return s.Restarting(); }));
}
