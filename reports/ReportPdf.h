// Painting laid-out report pages onto any paged device, and into a PDF file (Qt Gui only: the
// command-line tool writes its PDF files through this).
#pragma once

#include "reports/ReportPages.h"

#include <QPageLayout>

class QPagedPaintDevice;
class QPainter;

namespace reports {

// The page layout of the report: its paper and orientation, no margins (the pages place
// every text themselves).
QPageLayout pageLayoutOf(const ReportPages& pages);

// Paints one page with the painter's device origin at the paper's top left corner.
void paintPage(QPainter& painter, const ReportPages& pages, int index);

// Paints every page, one after the other, starting a new page of the device between them.
void paintAll(QPainter& painter, QPagedPaintDevice& device, const ReportPages& pages);

// Writes every page into a PDF file. Throws ReportError when the file cannot be written.
void writePdf(const ReportPages& pages, const QString& path);

}  // namespace reports
