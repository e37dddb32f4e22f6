#include "reports/ReportEngine.h"

#include "reports/Formula.h"
#include "reports/ReportData.h"
#include "reports/ReportError.h"
#include "reports/ReportOutput.h"
#include "reports/SectionFont.h"
#include "store/Store.h"

#include <QWidget>

namespace reports {

ReportPages prepareReport(sqlite3* db, const QString& templatePath, const QString& formula,
                          const QString& detailFont, QDate printDate)
{
    ReportTemplate report = readTemplate(templatePath);
    const Formula selection = Formula::parse(formula);
    std::optional<QFont> font;
    if (!detailFont.isEmpty())
        font = parseSectionFont(detailFont).font;
    const ReportQuery query = buildQuery(db, report, selection);
    const std::vector<Row> rows = readRows(db, query);
    const QString heading = readHeading(db, report);
    std::vector<store::FieldType> types;
    for (const FieldRef& column : query.columns)
        types.push_back(column.type);
    const LayoutInput input{report, rows, query.groupColumn, heading, printDate, font, types};
    return report.isLabels() ? layoutLabels(input) : layoutList(input);
}

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
    lastPages_ = prepareReport(database->handle(), reportFileName_, selectionFormula_, sectionFont(0),
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
