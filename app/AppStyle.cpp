#include "app/AppStyle.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>

namespace app {

namespace {

QIcon overflowArrows(bool horizontal)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(80, 80, 80), 1.6));
    if (!horizontal) {
        p.translate(16, 0);
        p.rotate(90);
    }
    for (int x : {4, 9}) {
        QPainterPath chevron;
        chevron.moveTo(x, 4);
        chevron.lineTo(x + 3.5, 8);
        chevron.lineTo(x, 12);
        p.drawPath(chevron);
    }
    p.end();
    return QIcon(pixmap);
}

}  // namespace

QIcon AppStyle::standardIcon(StandardPixmap icon, const QStyleOption* option, const QWidget* widget) const
{
    if (icon == SP_ToolBarHorizontalExtensionButton)
        return overflowArrows(true);
    if (icon == SP_ToolBarVerticalExtensionButton)
        return overflowArrows(false);
    return QProxyStyle::standardIcon(icon, option, widget);
}

void installAppStyle()
{
    if (!qobject_cast<AppStyle*>(QApplication::style()))
        QApplication::setStyle(new AppStyle);
}

}  // namespace app
