#include "config/ui/ConfigurationScreens.h"

#include "pages/ui/ScreenRenderer.h"

namespace halcyra {

void RenderConfigurationScreens(CUiContext&, QWidget*, CScreenRenderer&) {}

} // namespace halcyra
