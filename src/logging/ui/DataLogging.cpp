#include "logging/ui/DataLogging.h"

#include "logging/LoggingConfiguration.h"
#include "logging/ui/ExtDataLoggingDlg.h"
#include "logging/ui/FileTransferProgressDlg.h"
#include "logging/ui/IntDataLoggingDlg.h"
#include "pages/DataDirectories.h"
#include "pages/ui/BusyIndicators.h"
#include "pages/ui/ScreenRenderer.h"
#include "pages/ui/UiContext.h"

#include <QDir>

namespace halcyra {

void RunDataLogging(CUiContext& context, QWidget* parent)
{
    LoggingWindows windows;
    windows.internal = [&] {
        CIntDataLoggingDlg dialog(context, parent);
        context.RunModal(dialog);
    };
    windows.external = [&](const ExternalLogPlan& plan) {
        std::unique_ptr<CExternalLog> log = CExternalLog::Prepare(context, plan);
        if (!log)
            return;
        CExtDataLoggingDlg dialog(context, *log, parent);
        context.RunModal(dialog);
        // However the window ended, the controller gets its setting back.
        log->Done();
    };
    CTransferProgress progress(parent, QStringLiteral("Data Logging"),
                               QStringLiteral("Writing to the controller: %1 of %2 chunks"));
    ConfigureDataLogging(context, windows, progress.Callback());
}

void RenderLoggingScreens(CUiContext& context, QWidget* parent, CScreenRenderer& screens)
{
    {
        CIntDataLoggingDlg internal(context, parent);
        internal.EnsureInitialised();
        internal.Logging().PollNow();
        screens.Save(internal, QStringLiteral("internal-logging"));
        internal.done(0);
    }
    {
        CFileTransferProgressDlg progress(context, parent);
        progress.ShowProgress(37, 120);
        screens.Save(progress, QStringLiteral("file-download-progress"));
        progress.hide();
    }
    {
        // A log named but not prepared: nothing is sent and no file written.
        const QDir configuration(QString::fromStdString(context.directories.ConfigurationDir()));
        ExternalLogPlan plan;
        plan.rateIndex = 2;
        plan.configurationPath = configuration.filePath(QStringLiteral("stream-10hz.dlc")).toStdString();
        CExternalLog log(context.link, plan, configuration.filePath(QStringLiteral("field-run.dbg")).toStdString());
        CExtDataLoggingDlg external(context, log, parent);
        screens.Save(external, QStringLiteral("external-logging"));
        external.hide();
    }
}

} // namespace halcyra
