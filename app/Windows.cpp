#include "app/Windows.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace app {

QPoint centredPosition(const QRect& screen, const QSize& window)
{
    return screen.topLeft() + QPoint((screen.width() - window.width()) / 2,
                                     (screen.height() - window.height()) / 2);
}

void centreOnScreen(QWidget* window)
{
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    window->move(centredPosition(screen->geometry(), window->frameGeometry().size()));
}

}  // namespace app
