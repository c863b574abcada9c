#include "calibration/ui/CalibrationScreens.h"

#include "pages/ui/ScreenRenderer.h"

namespace halcyra {

void RenderCalibrationScreens(CUiContext&, QWidget*, CScreenRenderer&) {}

} // namespace halcyra
