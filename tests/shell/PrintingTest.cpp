// Printers and the preview come from the print module, loaded only when something prints.
#include "controls/Printer.h"
#include "shell/Printing.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTemporaryDir>

namespace {

bool printingLibraryLoaded()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libQt6PrintSupport");
}

// The first printer loads the module and its library; pages painted on it after the choice of
// a PDF file land there, in the page layout set on the device.
TEST(Printing, APrinterLoadsTheModuleAndPrintsIntoTheChosenFile)
{
    EXPECT_FALSE(printingLibraryLoaded()) << "something linked Qt Print Support into the program";
    QString why;
    const auto printer = shell::newPrinter(shell::PrinterUse::HighResolution, &why);
    ASSERT_TRUE(printer) << why.toStdString();
    EXPECT_TRUE(printingLibraryLoaded());

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Zoë's seating 💍.pdf"));
    printer->printToPdf(path);
    printer->setFullPage(true);
    printer->setDocName(QStringLiteral("Seating"));
    printer->device().setPageOrientation(QPageLayout::Landscape);
    QPainter painter;
    ASSERT_TRUE(painter.begin(&printer->device()));
    EXPECT_GT(painter.viewport().width(), painter.viewport().height());  // landscape
    painter.drawText(QPointF(100, 100), QStringLiteral("Table 1"));
    printer->device().newPage();
    painter.drawText(QPointF(100, 100), QStringLiteral("Table 2"));
    ASSERT_TRUE(painter.end());
    EXPECT_FALSE(printer->failed());

    QFile pdf(path);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray content = pdf.readAll();
    EXPECT_TRUE(content.startsWith("%PDF"));
    EXPECT_TRUE(content.contains("/Count 2"));
}

// The preview asks for its pages as it shows, and paints them on a printer of the module.
TEST(Printing, ThePreviewPaintsItsPagesWhenShown)
{
    QString why;
    const auto printer = shell::newPrinter(shell::PrinterUse::Screen, &why);
    ASSERT_TRUE(printer) << why.toStdString();
    int paints = 0;
    bool painted = false;
    const auto preview = shell::newPrintPreview(
        *printer, nullptr,
        [&](controls::Printer& target) {
            ++paints;
            QPainter painter(&target.device());
            painted = painter.isActive();
            painter.drawText(QPointF(50, 50), QStringLiteral("Guest List"));
        },
        &why);
    ASSERT_TRUE(preview) << why.toStdString();
    preview->show();
    QApplication::processEvents();
    EXPECT_GE(paints, 1);
    EXPECT_TRUE(painted);
    preview->close();
}

}  // namespace
