#include "pages/ui/ScreenRenderer.h"

#include "pages/ui/ScreenListing.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QWidget>

#include <cstdio>

namespace halcyra {

void CScreenRenderer::Show(QWidget& screen)
{
    if (!screen.isVisible()) {
        screen.adjustSize();
        screen.show();
    }
    QApplication::processEvents();
}

void CScreenRenderer::Save(QWidget& screen, const QString& name)
{
    Show(screen);
    const QString path = QDir(dir_).filePath(name + QStringLiteral(".png"));
    bool ok = screen.grab().save(path, "PNG");
    QFile listing(QDir(dir_).filePath(name + QStringLiteral(".txt")));
    ok = ok && listing.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
         listing.write(ListControls(screen).toUtf8()) >= 0;
    std::fprintf(ok ? stdout : stderr, "%s %s\n", ok ? "wrote" : "could not write", path.toLocal8Bit().constData());
    failures_ += ok ? 0 : 1;
}

} // namespace halcyra
