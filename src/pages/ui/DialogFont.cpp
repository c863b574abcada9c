#include "pages/ui/DialogFont.h"

#include <QFontDatabase>
#include <QStringList>

namespace halcyra {

QFont ToolboxFont()
{
    if (QFontDatabase::families().contains(QStringLiteral("Tahoma")))
        return QFont(QStringLiteral("Tahoma"), 8);
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    return font;
}

} // namespace halcyra
