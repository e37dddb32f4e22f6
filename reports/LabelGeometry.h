// Where the labels of a sheet of label stock lie, in inches from the top left corner of
// the paper. Labels are counted across first, then down.
#pragma once

#include <QRectF>
#include <QSizeF>
#include <QString>

namespace reports {

struct LabelGeometry {
    double width = 0;  // of one label
    double height = 0;
    int across = 0;          // labels in a row
    int down = 0;            // rows on a sheet
    double left = 0;         // left edge of the first label
    double top = 0;          // top edge of the first label
    double pitchAcross = 0;  // from the left edge of one label to that of the next in a row
    double pitchDown = 0;    // from the top edge of one row to that of the next

    int labelsPerSheet() const { return across * down; }
    // The label at `index` (0 = top left) of a sheet.
    QRectF labelRect(int index) const;
    // "" when the labels are sound and lie on a sheet of `paper` inches without
    // overlapping, else what is wrong.
    QString problem(QSizeF paper) const;
};

}  // namespace reports
