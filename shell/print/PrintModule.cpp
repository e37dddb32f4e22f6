// The print module: printers, the print dialog and the print preview on Qt Print Support.
// The program loads it the first time something prints (shell/Printing.h), so that starting
// the program neither loads nor links Qt's printing library.
#include "controls/Printer.h"

#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <functional>
#include <memory>

namespace {

// A printer of the module's own, or one the preview hands over for the time of a paint.
class ModulePrinter : public controls::Printer {
public:
    explicit ModulePrinter(std::unique_ptr<QPrinter> own) : own_(std::move(own)), printer_(own_.get()) {}
    explicit ModulePrinter(QPrinter* borrowed) : printer_(borrowed) {}

    QPrinter& printer() { return *printer_; }

    QPagedPaintDevice& device() override { return *printer_; }
    void setFullPage(bool full) override { printer_->setFullPage(full); }
    void setDocName(const QString& name) override { printer_->setDocName(name); }
    QString name() const override { return printer_->printerName(); }
    bool failed() const override { return printer_->printerState() == QPrinter::Error; }
    void printToPdf(const QString& path) override
    {
        printer_->setOutputFormat(QPrinter::PdfFormat);
        printer_->setOutputFileName(path);
    }
    bool choose(QWidget* parent, const QString& caption) override
    {
        QPrintDialog dialog(printer_, parent);
        if (!caption.isEmpty())
            dialog.setWindowTitle(caption);
        return dialog.exec() == QDialog::Accepted;
    }

private:
    std::unique_ptr<QPrinter> own_;
    QPrinter* printer_;
};

}  // namespace

// use: 0 the printer's default resolution, 1 its full resolution, 2 the machine's default
// printer at full resolution (nullptr when it has none).
extern "C" Q_DECL_EXPORT controls::Printer* orvaneNewPrinter(int use)
{
    if (use == 2) {
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull())
            return nullptr;
        return new ModulePrinter(std::make_unique<QPrinter>(info, QPrinter::HighResolution));
    }
    return new ModulePrinter(std::make_unique<QPrinter>(use == 1 ? QPrinter::HighResolution : QPrinter::ScreenResolution));
}

// The preview window over a printer of this module; paint draws the pages on the printer the
// preview asks for (its own, or the one it prints on). The caller owns the window.
extern "C" Q_DECL_EXPORT QDialog* orvaneNewPrintPreview(controls::Printer* printer, QWidget* parent,
                                                        const std::function<void(controls::Printer&)>* paint)
{
    auto* own = static_cast<ModulePrinter*>(printer);
    auto* dialog = new QPrintPreviewDialog(&own->printer(), parent);
    QObject::connect(dialog, &QPrintPreviewDialog::paintRequested, dialog,
                     [own, paint = *paint](QPrinter* target) {
                         if (target == &own->printer()) {
                             paint(*own);
                         } else {
                             ModulePrinter other(target);
                             paint(other);
                         }
                     });
    return dialog;
}
