#include "reports/PrepareReport.h"

#include "reports/Formula.h"
#include "reports/ReportData.h"
#include "reports/SectionFont.h"

namespace reports {

ReportPages prepareReport(const store::Database& db, const QString& templatePath, const QString& formula,
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

}  // namespace reports
