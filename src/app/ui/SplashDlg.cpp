#include "app/ui/SplashDlg.h"

#include <QLabel>
#include <QPixmap>
#include <QShowEvent>
#include <QVBoxLayout>

namespace halcyra {

CSplashDlg::CSplashDlg(QWidget* parent, int showMs)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("picture"));
    picture->setPixmap(QPixmap(QStringLiteral(":/res/splash.png")));
    layout->addWidget(picture);
    timer_.setSingleShot(true);
    timer_.setInterval(showMs);
    connect(&timer_, &QTimer::timeout, this, [this] { done(0); });
}

void CSplashDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous() && !timer_.isActive())
        timer_.start();
}

} // namespace halcyra
