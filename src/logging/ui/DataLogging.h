#pragma once
// The main dialog's "Data Logging" command, once the port test and the
// connection check have passed: the logging configuration upload, then the
// internal or external logging window.

class QWidget;

namespace halcyra {

class CScreenRenderer;
class CUiContext;

void RunDataLogging(CUiContext& context, QWidget* parent);

// Draws both logging windows and the download progress for --render.
void RenderLoggingScreens(CUiContext& context, QWidget* parent, CScreenRenderer& screens);

} // namespace halcyra
