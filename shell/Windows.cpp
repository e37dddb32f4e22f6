#include "shell/Windows.h"

#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QWidget>

namespace shell {

QPoint centredPosition(const QRect& screen, const QSize& window)
{
    return screen.topLeft() +
           QPoint((screen.width() - window.width()) / 2, (screen.height() - window.height()) / 2);
}

void centreOnScreen(QWidget* window)
{
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    window->move(centredPosition(screen->geometry(), window->frameGeometry().size()));
}

void setTextLook(QWidget* widget, const TextLook& look)
{
    QFont font = widget->font();
    if (look.pointSize > 0)
        font.setPointSizeF(look.pointSize);
    if (look.serif) {
        font.setFamily(QStringLiteral("serif"));  // the desktop's serif face
        font.setStyleHint(QFont::Serif);
    }
    font.setItalic(look.italic);
    font.setWeight(QFont::Weight(look.weight));
    widget->setFont(font);
    if (look.colour.isValid()) {
        QPalette palette = widget->palette();
        palette.setColor(QPalette::WindowText, look.colour);
        widget->setPalette(palette);
    }
}

}  // namespace shell
