#include "reports/LabelGeometry.h"

namespace reports {

QRectF LabelGeometry::labelRect(int index) const
{
    const int column = index % across;
    const int row = index / across;
    return QRectF(left + column * pitchAcross, top + row * pitchDown, width, height);
}

QString LabelGeometry::problem(QSizeF paper) const
{
    // A thousandth of an inch of slack for pitches written with few decimals.
    constexpr double Slack = 0.001;
    if (width <= 0 || height <= 0)
        return QStringLiteral("a label needs a width and a height above 0");
    if (across < 1 || down < 1 || across > 50 || down > 100)
        return QStringLiteral("a sheet holds 1 to 50 labels across and 1 to 100 down");
    if (left < 0 || top < 0)
        return QStringLiteral("the first label cannot begin outside the sheet");
    if ((across > 1 && pitchAcross + Slack < width) || (down > 1 && pitchDown + Slack < height))
        return QStringLiteral("the labels overlap: a pitch is smaller than the label");
    const QRectF last = labelRect(labelsPerSheet() - 1);
    if (last.right() > paper.width() + Slack || last.bottom() > paper.height() + Slack)
        return QStringLiteral("the labels do not fit on the sheet");
    return {};
}

}  // namespace reports
