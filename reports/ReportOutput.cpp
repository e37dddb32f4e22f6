#include "reports/ReportOutput.h"

#include "controls/Dialogs.h"
#include "controls/Printer.h"
#include "reports/ReportError.h"
#include "shell/Printing.h"

#include <QDialog>
#include <QPagedPaintDevice>
#include <QPainter>

namespace reports {

namespace {
std::unique_ptr<controls::Printer> printerFor(shell::PrinterUse use)
{
    QString why;
    auto printer = shell::newPrinter(use, &why);
    if (!printer)
        throw ReportError(why.isEmpty() ? QStringLiteral("No printer is available. Set up a printer, or keep the "
                                                         "report as a PDF file.")
                                        : why);
    return printer;
}
}  // namespace

void printPages(const ReportPages& pages, controls::Printer& printer)
{
    printer.setFullPage(true);
    printer.device().setPageLayout(pageLayoutOf(pages));
    printer.setDocName(pages.title);
    QPainter painter;
    if (!painter.begin(&printer.device()))
        throw ReportError(QStringLiteral("The printer %1 cannot print.").arg(printer.name()));
    paintAll(painter, printer.device(), pages);
    if (!painter.end() || printer.failed())
        throw ReportError(QStringLiteral("The printer %1 reported an error.").arg(printer.name()));
}

void printOnDefaultPrinter(const ReportPages& pages)
{
    const auto printer = printerFor(shell::PrinterUse::Default);
    printPages(pages, *printer);
}

void showPreview(const ReportPages& pages, const QString& title, bool maximised, QWidget* parent)
{
    const auto printer = printerFor(shell::PrinterUse::HighResolution);
    printer->setFullPage(true);
    printer->device().setPageLayout(pageLayoutOf(pages));
    QString why;
    const auto dialog = shell::newPrintPreview(
        *printer, parent,
        [&pages](controls::Printer& target) {
            try {
                printPages(pages, target);
            } catch (const ReportError& e) {
                controls::MsgBox(e.description(), controls::mb::Critical, QStringLiteral("Report Error"));
            }
        },
        &why);
    if (!dialog)
        throw ReportError(why);
    dialog->setObjectName(QStringLiteral("ReportPreview"));
    dialog->setWindowTitle(title);
    if (maximised)
        dialog->setWindowState(Qt::WindowMaximized);
    controls::ShowModal(dialog.get());
}

}  // namespace reports
