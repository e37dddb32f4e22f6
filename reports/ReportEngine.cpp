#include "reports/ReportEngine.h"

#include "reports/ReportError.h"
#include "reports/ReportOutput.h"
#include "store/Store.h"

#include <QWidget>

namespace reports {

QString ReportEngine::sectionFont(int index) const
{
    const auto found = sectionFonts_.find(index);
    return found == sectionFonts_.end() ? QString() : found->second;
}

void ReportEngine::run()
{
    store::Database* database = store::Workspace::defaultWorkspace().database();
    if (!database || !database->isOpen())
        throw ReportError(QStringLiteral("The report cannot run: no wedding database is open."));
    lastPages_ = ReportPages();
    lastPages_ = prepareReport(*database, reportFileName_, selectionFormula_, sectionFont(0),
                               printDate_.isValid() ? printDate_ : QDate::currentDate());
    switch (destination_) {
        case Destination::Window:
            showPreview(lastPages_, windowTitle_, windowState_ == WindowMaximised, parent_);
            break;
        case Destination::Printer:
            printOnDefaultPrinter(lastPages_);
            break;
        case Destination::File:
            if (printFileName_.isEmpty())
                throw ReportError(QStringLiteral("No file was named for the report."));
            writePdf(lastPages_, printFileName_);
            break;
    }
}

}  // namespace reports
