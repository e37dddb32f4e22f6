#include "reports/ReportPdf.h"

#include "reports/ReportError.h"
#include "store/OutputFile.h"

#include <QFile>
#include <QPainter>
#include <QPdfWriter>

namespace reports {

QPageLayout pageLayoutOf(const ReportPages& pages)
{
    return QPageLayout(QPageSize(pages.paper), pages.orientation, QMarginsF(0, 0, 0, 0));
}

void paintAll(QPainter& painter, QPagedPaintDevice& device, const ReportPages& pages)
{
    for (int i = 0; i < int(pages.pages.size()); ++i) {
        if (i > 0)
            device.newPage();
        paintPage(painter, pages, i);
    }
}

void paintPage(QPainter& painter, const ReportPages& pages, int index)
{
    const double kx = painter.device()->logicalDpiX() / 72.0;
    const double ky = painter.device()->logicalDpiY() / 72.0;
    const Page& page = pages.pages.at(index);
    painter.save();
    QPen pen(Qt::black);
    pen.setWidthF(0.5 * kx);
    painter.setPen(pen);
    for (const QLineF& rule : page.rules)
        painter.drawLine(QPointF(rule.x1() * kx, rule.y1() * ky), QPointF(rule.x2() * kx, rule.y2() * ky));
    int current = -1;
    for (const PageText& text : page.texts) {
        if (text.font != current) {
            painter.setFont(pages.fonts.at(text.font));
            current = text.font;
        }
        painter.drawText(QPointF(text.baseline.x() * kx, text.baseline.y() * ky), text.text);
    }
    for (const PageText& text : page.turned) {
        painter.save();
        painter.setFont(pages.fonts.at(text.font));
        painter.translate(text.baseline.x() * kx, text.baseline.y() * ky);
        painter.rotate(180);
        painter.drawText(QPointF(0, 0), text.text);
        painter.restore();
    }
    painter.restore();
}

void writePdf(const ReportPages& pages, const QString& path)
{
    try {
        // Written under a temporary name and renamed when complete; never over the wedding.
        store::output::PendingFile pending(path);
        {
            QPdfWriter writer(pending.temporaryPath());
            writer.setTitle(pages.title);
            writer.setCreator(QStringLiteral("Orvane"));
            writer.setPageLayout(pageLayoutOf(pages));
            QPainter painter;
            if (!painter.begin(&writer))
                throw ReportError(QStringLiteral("The file %1 cannot be written.").arg(path));
            paintAll(painter, writer, pages);
            painter.end();
        }
        if (QFile(pending.temporaryPath()).size() == 0)
            throw ReportError(QStringLiteral("The file %1 cannot be written.").arg(path));
        pending.commit();
    } catch (const store::StoreError& e) {
        throw ReportError(e.description());
    }
}

}  // namespace reports
