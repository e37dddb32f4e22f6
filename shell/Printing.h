// Printers and the print preview, from the print module (orvane_print, Qt Print Support),
// which the program loads the first time something prints.
#pragma once

#include "controls/Printer.h"

#include <QString>

#include <functional>
#include <memory>

class QDialog;
class QWidget;

namespace shell {

inline constexpr const char* PrintModuleName = "orvane_print";

enum class PrinterUse {
    Screen,          // the printer's default resolution (pages drawn as on screen)
    HighResolution,  // the printer's full resolution
    Default,         // the default printer of the machine, at full resolution
};

// A new printer, or nullptr with the reason in words in *why. For PrinterUse::Default,
// nullptr with an empty reason means that the machine has no printer set up.
std::unique_ptr<controls::Printer> newPrinter(PrinterUse use, QString* why);

// The preview window over a printer (page navigation, zoom and printing); it calls paint
// whenever it needs the pages. nullptr with the reason in *why when the module is missing.
std::unique_ptr<QDialog> newPrintPreview(controls::Printer& printer, QWidget* parent,
                                         const std::function<void(controls::Printer&)>& paint, QString* why);

}  // namespace shell
