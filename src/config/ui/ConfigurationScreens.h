#pragma once
// The configuration screens as --render draws them.

class QWidget;

namespace halcyra {

class CScreenRenderer;
class CUiContext;

// Draws every configuration page and dialog the controller's setup offers.
void RenderConfigurationScreens(CUiContext& context, QWidget* parent, CScreenRenderer& screens);

} // namespace halcyra
