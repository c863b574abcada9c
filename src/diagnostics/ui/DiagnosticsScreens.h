#pragma once
// The diagnostics screens as --render draws them.

class QWidget;

namespace halcyra {

class CScreenRenderer;
class CUiContext;

// Draws every diagnostics page and dialog the controller's setup offers.
void RenderDiagnosticsScreens(CUiContext& context, QWidget* parent, CScreenRenderer& screens);

} // namespace halcyra
