// A printer the windows print on. Qt's printing library stays out of the program until
// something prints: printers are made by the print module (shell::newPrinter), and the
// windows see only this interface and the page device they paint on.
#pragma once

#include <QString>

class QPagedPaintDevice;
class QWidget;

namespace controls {

class Printer {
public:
    virtual ~Printer() = default;

    // The pages are painted here; its page layout is the printer's.
    virtual QPagedPaintDevice& device() = 0;
    // Pages laid out on the whole sheet (the report's own margins) rather than inside the
    // printer's margins.
    virtual void setFullPage(bool full) = 0;
    // The name of the print job in the printer's queue.
    virtual void setDocName(const QString& name) = 0;
    // The printer's name, for messages.
    virtual QString name() const = 0;
    // Whether the printer reported an error while printing.
    virtual bool failed() const = 0;
    // Prints into a PDF file instead of on paper.
    virtual void printToPdf(const QString& path) = 0;
    // The print dialog: true when the user chose to print (the printer then carries the
    // choices), false when cancelled.
    virtual bool choose(QWidget* parent, const QString& caption) = 0;
};

}  // namespace controls
