#pragma once
// The font of every dialog, sheet and page: Tahoma 8 where the machine has
// it, otherwise the platform's sans-serif at 8 points.

#include <QFont>

namespace halcyra {

QFont ToolboxFont();

} // namespace halcyra
