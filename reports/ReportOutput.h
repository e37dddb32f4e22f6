// Printing laid-out report pages, and the preview window (Qt Print Support).
#pragma once

#include "reports/ReportPdf.h"

class QPrinter;
class QWidget;

namespace reports {

// Prints every page on the printer (its page size and orientation are set from the report).
// Throws ReportError when the printer cannot be used.
void printPages(const ReportPages& pages, QPrinter& printer);

// Prints on the default printer. Throws ReportError when there is none.
void printOnDefaultPrinter(const ReportPages& pages);

// Shows the pages in a modal preview window with page navigation, zoom and printing.
void showPreview(const ReportPages& pages, const QString& title, bool maximised, QWidget* parent);

}  // namespace reports
