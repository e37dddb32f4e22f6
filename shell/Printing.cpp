#include "shell/Printing.h"

#include "shell/Modules.h"

#include <QDialog>

namespace shell {

namespace {
using NewPrinter = controls::Printer* (*)(int use);
using NewPreview = QDialog* (*)(controls::Printer* printer, QWidget* parent,
                                const std::function<void(controls::Printer&)>* paint);
}  // namespace

std::unique_ptr<controls::Printer> newPrinter(PrinterUse use, QString* why)
{
    const auto make = moduleFunction<NewPrinter>(QString::fromLatin1(PrintModuleName), "orvaneNewPrinter", why);
    if (!make)
        return nullptr;
    std::unique_ptr<controls::Printer> printer(make(int(use)));
    if (!printer && why)
        why->clear();  // the module makes every printer but the default one of a machine without any
    return printer;
}

std::unique_ptr<QDialog> newPrintPreview(controls::Printer& printer, QWidget* parent,
                                         const std::function<void(controls::Printer&)>& paint, QString* why)
{
    const auto make = moduleFunction<NewPreview>(QString::fromLatin1(PrintModuleName), "orvaneNewPrintPreview", why);
    if (!make)
        return nullptr;
    return std::unique_ptr<QDialog>(make(&printer, parent, &paint));
}

}  // namespace shell
