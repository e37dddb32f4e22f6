// Painting laid-out report pages: into a PDF file, onto a printer, into the preview.
#pragma once

#include "reports/ReportPages.h"

class QPainter;
class QPrinter;
class QWidget;

namespace reports {

// Paints one page with the painter's device origin at the paper's top left corner.
void paintPage(QPainter& painter, const ReportPages& pages, int index);

// Writes every page into a PDF file. Throws ReportError when the file cannot be written.
void writePdf(const ReportPages& pages, const QString& path);

// Prints every page on the printer (its page size and orientation are set from the report).
// Throws ReportError when the printer cannot be used.
void printPages(const ReportPages& pages, QPrinter& printer);

// Prints on the default printer. Throws ReportError when there is none.
void printOnDefaultPrinter(const ReportPages& pages);

// Shows the pages in a modal preview window with page navigation, zoom and printing.
void showPreview(const ReportPages& pages, const QString& title, bool maximised, QWidget* parent);

}  // namespace reports
