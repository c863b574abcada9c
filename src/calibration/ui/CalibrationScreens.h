#pragma once
// The calibration screens as --render draws them.

class QWidget;

namespace halcyra {

class CScreenRenderer;
class CUiContext;

// Draws every calibration page and dialog the controller's setup offers.
void RenderCalibrationScreens(CUiContext& context, QWidget* parent, CScreenRenderer& screens);

} // namespace halcyra
