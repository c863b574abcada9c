#include "diagnostics/ui/DiagnosticsScreens.h"

#include "pages/ui/ScreenRenderer.h"

namespace halcyra {

void RenderDiagnosticsScreens(CUiContext&, QWidget*, CScreenRenderer&) {}

} // namespace halcyra
