#pragma once
// --render: the setup comparison, with a few records changed so the table
// has rows to show.

class QWidget;

namespace halcyra {

class CScreenRenderer;
class CUiContext;

void RenderSetupCompareScreen(CUiContext& context, QWidget* parent, CScreenRenderer& screens);

} // namespace halcyra
