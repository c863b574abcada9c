#include "pages/ui/ContentsSheet.h"

namespace halcyra {

CContentsSheet::CContentsSheet(std::uint8_t mode, QWidget* parent) : CHCPropertySheet(mode, parent)
{
    setWindowTitle(QStringLiteral("Halcyra Toolbox Setup"));
}

} // namespace halcyra
