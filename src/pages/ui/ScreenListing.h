#pragma once
// A screen as text: one line per visible control, in the order the window
// holds them: kind, label or text, value, enabled or disabled. Written beside
// each rendered picture, and compared by page tests. A widget of another
// kind describes itself in a "listing" property: {kind, label, value}.

#include <QString>

class QWidget;

namespace halcyra {

QString ListControls(const QWidget& screen);

} // namespace halcyra
