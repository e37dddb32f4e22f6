// Printing laid-out report pages, and the preview window (through the print module).
#pragma once

#include "reports/ReportPdf.h"

class QWidget;

namespace controls {
class Printer;
}

namespace reports {

// Prints every page on the printer (its page size and orientation are set from the report).
// Throws ReportError when the printer cannot be used.
void printPages(const ReportPages& pages, controls::Printer& printer);

// Prints on the default printer. Throws ReportError when there is none.
void printOnDefaultPrinter(const ReportPages& pages);

// Shows the pages in a modal preview window with page navigation, zoom and printing.
void showPreview(const ReportPages& pages, const QString& title, bool maximised, QWidget* parent);

}  // namespace reports
