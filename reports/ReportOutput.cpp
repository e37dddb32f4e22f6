#include "reports/ReportOutput.h"

#include "controls/Dialogs.h"
#include "reports/ReportError.h"

#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace reports {

void printPages(const ReportPages& pages, QPrinter& printer)
{
    printer.setFullPage(true);
    printer.setPageLayout(pageLayoutOf(pages));
    printer.setDocName(pages.title);
    QPainter painter;
    if (!painter.begin(&printer))
        throw ReportError(QStringLiteral("The printer %1 cannot print.").arg(printer.printerName()));
    paintAll(painter, printer, pages);
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        throw ReportError(QStringLiteral("The printer %1 reported an error.").arg(printer.printerName()));
}

void printOnDefaultPrinter(const ReportPages& pages)
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        throw ReportError(
            QStringLiteral("No printer is available. Set up a printer, or keep the report as a PDF file."));
    QPrinter printer(info, QPrinter::HighResolution);
    printPages(pages, printer);
}

void showPreview(const ReportPages& pages, const QString& title, bool maximised, QWidget* parent)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setFullPage(true);
    printer.setPageLayout(pageLayoutOf(pages));
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("ReportPreview"));
    dialog.setWindowTitle(title);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&pages](QPrinter* target) {
        try {
            printPages(pages, *target);
        } catch (const ReportError& e) {
            controls::MsgBox(e.description(), controls::mb::Critical, QStringLiteral("Report Error"));
        }
    });
    if (maximised)
        dialog.setWindowState(Qt::WindowMaximized);
    controls::ShowModal(&dialog);
}

}  // namespace reports
