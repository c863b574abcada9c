#pragma once
// An application wired for tests: boxes recorded and answered from a
// script, no serial ports (an empty device tree), its own lock file, its
// data path in a temporary directory, modal dialogs run by the test.

#include "RecordingNotifier.h"
#include "app/ui/ToolboxApp.h"
#include "app/ui/ToolboxDlg.h"
#include "sim/SimServer.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <atomic>
#include <thread>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace halcyra::test {

inline void StoreDataPath(const std::string& path)
{
    QSettings settings(QString::fromLatin1(kSettingsOrganization), QString::fromLatin1(kSettingsApplication));
    settings.setValue(QString::fromLatin1(kDataPathKey), QString::fromStdString(path));
    settings.sync();
}

inline sim::SimOptions SimWith(std::initializer_list<std::pair<const char*, const char*>> extra)
{
    sim::SimOptions o;
    for (auto [k, v] : extra)
        o.settings.extra[k] = v;
    return o;
}

struct UiApp {
    UiApp()
    {
        EXPECT_TRUE(tmp.isValid());
        QDir root(tmp.path());
        root.mkpath(QStringLiteral("sys"));
        root.mkpath(QStringLiteral("dev"));
        root.mkpath(QStringLiteral("data"));
        options.noSplash = true;
        options.portSources.sysClassTty = Path("sys");
        options.portSources.devDir = Path("dev");
        options.lockPath = Path("instance.lock");
        StoreDataPath(Path("data") + "/");
    }
    std::string Path(const char* name) const { return QDir(tmp.path()).filePath(QString::fromLatin1(name)).toStdString(); }

    // Starts the application and initialises its main dialog.
    CToolboxDlg& Start()
    {
        app = std::make_unique<CToolboxApp>(options, &notifier);
        app->Context().runModal = [this](QDialog& d) {
            modal.push_back(d.metaObject()->className());
            return onModal ? onModal(d) : static_cast<int>(QDialog::Rejected);
        };
        EXPECT_TRUE(app->InitInstance());
        dialog = app->CreateMainDialog();
        dialog->EnsureInitialised();
        return *dialog;
    }
    void UseSimulator(sim::SimOptions o = {})
    {
        options.simulator = true;
        options.simOptions = std::move(o);
    }
    std::uint64_t Requests()
    {
        std::uint64_t n = 0;
        app->Simulator()->WithController([&](sim::CSimController& s) { n = s.RequestsSeen(); });
        return n;
    }
    std::string Param(const std::string& name)
    {
        std::string v;
        app->Simulator()->WithController([&](sim::CSimController& s) { v = s.Params().Get(name).value_or("<none>"); });
        return v;
    }

    QTemporaryDir tmp;
    ToolboxOptions options;
    CRecordingNotifier notifier;
    std::unique_ptr<CToolboxApp> app;
    std::unique_ptr<CToolboxDlg> dialog;
    std::vector<std::string> modal;          // class of every dialog run modally, in order
    std::function<int(QDialog&)> onModal;    // what a modal run does; default: rejected at once
};

// Runs f on the user-interface thread about every period until destroyed,
// as a queued call: unlike a timer it also runs while a transaction or a
// transfer keeps the window painted.
class CQueuedRepeater {
public:
    CQueuedRepeater(std::chrono::milliseconds period, std::function<void()> f)
        : thread_([this, period, f = std::move(f)] {
              while (!stop_) {
                  std::this_thread::sleep_for(period);
                  QMetaObject::invokeMethod(qApp, f, Qt::QueuedConnection);
              }
          })
    {
    }
    ~CQueuedRepeater()
    {
        stop_ = true;
        thread_.join();
        // What is still queued runs now, while f's captures live.
        QCoreApplication::sendPostedEvents(qApp, QEvent::MetaCall);
    }

private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// Runs f once the modal loop of the dialog being executed has started. A
// timer, not a queued call: a transaction's wait handles neither.
inline void WhenRunning(std::function<void()> f) { QTimer::singleShot(1, std::move(f)); }

} // namespace halcyra::test
