// The Data logging command without windows: which files it refuses before
// anything is sent, what it uploads, and which window follows.

#include "LoggingTestSupport.h"
#include "SimFixture.h"
#include "logging/LoggingConfiguration.h"
#include "pages/DataDirectories.h"
#include "pages/PageContext.h"
#include "setup/SetupFiles.h"
#include "sim/BlockFeature.h"
#include "sim/LoggingFeature.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#ifndef _WIN32
#include "Fifo.h"
#endif

using namespace halcyra;
using namespace halcyra::test;
using namespace std::chrono_literals;

namespace {

struct CommandRig {
    explicit CommandRig(sim::SimSettings settings = {})
        : c(std::move(settings)), requests(c), context(c.link, c.notifier, directories)
    {
        directories.SetDataPath(dir.File("") );
        context.files = &files;
        windows.internal = [this] { opened.push_back("internal"); };
        windows.external = [this](const ExternalLogPlan& p) {
            opened.push_back("external");
            plan = p;
        };
    }
    // Runs the command on a configuration file holding text.
    void Run(const std::string& text)
    {
        WriteAll(dir.File("logging.dlc"), text);
        files.answers = {dir.File("logging.dlc")};
        ConfigureDataLogging(context, windows);
    }
    sim::CBlockFeature::BlockState& Setup() { return c.controller.Feature<sim::CBlockFeature>().Block(kSetupBlock); }
    sim::CLoggingFeature& Logging()
    {
        c.AnswerWritten();
        return c.controller.Feature<sim::CLoggingFeature>();
    }
    void ExpectBox(const std::string& text, const char* caption)
    {
        ASSERT_EQ(1u, c.notifier.shown.size()) << ::testing::PrintToString(c.notifier.Texts());
        EXPECT_EQ(text, c.notifier.shown[0].text);
        EXPECT_EQ(caption, c.notifier.shown[0].caption);
        EXPECT_EQ(MsgIcon::Stop, c.notifier.shown[0].icon);
    }

    ScratchDir dir;
    InProcessController c;
    RequestLog requests;
    CDataDirectories directories;
    CPageContext context;
    PathScript files;
    LoggingWindows windows;
    std::vector<std::string> opened;
    ExternalLogPlan plan;
};

} // namespace

TEST(LoggingConfiguration, ACancelledChoiceOpensTheInternalWindowAndSendsNothing)
{
    CommandRig r;
    ConfigureDataLogging(r.context, r.windows);
    EXPECT_EQ(std::vector<std::string>{"internal"}, r.opened);
    EXPECT_TRUE(r.requests.seen.empty());
    ASSERT_EQ(1u, r.files.requests.size());
    const FileRequest& asked = r.files.requests[0];
    EXPECT_EQ(FileDialogMode::Open, asked.mode);
    EXPECT_EQ(kLoggingConfigFilter, asked.filter);
    EXPECT_EQ("dlc", asked.defaultSuffix);
    EXPECT_EQ(r.directories.ConfigurationDir(), asked.directory);
}

TEST(LoggingConfiguration, FilesWithoutAUsableLocationOrRateUploadNothing)
{
    struct Case {
        const char* what;
        std::string text;
        const char* caption;
        std::string note = {};
    };
    const std::string notText = "\r\n\r\nThe file is not a parameter text file: ";
    for (const Case& k : {Case{"no DblRate", "DblLocation: 0\r\nDblChannels: 4\r\n", kRateErrorCaption},
                         Case{"no DblLocation", "DblRate: 2\r\n", kLocationErrorCaption},
                         Case{"DblLocation 2", "DblLocation: 2\r\nDblRate: 2\r\n", kLocationErrorCaption},
                         Case{"not a text file", std::string("DblLocation: 1\r\nDblRate: 2\r\n\x01\x02\x7f", 31),
                              kLocationErrorCaption,
                              notText + "line 3 holds a control character (0x01 at character 1)."},
                         Case{"a line no record can be", "DblLocation: 1\r\nDblRate: 2\r\n" + std::string(1000000, 'x'),
                              kLocationErrorCaption,
                              notText + "line 3 holds 1000000 characters, more than the 227 of a record."}}) {
        SCOPED_TRACE(k.what);
        CommandRig r;
        r.Run(k.text);
        r.ExpectBox(kLogConfigReadFailedText + k.note, k.caption);
        EXPECT_TRUE(r.opened.empty());
        EXPECT_TRUE(r.requests.seen.empty());
    }
}

TEST(LoggingConfiguration, AFileThatCannotBeOpenedIsSaidAndNothingIsSent)
{
    // Chosen, then gone before it is opened.
    CommandRig r;
    r.files.answers = {r.dir.File("gone.dlc")};
    ConfigureDataLogging(r.context, r.windows);
    r.ExpectBox("Error: Could not open specified file!", "Log Configuration Error");
    EXPECT_TRUE(r.opened.empty());
    EXPECT_TRUE(r.requests.seen.empty());
}

TEST(LoggingConfiguration, AnInternalConfigurationIsUploadedUnchangedThenTheInternalWindowOpens)
{
    CommandRig r;
    const std::string text = "DblLocation: 0\r\nDblRate: 3\r\nDblChannels: 12\r\n";
    r.Run(text);
    EXPECT_EQ(std::vector<std::string>{"internal"}, r.opened);
    EXPECT_EQ(1u, r.Setup().uploadsCompleted);
    EXPECT_EQ(text, AsString(r.Setup().upload));
    EXPECT_EQ("3", r.c.controller.Params().Get("DblRate"));
    // The output setting is left alone.
    EXPECT_FALSE(r.requests.Sent(wire::kTableMsg));
    EXPECT_TRUE(r.c.notifier.shown.empty());
}

TEST(LoggingConfiguration, AByteOrderMarkIsPassedOverAndNotUploaded)
{
    CommandRig r;
    const std::string text = "DblLocation: 0\r\nDblRate: 3\r\n";
    r.Run("\xEF\xBB\xBF" + text);
    EXPECT_EQ(std::vector<std::string>{"internal"}, r.opened);
    EXPECT_EQ(text, AsString(r.Setup().upload));
    EXPECT_TRUE(r.c.notifier.shown.empty()) << ::testing::PrintToString(r.c.notifier.Texts());
}

TEST(LoggingConfiguration, AnythingButARegularFileIsRefusedAtOnce)
{
    CommandRig r;
    std::filesystem::create_directory(r.dir.File("folder.dlc"));
    r.files.answers = {r.dir.File("folder.dlc")};
    ConfigureDataLogging(r.context, r.windows);
    r.ExpectBox(kLogConfigOpenFailedText, kLogConfigError);
#ifndef _WIN32
    Fifo fifo(r.dir.File("fifo.dlc"));
    r.c.notifier.shown.clear();
    r.files.answers = {fifo.Path()};
    EXPECT_TRUE(fifo.ReturnsWithin(2s, [&] { ConfigureDataLogging(r.context, r.windows); }));
    r.ExpectBox(kLogConfigOpenFailedText, kLogConfigError);
#endif
    EXPECT_TRUE(r.opened.empty());
    EXPECT_TRUE(r.requests.seen.empty());
}

TEST(LoggingConfiguration, FoldersNamedOutsideAsciiHoldTheConfigurationAndTheBackup)
{
    CommandRig r;
    // Made and looked at through the system's own (wide, on Windows) names;
    // the program is given them in UTF-8.
    namespace fs = std::filesystem;
    const fs::path data = fs::path(r.dir.File("")) / fs::path(u8"Configuraci\u00F3n");
    fs::create_directory(data);
    r.directories.SetDataPath(r.dir.File("") + "Configuraci\xC3\xB3n/");
    r.directories.Create(r.c.notifier);
    std::ofstream(data / "Configuration Files" / fs::path(u8"registro-\u00F1.dlc"), std::ios::binary)
        << "DblLocation: 0\r\nDblRate: 3\r\n";
    r.files.answers = {r.directories.ConfigurationDir() + "/registro-\xC3\xB1.dlc"};
    ConfigureDataLogging(r.context, r.windows);
    EXPECT_TRUE(r.c.notifier.shown.empty()) << ::testing::PrintToString(r.c.notifier.Texts());
    EXPECT_EQ(std::vector<std::string>{"internal"}, r.opened);
    EXPECT_EQ("DblLocation: 0\r\nDblRate: 3\r\n", AsString(r.Setup().upload));
    std::error_code ec;
    EXPECT_EQ(1, std::distance(fs::directory_iterator(data / "Configuration Files" / "Backups", ec), {}));
}

TEST(LoggingConfiguration, AnExternalConfigurationStreamsToThePcUntilTheWindowIsDone)
{
    sim::SimSettings settings;
    settings.extra["log-output"] = "3";
    CommandRig r(settings);
    r.Run("DblLocation: 1\r\nDblRate: 4\r\n");
    EXPECT_EQ(std::vector<std::string>{"external"}, r.opened);
    EXPECT_EQ(3u, r.plan.previousOutput);
    EXPECT_EQ(4u, r.plan.rateIndex);
    EXPECT_EQ(r.dir.File("logging.dlc"), r.plan.configurationPath);
    EXPECT_EQ(wire::logging::kExternalOutput, r.Logging().Output());
    // The controller's setup is backed up (its serial number read, block 5
    // downloaded), then the setting is read, then set, then the file uploaded.
    std::vector<int> order;
    for (const sim::Request& q : r.requests.seen)
        order.push_back(q.messageId == wire::kTableMsg ? q.Operation() : q.messageId == wire::kBlockMsg ? 100 : -1);
    order.erase(std::unique(order.begin(), order.end()), order.end());
    EXPECT_EQ((std::vector<int>{-1, 100, wire::logging::kOutputGetOp, wire::logging::kOutputSetOp, 100}), order);
    EXPECT_EQ(1u, std::distance(std::filesystem::directory_iterator(r.directories.ConfigurationDir() + "/Backups"), {}));
}

TEST(LoggingConfiguration, AFailedExternalUploadGivesTheSettingBack)
{
    sim::SimSettings settings;
    settings.extra["log-output"] = "3";
    settings.extra["begin-status"] = "2";
    CommandRig r(settings);
    r.Run("DblLocation: 1\r\nDblRate: 2\r\n");
    // The backup cannot be made either; the user goes on without one.
    ASSERT_EQ(2u, r.c.notifier.shown.size());
    EXPECT_EQ("Backup Failed", r.c.notifier.shown[0].caption);
    EXPECT_EQ(kLogUploadFailedText, r.c.notifier.shown[1].text);
    EXPECT_EQ(kLogConfigError, r.c.notifier.shown[1].caption);
    EXPECT_TRUE(r.opened.empty());
    EXPECT_EQ(3u, r.Logging().Output());
}

TEST(LoggingConfiguration, AnUnreadOutputSettingChangesNothing)
{
    CommandRig r;
    r.c.unanswered = [&](const sim::Request& q) {
        r.requests.seen.push_back(q);
        return q.messageId == wire::kTableMsg;
    };
    r.Run("DblLocation: 1\r\nDblRate: 2\r\n");
    ASSERT_EQ((std::vector<std::string>{kTransactionErrorText, kLogOutputUnreadText}), r.c.notifier.Texts());
    EXPECT_EQ(kLogConfigError, r.c.notifier.shown[1].caption);
    EXPECT_TRUE(r.opened.empty());
    EXPECT_FALSE(r.requests.Sent(wire::kTableMsg, wire::logging::kOutputSetOp));
    EXPECT_EQ(0u, r.Setup().uploadsCompleted) << "only the backup's download";
}
