#include "UiFixture.h"

#include "app/ToolboxCommands.h"
#include "app/ui/PortSelectDlg.h"
#include "app/ui/SplashDlg.h"
#include "link/ControllerLink.h"

#include <QApplication>
#include <QCursor>
#include <QProcess>
#include <QTemporaryDir>

using namespace halcyra;
using namespace halcyra::test;

TEST(Startup, WithoutPortTheMissingDeviceIsNamedBeforeTheInverterWarning)
{
    UiApp t;
    t.Start();
    const std::string device = t.options.portSources.devDir + "/ttyS0";
    ASSERT_EQ(3u, t.notifier.shown.size());
    EXPECT_EQ("Failed to open up " + device, t.notifier.shown[0].text);
    EXPECT_EQ(" " + device + " could not be opened.\n\nPlease select a different communication port\n",
              t.notifier.shown[1].text);
    EXPECT_EQ("Error", t.notifier.shown[1].caption);
    EXPECT_EQ(MsgIcon::Stop, t.notifier.shown[1].icon);
    EXPECT_EQ(kInverterWarningText, t.notifier.shown[2].text);
    EXPECT_EQ("Disconnect AC Inverters", t.notifier.shown[2].caption);
    EXPECT_EQ(MsgIcon::Exclamation, t.notifier.shown[2].icon);
    EXPECT_FALSE(t.app->Link().IsOpen());
}

TEST(Startup, OpenedPortShowsOnlyTheInverterWarning)
{
    // --simulator opens the simulator's device.
    UiApp t;
    t.UseSimulator();
    t.Start();
    ASSERT_EQ(1u, t.notifier.shown.size());
    EXPECT_EQ(kInverterWarningText, t.notifier.shown[0].text);
    EXPECT_TRUE(t.app->Link().IsOpen());
    EXPECT_EQ(t.app->Simulator()->DevicePath(), t.app->Link().CurrentPort());

    // --port DEVICE opens that device.
    UiApp u;
    u.options.port = t.app->Simulator()->DevicePath();
    t.app->Link().Close();
    u.Start();
    ASSERT_EQ(1u, u.notifier.shown.size());
    EXPECT_TRUE(u.app->Link().IsOpen());
    EXPECT_EQ(u.options.port, u.app->Link().CurrentPort());
}

TEST(Startup, MissingDataPathGivesOneBoxPerDirectoryEachTimeADialogOpens)
{
    UiApp t;
    t.UseSimulator();
    StoreDataPath("/nonexistent-halcyra-data/");
    t.Start();
    const std::vector<std::string> expected = {
        "Cannot create required /nonexistent-halcyra-data/Application Files directory structure error = 2",
        "Cannot create required /nonexistent-halcyra-data/Configuration Files directory structure error = 2",
        "Cannot create required /nonexistent-halcyra-data/Factory Settings Files directory structure error = 2",
        "Cannot create required /nonexistent-halcyra-data/Vehicle Database Files directory structure error = 2",
        kInverterWarningText};
    EXPECT_EQ(expected, t.notifier.Texts());
    EXPECT_EQ(kAppTitle, t.notifier.shown[0].caption);

    t.notifier.shown.clear();
    t.dialog->OnCommand(cmd::kSelectComPort);
    EXPECT_EQ(4u, t.notifier.shown.size());
}

TEST(Startup, DataDirectoriesAreMadeUnderTheStoredPath)
{
    UiApp t;
    t.UseSimulator();
    t.Start();
    EXPECT_EQ(t.Path("data") + "/", t.app->Directories().DataPath());
    for (const char* dir : {"Application Files", "Configuration Files", "Factory Settings Files",
                            "Vehicle Database Files"})
        EXPECT_TRUE(QDir(QString::fromStdString(t.Path("data"))).exists(QString::fromLatin1(dir))) << dir;
}

TEST(Startup, SecondInstanceIsRefused)
{
    UiApp first;
    first.Start();
    UiApp second;
    second.options.lockPath = first.options.lockPath;
    CToolboxApp app(second.options, &second.notifier);
    EXPECT_EQ(1, app.Run());
    ASSERT_EQ(1u, second.notifier.shown.size());
    EXPECT_EQ("Halcyra Toolbox is already running.\nA second instance cannot be started.",
              second.notifier.shown[0].text);
    EXPECT_EQ("Halcyra Toolbox", second.notifier.shown[0].caption);
}

TEST(Startup, SplashRunsUnderTheWaitCursorAndClosesItself)
{
    UiApp t;
    t.UseSimulator();
    t.options.noSplash = false;
    Qt::CursorShape during = Qt::ArrowCursor;
    t.onModal = [&](QDialog& d) {
        if (QApplication::overrideCursor())
            during = QApplication::overrideCursor()->shape();
        EXPECT_TRUE(d.windowFlags() & Qt::FramelessWindowHint);
        return 0;
    };
    t.Start();
    EXPECT_EQ(std::vector<std::string>{"halcyra::CSplashDlg"}, t.modal);
    EXPECT_EQ(Qt::WaitCursor, during);
    EXPECT_EQ(nullptr, QApplication::overrideCursor());

    CSplashDlg splash(nullptr, 20);
    EXPECT_EQ(0, splash.exec());
}

TEST(Startup, Options)
{
    ToolboxOptions o;
    bool help = false;
    std::string error;
    ASSERT_TRUE(ParseToolboxArgs({"--simulator", "--sim-firmware-version", "99", "--sim-silent", "--no-splash",
                                  "--render", "shots"},
                                 o, help, error))
        << error;
    EXPECT_TRUE(o.simulator);
    EXPECT_EQ("99", o.simOptions.settings.extra["firmware-version"]);
    EXPECT_TRUE(o.simOptions.faults.silent);
    EXPECT_TRUE(o.noSplash);
    EXPECT_EQ("shots", o.renderDir);
    EXPECT_FALSE(ParseToolboxArgs({"--port"}, o, help, error));
    EXPECT_FALSE(ParseToolboxArgs({"--bogus"}, o, help, error));
    ToolboxOptions both;
    EXPECT_FALSE(ParseToolboxArgs({"--simulator", "--port", "/dev/ttyUSB0"}, both, help, error));
    ToolboxOptions badValue;
    EXPECT_FALSE(ParseToolboxArgs({"--simulator", "--sim-faults", "garbage"}, badValue, help, error));
    EXPECT_EQ(0u, error.find("--sim-faults 'garbage': ")) << error;
    ToolboxOptions noSimulator;
    EXPECT_FALSE(ParseToolboxArgs({"--sim-drop", "10"}, noSimulator, help, error));
    EXPECT_EQ("--sim-drop needs --simulator", error);
}

namespace {

// Runs the built program as a user would, in an environment of its own.
struct ProgramRun {
    explicit ProgramRun(QString path) : program(std::move(path)) {}
    int Run(const QStringList& args, const QString& workingDir, const QProcessEnvironment& env)
    {
        QProcess process;
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(workingDir);
        process.start(program, args);
        // Rendering every screen polls the live pages for a few seconds each;
        // under the sanitizers on a busy machine that takes well over 30 s.
        EXPECT_TRUE(process.waitForFinished(180000));
        output = QString::fromLocal8Bit(process.readAllStandardOutput());
        errors = QString::fromLocal8Bit(process.readAllStandardError());
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }
    QString program;
    QString output, errors;
};

QProcessEnvironment Isolated(const QTemporaryDir& home)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("share")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
    return env;
}

} // namespace

TEST(Startup, HelpNeedsNoDisplay)
{
    QTemporaryDir home;
    ProgramRun run(QStringLiteral(HALCYRA_TOOLBOX_BINARY));
    EXPECT_EQ(0, run.Run({QStringLiteral("--help")}, home.path(), Isolated(home))) << run.errors.toStdString();
    EXPECT_TRUE(run.output.startsWith(QStringLiteral("usage: halcyra-toolbox"))) << run.output.toStdString();
    EXPECT_EQ(2, run.Run({QStringLiteral("--bogus")}, home.path(), Isolated(home)));
}

TEST(Startup, StartedByNameTheDataDirectoriesGoBesideTheExecutable)
{
    QTemporaryDir home;
    QDir root(home.path());
    root.mkpath(QStringLiteral("bin"));
    root.mkpath(QStringLiteral("cwd"));
    const QString installed = root.filePath(QStringLiteral("bin/halcyra-toolbox"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(HALCYRA_TOOLBOX_BINARY), installed));
    QProcessEnvironment env = Isolated(home);
    env.insert(QStringLiteral("PATH"), root.filePath(QStringLiteral("bin")) + QStringLiteral(":/usr/bin:/bin"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // Started by name, found through PATH, from another directory.
    ProgramRun run(QStringLiteral("/usr/bin/env"));
    const QStringList args = {QStringLiteral("halcyra-toolbox"), QStringLiteral("--simulator"),
                              QStringLiteral("--no-splash"), QStringLiteral("--measure-startup")};
    EXPECT_EQ(0, run.Run(args, root.filePath(QStringLiteral("cwd")), env))
        << run.errors.toStdString();
    EXPECT_TRUE(QDir(root.filePath(QStringLiteral("bin/Configuration Files"))).exists());
    EXPECT_TRUE(QDir(root.filePath(QStringLiteral("cwd"))).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

TEST(Startup, ABoxWithoutCaptionIsTitledWithTheProductName)
{
    EXPECT_EQ(QStringLiteral("Halcyra Toolbox"), QGuiApplication::applicationDisplayName());
}

TEST(Startup, TraceRecordsEveryFrameOfTheRun)
{
    QTemporaryDir home;
    QProcessEnvironment env = Isolated(home);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    const QString trace = home.filePath(QStringLiteral("run.trace"));
    ProgramRun run(QStringLiteral(HALCYRA_TOOLBOX_BINARY));
    const QStringList args = {QStringLiteral("--simulator"), QStringLiteral("--no-splash"), QStringLiteral("--render"),
                              home.filePath(QStringLiteral("shots")), QStringLiteral("--trace"), trace};
    EXPECT_EQ(0, run.Run(args, home.path(), env)) << run.errors.toStdString();
    QFile file(trace);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral(" TX sent [BE 40 14 00]"))) << "a named-parameter get";
    EXPECT_TRUE(text.contains(QStringLiteral(" RX accepted [BF 40 14 00]")));
    EXPECT_TRUE(QFile::exists(home.filePath(QStringLiteral("shots/contents-information.txt"))));
    // The diagnostics sheet recording, its file gone with the drawing.
    QFile recording(home.filePath(QStringLiteral("shots/diag-sheet-recording.txt")));
    ASSERT_TRUE(recording.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(recording.readAll()).contains(QStringLiteral("button\t\"Stop\"")));
    EXPECT_FALSE(QFile::exists(home.filePath(QStringLiteral("shots/render.csv"))));

    // Boxes go to standard error when measuring.
    EXPECT_EQ(1, run.Run({QStringLiteral("--no-splash"), QStringLiteral("--measure-startup"), QStringLiteral("--trace"),
                          QStringLiteral("/nonexistent/dir/t")},
                         home.path(), env));
    EXPECT_TRUE(run.errors.contains(QStringLiteral("Error: The trace cannot be written"))) << run.errors.toStdString();
}

TEST(Startup, RenderingWithoutAControllerStopsAfterTheMainDialogAndSaysWhy)
{
    QTemporaryDir home;
    QProcessEnvironment env = Isolated(home);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    ProgramRun run(QStringLiteral(HALCYRA_TOOLBOX_BINARY));
    const QString shots = home.filePath(QStringLiteral("shots"));
    const QStringList args = {QStringLiteral("--port"), home.filePath(QStringLiteral("no-such-port")),
                              QStringLiteral("--no-splash"), QStringLiteral("--render"), shots};
    EXPECT_EQ(1, run.Run(args, home.path(), env)) << run.errors.toStdString();
    EXPECT_TRUE(run.errors.contains(QStringLiteral("rendered the splash and the main dialog only: the port is not "
                                                   "open")))
        << run.errors.toStdString();
    EXPECT_TRUE(QFile::exists(shots + QStringLiteral("/main.png")));
    EXPECT_FALSE(QFile::exists(shots + QStringLiteral("/about.png")));
}
