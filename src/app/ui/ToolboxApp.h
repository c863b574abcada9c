#pragma once
// The application: one instance at a time, the data path, the controller
// link (and the simulator when asked for), and the main dialog run modally.

#include "app/DataPaths.h"
#include "app/InstanceLock.h"
#include "app/ui/ToolboxContext.h"
#include "link/ControllerLink.h"
#include "link/TraceFile.h"
#include "pages/ui/BusyIndicators.h"

#include <memory>
#include <string>

namespace halcyra {

namespace sim {
class CSimServer;
}
class CToolboxDlg;

// Where the data path is kept: QSettings("Veltrane", "Fieldora Halcyra
// Toolbox II"), key "DataPath/Path".
inline constexpr const char* kSettingsOrganization = "Veltrane";
inline constexpr const char* kSettingsApplication = "Fieldora Halcyra Toolbox II";
inline constexpr const char* kDataPathKey = "DataPath/Path";

// What the whole program shares once the QApplication exists: numbers in the
// "C" locale, and the product name where a window has no title of its own.
void ConfigureApplication();

// The user's application data directory, the data path's last resort.
std::string ApplicationDataDirectory();

class CToolboxApp {
public:
    // Boxes go to notifier when given (tests), else to message boxes, or to
    // standard error when rendering or measuring.
    explicit CToolboxApp(ToolboxOptions options, INotifier* notifier = nullptr);
    ~CToolboxApp();
    CToolboxApp(const CToolboxApp&) = delete;
    CToolboxApp& operator=(const CToolboxApp&) = delete;

    // The whole run: InitInstance, then the main dialog (or the rendering).
    // Returns the process's exit status.
    int Run();

    // Start-up before the main dialog: the single-instance test (refused:
    // a box, false), the data path, the simulator.
    bool InitInstance();
    std::unique_ptr<CToolboxDlg> CreateMainDialog();

    // Draws the program's screens into PNG files in dir; 0 when all were written.
    int RenderTo(const std::string& dir);

    CToolboxContext& Context() { return context_; }
    CControllerLink& Link() { return link_; }
    INotifier& Notifier() { return notifier_; }
    CDataDirectories& Directories() { return directories_; }
    sim::CSimServer* Simulator() { return simulator_.get(); }
    const ToolboxOptions& Options() const { return options_; }

private:
    bool StartSimulator();

    ToolboxOptions options_;
    std::unique_ptr<INotifier> ownNotifier_;
    CBoxesBeforeProgress notifier_; // the boxes, in front of any transfer's progress
    CInstanceLock lock_;
    CDataDirectories directories_;
    std::unique_ptr<sim::CSimServer> simulator_; // outlives the link's use of it
    std::unique_ptr<CTraceFile> trace_;          // --trace; outlives the link's use of it
    CControllerLink link_;
    CToolboxContext context_;
};

} // namespace halcyra
